#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <string>

#include "DialogWidgets.h"
#include "NetConnectDialog.h"
#include "Program.h"
#include "Refresher.h"
#include "Runner.h"
#include "platform/posix/PosixPlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

class NetConnectDialogTest : public ::testing::Test {
 protected:
  NetConnectDialogTest() {
    model_.Show();
    refresher_.RefreshAll();
  }

  ScriptedDialogs dialogs_;
  Refresher refresher_;
  Runner run_{dialogs_, refresher_};
  TDlgNetConnect model_;
  NetConnectDialog dialog_{model_, run_};
};

TEST_F(NetConnectDialogTest, DesignAndStartingState) {
  ASSERT_TRUE(dialog_.isVisible());
  EXPECT_EQ(dialog_.windowTitle(), "Сетевое соединение");
  EXPECT_EQ(dialog_.minimumSize(), QSize(313, 140));
  EXPECT_EQ(dialog_.maximumSize(), QSize(313, 140));
  QStringList labels;
  for (const QLabel* label : dialog_.findChildren<QLabel*>()) labels << label->text();
  EXPECT_EQ(labels, (QStringList{"Виртуальный диск : ", "Сетевое имя компьютера :",
                                 "Сетевой Каталог (Диск) :", "Пароль доступа :"}));
  auto& cb1 = Child<QComboBox>(dialog_, "CB1");
  EXPECT_TRUE(cb1.isEditable());
  ASSERT_EQ(cb1.count(), 23);
  EXPECT_EQ(cb1.itemText(0), "D");
  EXPECT_EQ(cb1.itemText(22), "Z");
  EXPECT_EQ(cb1.currentText(), "Z");
  for (const char* name : {"EditComp", "EditNetDisk", "EditNetPSW"}) {
    EXPECT_EQ(Child<QLineEdit>(dialog_, name).text(), "???") << name;
  }
  EXPECT_EQ(Child<QLineEdit>(dialog_, "EditNetPSW").echoMode(), QLineEdit::Password);
  auto& ok = Child<QPushButton>(dialog_, "OKBtn");
  EXPECT_TRUE(ok.isDefault());
  EXPECT_EQ(ok.text(), "OK");
  EXPECT_EQ(Child<QPushButton>(dialog_, "CancelBtn").text(), "Cancel");

  EXPECT_EQ(dialog_.focusWidget(), &ok);
  QStringList tab_order;
  QWidget* widget = &ok;
  for (int i = 0; i < 6; ++i, widget = widget->nextInFocusChain()) {
    while (widget->focusPolicy() == Qt::NoFocus) widget = widget->nextInFocusChain();
    tab_order << widget->objectName();
  }
  EXPECT_EQ(tab_order,
            (QStringList{"OKBtn", "CancelBtn", "CB1", "EditComp", "EditNetDisk", "EditNetPSW"}));
}

TEST_F(NetConnectDialogTest, TypingReachesTheModelAndTheButtonsEndTheShowing) {
  Child<QComboBox>(dialog_, "CB1").setEditText("y");
  for (auto [name, text] : {std::pair{"EditComp", "SRV"}, std::pair{"EditNetPSW", "пароль"}}) {
    auto& edit = Child<QLineEdit>(dialog_, name);
    edit.selectAll();
    edit.insert(text);
  }
  EXPECT_EQ(model_.CB1.Text(), "y");
  EXPECT_EQ(model_.EditComp.Text(), "SRV");
  EXPECT_EQ(model_.EditNetPSW.Text(), "пароль");

  struct Case {
    const char* action;
    ModalResult result;
  };
  const Case cases[] = {{"OKBtn", ModalResult::kOk},
                        {"CancelBtn", ModalResult::kCancel},
                        {"Esc", ModalResult::kCancel}};
  for (const Case& c : cases) {
    model_.SetResult(ModalResult::kNone);
    if (std::string(c.action) == "Esc") {
      PressEsc(dialog_);
    } else {
      Child<QPushButton>(dialog_, c.action).click();
    }
    EXPECT_EQ(model_.Result(), c.result) << c.action;
  }
  EXPECT_EQ(model_.EditComp.Text(), "SRV");
}

TEST(NetConnectCommandGuiTest, TheProgramShowsTheDialogModallyWithFocusOnOk) {
  TempDir tmp;
  PosixPlatform platform({{'C', tmp.path(), kDriveFixed, "SYSTEM", 0x3}}, "C:\\");
  Program program(platform);
  program.Show();
  TApplication& application = program.application;
  QString shown;
  QString focused;
  QTimer::singleShot(0, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      shown = modal->windowTitle();
      focused = modal->focusWidget() != nullptr ? modal->focusWidget()->objectName() : "";
      PressEsc(*modal);
    }
  });
  program.run([&] { application.Form1.N9.Click(); });
  EXPECT_EQ(shown, "Сетевое соединение");
  EXPECT_EQ(focused, "OKBtn");
  EXPECT_FALSE(program.net_connect.isVisible());
  EXPECT_EQ(application.DlgNetConnect.Result(), ModalResult::kCancel);
}

}  // namespace
}  // namespace tarvik
