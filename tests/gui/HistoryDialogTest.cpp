#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest/QTest>

#include "DialogWidgets.h"
#include "HistoryDialog.h"
#include "Placement.h"
#include "Refresher.h"
#include "Runner.h"
#include "SpeedDialog.h"
#include "platform/posix/PosixPlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

TEST(PlacementTest, BesideOnTheFirstSideWithRoomElseTheOtherMakesRoom) {
  const QRect screen(0, 0, 1280, 1024);
  const struct {
    const char* name;
    QSize size;
    QRect other;
    QRect window;
    QRect other_after;
  } cases[] = {
      {"below", {300, 200}, {0, 0, 400, 300}, {0, 300, 300, 200}, {0, 0, 400, 300}},
      {"below, slid in",
       {300, 200},
       {1100, 0, 180, 300},
       {980, 300, 300, 200},
       {1100, 0, 180, 300}},
      {"right", {300, 200}, {0, 824, 400, 200}, {400, 824, 300, 200}, {0, 824, 400, 200}},
      {"above", {300, 200}, {0, 724, 1280, 300}, {0, 524, 300, 200}, {0, 724, 1280, 300}},
      {"the other moves up",
       {720, 510},
       {260, 317, 760, 390},
       {260, 514, 720, 510},
       {260, 124, 760, 390}},
      {"no room at all", {1280, 500}, {0, 0, 1280, 900}, {0, 524, 1280, 500}, {0, 0, 1280, 900}},
  };
  for (const auto& c : cases) {
    const Placement placed = PlaceBeside(c.size, c.other, screen);
    EXPECT_EQ(placed.window, c.window) << c.name;
    EXPECT_EQ(placed.other, c.other_after) << c.name;
  }
}

class HistoryDialogTest : public ::testing::Test {
 protected:
  TempDir tmp_;
  PosixPlatform platform_{{{'D', tmp_.path(), kDriveFixed, "DATA", 0x3}}, "D:\\"};
  ScriptedDialogs dialogs_;
  Refresher refresher_;
  Runner run_{dialogs_, refresher_};
  ReadSpeed speed_;
  TSpeedWindow speed_window_{platform_, dialogs_, speed_};
};

TEST_F(HistoryDialogTest, TableTipStatusAndTheSpeedWindowBeside) {
  VolumeChecks volume;
  volume.root = "D:\\";
  volume.label = "DATA";
  volume.checks.resize(2);
  volume.checks[0].start_directory = "A\\";
  volume.checks[1].finished = true;
  int accepted = 0;
  THistoryWindow model(speed_window_, dialogs_,
                       {.checks = [&volume] { return volume; },
                        .samples = [](std::int64_t) { return std::vector<SpeedSample>(); },
                        .accept = [&accepted] { return ++accepted; }});
  // Small enough to go beside the history window on the offscreen screen.
  speed_window_.Layout.width = 300;
  speed_window_.Layout.height = 200;
  SpeedDialog speed(speed_window_, run_);
  HistoryDialog dialog(model, run_);
  model.Refill();
  model.Show();
  refresher_.RefreshAll();

  EXPECT_EQ(dialog.windowTitle(), "История проверок – диск D: (DATA)");
  auto& table = Child<QTableWidget>(dialog, "Checks");
  ASSERT_EQ(table.rowCount(), 2);
  EXPECT_EQ(table.item(0, 0)->text().right(2), " *");
  EXPECT_EQ(table.item(0, 1)->text(), "D:\\A\\");
  EXPECT_EQ(table.item(1, 1)->text(), "D:\\");
  EXPECT_EQ(table.toolTip(), kCheckTableHint);
  EXPECT_EQ(table.horizontalHeaderItem(0)->toolTip(), kCheckTableHint);

  table.selectRow(1);
  QApplication::processEvents();
  EXPECT_EQ(model.Chosen(), 1);
  ASSERT_TRUE(speed.isVisible());
  EXPECT_FALSE(speed.frameGeometry().intersects(dialog.frameGeometry()))
      << speed.frameGeometry().y() << " " << dialog.frameGeometry().y();

  dialogs_.Ok();
  QTest::mouseClick(&Child<QPushButton>(dialog, "Accept"), Qt::LeftButton);
  refresher_.RefreshAll();
  EXPECT_EQ(accepted, 1);
  EXPECT_EQ(Child<QLabel>(dialog, "Status").text(), "Принято изменений: 1");
}

}  // namespace
}  // namespace tarvik
