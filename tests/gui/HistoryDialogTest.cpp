#include <gtest/gtest.h>

#include <QApplication>
#include <QTableWidget>

#include "DialogWidgets.h"
#include "HistoryDialog.h"
#include "Placement.h"
#include "SpeedDialog.h"
#include "platform/posix/PosixPlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

TEST(PlacementTest, BesideOnTheFirstSideWithRoomElseTheOtherMakesRoom) {
  const struct {
    QSize size;
    QRect other, window, other_after;
  } cases[] = {
      {{300, 200}, {1100, 0, 180, 300}, {980, 300, 300, 200}, {1100, 0, 180, 300}},
      {{300, 200}, {0, 824, 400, 200}, {400, 824, 300, 200}, {0, 824, 400, 200}},
      {{300, 200}, {0, 724, 1280, 300}, {0, 524, 300, 200}, {0, 724, 1280, 300}},
      {{720, 510}, {260, 317, 760, 390}, {260, 514, 720, 510}, {260, 124, 760, 390}},
      {{1280, 500}, {0, 0, 1280, 900}, {0, 524, 1280, 500}, {0, 0, 1280, 900}},
  };
  for (const auto& c : cases) {
    const Placement placed = PlaceBeside(c.size, c.other, QRect(0, 0, 1280, 1024));
    EXPECT_EQ(placed.window, c.window) << c.window.y();
    EXPECT_EQ(placed.other, c.other_after) << c.window.y();
  }
}

TEST(HistoryDialogTest, NamesTheVolumeAndShowsTheSpeedWindowBeside) {
  TempDir tmp;
  PosixPlatform platform({{'C', tmp.path(), kDriveFixed, "", 0}}, "C:\\");
  ScriptedDialogs dialogs;
  Refresher refresher;
  const Runner run(dialogs, refresher);
  ReadSpeed speed;
  TSpeedWindow speed_window(platform, dialogs, speed);
  VolumeChecks volume;
  volume.root = "D:\\";
  volume.label = "DATA";
  volume.checks.resize(2);
  volume.checks[0].start_directory = "A\\";
  THistoryWindow model(speed_window, dialogs,
                       {.checks = [&volume] { return volume; },
                        .samples = [](std::int64_t) { return std::vector<SpeedSample>(); },
                        .accept = [] { return std::int64_t{0}; }});
  // Small enough to go beside the history window on the offscreen screen.
  speed_window.Layout.width = 300;
  speed_window.Layout.height = 200;
  SpeedDialog speed_dialog(speed_window, run);
  HistoryDialog dialog(model, run);
  model.Refill();
  model.Show();
  refresher.RefreshAll();

  EXPECT_EQ(dialog.windowTitle(), "История проверок – диск D: (DATA)");
  auto& table = Child<QTableWidget>(dialog, "Checks");
  ASSERT_EQ(table.rowCount(), 2);
  EXPECT_EQ(table.item(0, 1)->text(), "D:\\A\\");
  EXPECT_EQ(table.horizontalHeaderItem(0)->toolTip(), kCheckTableHint);
  table.selectRow(1);
  QApplication::processEvents();
  ASSERT_TRUE(speed_dialog.isVisible());
  EXPECT_FALSE(speed_dialog.frameGeometry().intersects(dialog.frameGeometry()));
}

}  // namespace
}  // namespace tarvik
