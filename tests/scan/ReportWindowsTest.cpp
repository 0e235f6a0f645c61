#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/TDlgInfo.h"
#include "scan/TListError.h"

namespace tarvik {
namespace {

// Counts what a window announces, as the front end sees it.
struct Announcements {
  explicit Announcements(Window& window) {
    window.StateChanged.Subscribe([this] { ++changes; });
    window.BringToFront.Subscribe([this] { ++raises; });
  }
  int changes = 0;
  int raises = 0;
};

TEST(ListErrorTest, StartsHiddenAndEmptyWithItsDesign) {
  TListError ListError;
  EXPECT_EQ(ListError.Caption(), "Проблемные файлы");
  EXPECT_FALSE(ListError.Visible());
  EXPECT_EQ(ListError.Count(), 0);
  EXPECT_EQ(ListError.OKButton.Caption(), "Скрыть");
  EXPECT_EQ(ListError.Layout.width, 535);
  EXPECT_EQ(ListError.Layout.height, 250);
  EXPECT_TRUE(ListError.Layout.client_size);
  EXPECT_TRUE(ListError.Layout.centred);
  EXPECT_TRUE(ListError.Layout.fixed_size);
  EXPECT_FALSE(ListError.Layout.stay_on_top);
}

TEST(ListErrorTest, ShowsAnEmptyListToo) {
  TListError ListError;
  const Announcements seen(ListError);
  ListError.Show();
  EXPECT_TRUE(ListError.Visible());
  EXPECT_EQ(ListError.Count(), 0);
  EXPECT_EQ(seen.raises, 1);
}

TEST(ListErrorTest, KeepsLinesInOrderAcrossHidingAndShowing) {
  TListError ListError;
  ListError.AddLine("C:\\A\\ONE.BIN : файл не открыт");
  ListError.Show();
  ListError.AddLine("C:\\A\\TWO.BIN");
  ListError.AddLine("");
  ListError.OKButton.Click();
  EXPECT_FALSE(ListError.Visible());
  ListError.Show();
  const std::vector<std::string> expected = {"C:\\A\\ONE.BIN : файл не открыт", "C:\\A\\TWO.BIN",
                                             ""};
  EXPECT_EQ(ListError.Memo1.Lines(), expected);
  EXPECT_EQ(ListError.Count(), 3);
}

TEST(ListErrorTest, ClearEmptiesTheListAndLeavesVisibilityAlone) {
  for (const bool visible : {false, true}) {
    TListError ListError;
    ListError.AddLine("one");
    ListError.AddLine("two");
    if (visible) ListError.Show();
    ListError.Clear();
    EXPECT_EQ(ListError.Count(), 0) << visible;
    EXPECT_EQ(ListError.Visible(), visible);
  }
}

TEST(ListErrorTest, UserEditsAreTheList) {
  TListError ListError;
  ListError.AddLine("C:\\A\\ONE.BIN");
  ListError.AddLine("C:\\A\\TWO.BIN");
  ListError.Memo1.SetText("C:\\A\\ONE.BIN проверить ещё раз\r\n\r\nзаметка");
  ListError.AddLine("C:\\A\\THREE.BIN");
  ListError.OKButtonClick();
  ListError.Show();
  const std::vector<std::string> expected = {"C:\\A\\ONE.BIN проверить ещё раз", "", "заметка",
                                             "C:\\A\\THREE.BIN"};
  EXPECT_EQ(ListError.Memo1.Lines(), expected);
  EXPECT_EQ(ListError.Count(), 4);
}

TEST(ListErrorTest, ShowingAgainOnlyRaisesAndHidingAgainDoesNothing) {
  TListError ListError;
  const Announcements seen(ListError);
  ListError.Show();
  ListError.Show();
  EXPECT_EQ(seen.changes, 1);
  EXPECT_EQ(seen.raises, 2);
  ListError.Hide();
  ListError.Hide();
  EXPECT_EQ(seen.changes, 2);
  EXPECT_FALSE(ListError.Visible());
}

TEST(DlgInfoTest, StartsHiddenCaptionedInfoWithItsDesign) {
  TDlgInfo DlgInfo;
  EXPECT_EQ(DlgInfo.Caption(), "Info");
  EXPECT_FALSE(DlgInfo.Visible());
  EXPECT_EQ(DlgInfo.Label1.Caption(), "");
  EXPECT_EQ(DlgInfo.GroupBox1.Caption(), "");
  EXPECT_EQ(DlgInfo.Button1.Caption(), "Скрыть");
  EXPECT_EQ(DlgInfo.Layout.width, 298);
  EXPECT_EQ(DlgInfo.Layout.height, 75);
  EXPECT_TRUE(DlgInfo.Layout.client_size);
  EXPECT_TRUE(DlgInfo.Layout.centred);
  EXPECT_TRUE(DlgInfo.Layout.fixed_size);
  EXPECT_TRUE(DlgInfo.Layout.stay_on_top);
}

TEST(DlgInfoTest, ShowInfoCaptionsShowsAndRaisesEveryTime) {
  TDlgInfo DlgInfo;
  const Announcements seen(DlgInfo);
  const struct {
    const char* text;
    const char* caption;
  } cases[] = {
      {"Процесс закончен", "Были ошибки !!!"},
      {"Процесс закончен", "Ok"},
      {"", ""},
  };
  int showings = 0;
  for (const auto& c : cases) {
    EXPECT_TRUE(DlgInfo.ShowInfo(c.text, c.caption));
    ++showings;
    EXPECT_EQ(DlgInfo.Caption(), c.caption);
    EXPECT_EQ(DlgInfo.Label1.Caption(), c.text);
    EXPECT_TRUE(DlgInfo.Visible());
    EXPECT_EQ(seen.raises, showings);
  }
}

TEST(DlgInfoTest, ButtonHidesAndKeepsTheLastNotice) {
  TDlgInfo DlgInfo;
  DlgInfo.ShowInfo("Процесс закончен", "Ok");
  DlgInfo.Button1.Click();
  EXPECT_FALSE(DlgInfo.Visible());
  EXPECT_EQ(DlgInfo.Caption(), "Ok");
  DlgInfo.Button1Click();
  EXPECT_FALSE(DlgInfo.Visible());
}

}  // namespace
}  // namespace tarvik
