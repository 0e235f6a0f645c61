#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "DialogWidgets.h"
#include "DlgInfoDialog.h"
#include "ListErrorDialog.h"
#include "Refresher.h"
#include "Runner.h"
#include "support/ScriptedDialogs.h"

namespace tarvik {
namespace {

class ScanDialogsTest : public ::testing::Test {
 protected:
  ScriptedDialogs dialogs_;
  Refresher refresher_;
  Runner run_{dialogs_, refresher_};
};

TEST_F(ScanDialogsTest, ListErrorHasItsCaptionSizeMemoAndDefaultHideButton) {
  TListError ListError;
  ListErrorDialog dialog(ListError, run_);
  EXPECT_FALSE(dialog.isVisible());
  ListError.Show();
  refresher_.RefreshAll();
  ASSERT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.isModal());
  EXPECT_EQ(dialog.windowTitle(), "Проблемные файлы");
  EXPECT_EQ(dialog.minimumSize(), QSize(535, 250));
  EXPECT_EQ(dialog.maximumSize(), QSize(535, 250));
  EXPECT_EQ(dialog.font().pointSize(), 8);
  auto& memo = Child<QPlainTextEdit>(dialog, "Memo1");
  EXPECT_EQ(memo.geometry(), QRect(8, 8, 513, 201));
  EXPECT_FALSE(memo.isReadOnly());
  EXPECT_EQ(memo.lineWrapMode(), QPlainTextEdit::WidgetWidth);
  auto& button = Child<QPushButton>(dialog, "OKButton");
  EXPECT_EQ(button.text(), "Скрыть");
  EXPECT_EQ(button.geometry(), QRect(207, 220, 82, 25));
  EXPECT_TRUE(button.isDefault());
}

TEST_F(ScanDialogsTest, ListErrorMemoAndModelFollowEachOther) {
  TListError ListError;
  ListErrorDialog dialog(ListError, run_);
  auto& memo = Child<QPlainTextEdit>(dialog, "Memo1");
  ListError.AddLine("C:\\A\\ONE.BIN");
  ListError.AddLine("C:\\Б\\ДВА.BIN");
  refresher_.RefreshAll();
  EXPECT_EQ(memo.toPlainText(), "C:\\A\\ONE.BIN\nC:\\Б\\ДВА.BIN");

  // The user's typing, a line end first: the box keeps it, the list holds no empty line yet.
  memo.moveCursor(QTextCursor::End);
  memo.insertPlainText("\n");
  EXPECT_EQ(ListError.Count(), 2);
  memo.insertPlainText("заметка");
  const std::vector<std::string> edited = {"C:\\A\\ONE.BIN", "C:\\Б\\ДВА.BIN", "заметка"};
  EXPECT_EQ(ListError.Memo1.Lines(), edited);
  refresher_.RefreshAll();
  EXPECT_EQ(memo.toPlainText(), "C:\\A\\ONE.BIN\nC:\\Б\\ДВА.BIN\nзаметка");

  ListError.Clear();
  refresher_.RefreshAll();
  EXPECT_EQ(memo.toPlainText(), "");
}

// Lines are appended to what the box shows, also behind the user's own typing.
TEST_F(ScanDialogsTest, ListErrorMemoAppendsAfterWhatTheBoxShows) {
  TListError ListError;
  ListErrorDialog dialog(ListError, run_);
  auto& memo = Child<QPlainTextEdit>(dialog, "Memo1");
  const struct {
    const char* step;
    std::function<void()> act;
    QString shown;
  } steps[] = {
      {"two lines",
       [&] {
         ListError.AddLine("A");
         ListError.AddLine("B");
       },
       "A\nB"},
      {"after a typed line end",
       [&] {
         memo.moveCursor(QTextCursor::End);
         memo.insertPlainText("\n");
         ListError.AddLine("C");
       },
       "A\nB\nC"},
      {"an empty line",
       [&] {
         ListError.AddLine("");
         ListError.AddLine("D");
       },
       "A\nB\nC\n\nD"},
      {"one at a time",
       [&] {
         ListError.AddLine("E");
         refresher_.RefreshAll();
         ListError.AddLine("F");
       },
       "A\nB\nC\n\nD\nE\nF"},
      {"cleared",
       [&] {
         ListError.Clear();
         ListError.AddLine("G");
       },
       "G"},
  };
  for (const auto& s : steps) {
    s.act();
    refresher_.RefreshAll();
    EXPECT_EQ(memo.toPlainText(), s.shown) << s.step;
    EXPECT_EQ(ListError.Memo1.Text(), (s.shown + "\n").toStdString()) << s.step;
  }
}

TEST_F(ScanDialogsTest, ListErrorHidesByItsButtonOrFrameButNotByEsc) {
  TListError ListError;
  ListErrorDialog dialog(ListError, run_);
  ListError.Show();
  refresher_.RefreshAll();
  PressEsc(dialog);
  EXPECT_TRUE(ListError.Visible());
  EXPECT_TRUE(dialog.isVisible());

  Child<QPushButton>(dialog, "OKButton").click();
  EXPECT_FALSE(ListError.Visible());
  EXPECT_FALSE(dialog.isVisible());

  ListError.Show();
  refresher_.RefreshAll();
  dialog.close();
  EXPECT_FALSE(ListError.Visible());
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ScanDialogsTest, DlgInfoStaysOnTopWithItsSizeAndButton) {
  TDlgInfo DlgInfo;
  DlgInfoDialog dialog(DlgInfo, run_);
  EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(dialog.isModal());
  EXPECT_EQ(dialog.windowTitle(), "Info");
  EXPECT_EQ(dialog.minimumSize(), QSize(298, 75));
  EXPECT_EQ(dialog.maximumSize(), QSize(298, 75));
  EXPECT_EQ(Child<QGroupBox>(dialog, "GroupBox1").geometry(), QRect(0, 0, 298, 41));
  EXPECT_EQ(Child<QGroupBox>(dialog, "GroupBox1").title(), "");
  EXPECT_TRUE(Child<QLabel>(dialog, "Label1").alignment().testFlag(Qt::AlignHCenter));
  auto& button = Child<QPushButton>(dialog, "Button1");
  EXPECT_EQ(button.text(), "Скрыть");
  EXPECT_EQ(button.geometry(), QRect(120, 48, 75, 25));
}

TEST_F(ScanDialogsTest, DlgInfoTakesCaptionAndTextAtEveryShowing) {
  TDlgInfo DlgInfo;
  DlgInfoDialog dialog(DlgInfo, run_);
  auto& label = Child<QLabel>(dialog, "Label1");
  for (const char* caption : {"Были ошибки !!!", "Ok"}) {
    DlgInfo.ShowInfo("Процесс закончен", caption);
    refresher_.RefreshAll();
    EXPECT_TRUE(dialog.isVisible()) << caption;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(caption));
    EXPECT_EQ(label.text(), "Процесс закончен");
    Child<QPushButton>(dialog, "Button1").click();
    EXPECT_FALSE(DlgInfo.Visible()) << caption;
    EXPECT_FALSE(dialog.isVisible()) << caption;
  }
}

}  // namespace
}  // namespace tarvik
