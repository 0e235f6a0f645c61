#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SmbFixture.h"
#include "app/TForm1.h"
#include "platform/ErrorCodes.h"
#include "support/ScriptedDialogs.h"

namespace tarvik {
namespace {

// The main window over the program's platform, with a real server to connect to.
class NetCommandsTest : public SmbTest {
 protected:
  NetCommandsTest() { form_.ShowMaximised(); }

  // The connect command, with the dialog filled in and confirmed.
  void Connect(const std::string& letter, const std::string& computer, const std::string& share,
               const std::string& password) {
    dialogs_.Ok([=, this] {
      dialog_.CB1.SetText(letter);
      dialog_.EditComp.SetText(computer);
      dialog_.EditNetDisk.SetText(share);
      dialog_.EditNetPSW.SetText(password);
    });
    form_.N9.Click();
  }

  // The disconnect command with the answer typed into its input box.
  void Disconnect(const std::string& answer) {
    dialogs_.Enter(answer);
    form_.N10.Click();
  }

  std::vector<std::string> DriveTexts() const {
    std::vector<std::string> texts;
    for (const ListEntry& entry : form_.DriveComboBox1.Entries()) texts.push_back(entry.text);
    return texts;
  }

  std::string SelectedDrive() const {
    const int index = form_.DriveComboBox1.ItemIndex();
    return index < 0 ? "" : form_.DriveComboBox1.Entries()[index].text;
  }

  ScriptedDialogs dialogs_;
  Window about_box_;
  TListError list_error_;
  TDlgInfo dlg_info_;
  TDlgNetConnect dialog_;
  TForm1 form_{platform_, dialogs_, SecondaryWindows{about_box_, list_error_, dlg_info_, dialog_}};
};

TEST_F(NetCommandsTest, ConnectOutcomes) {
  MakeShared("Папка/файл.bin", std::string(1500, 'f'));
  struct Case {
    std::string letter, computer, share, password;
    std::string error;  // the box's text, empty for a connection made
    std::vector<std::string> drives;
    std::string selected;
  };
  const std::string c = "C: [SYSTEM]";
  const Case cases[] = {
      {"z",
       " 127.0.0.1 ",
       " DOCS\\ ",
       "",
       "",
       {c, "Z: \\\\127.0.0.1\\DOCS"},
       "Z: \\\\127.0.0.1\\DOCS"},
      {"Y",
       "127.0.0.1",
       "SECRET",
       "wrong",
       "СЕТЕВАЯ ОШИБКА : НЕ КОРРЕКТНЫЙ ПАРОЛЬ",
       {c, "Z: \\\\127.0.0.1\\DOCS"},
       "Z: \\\\127.0.0.1\\DOCS"},
      {"Y",
       "127.0.0.1",
       "NOSUCH",
       "",
       "СЕТЕВАЯ ОШИБКА : НЕ КОРРЕКТНОЕ СЕТЕВОЕ ИМЯ КОМПЬЮТЕРА",
       {c, "Z: \\\\127.0.0.1\\DOCS"},
       "Z: \\\\127.0.0.1\\DOCS"},
      {" Y",
       "127.0.0.1",
       "DOCS",
       "",
       "СЕТЕВАЯ ОШИБКА : НЕ КОРРЕКТНОЕ ИМЯ ВИРТУАЛЬНОГО ДИСКА",
       {c, "Z: \\\\127.0.0.1\\DOCS"},
       "Z: \\\\127.0.0.1\\DOCS"},
      {"C",
       "127.0.0.1",
       "DOCS",
       "",
       "СЕТЕВАЯ ОШИБКА : СОЕДИНЕНИЕ УЖЕ СУЩЕСТВУЕТ",
       {c, "Z: \\\\127.0.0.1\\DOCS"},
       "Z: \\\\127.0.0.1\\DOCS"},
      {"Y",
       "127.0.0.1",
       "SECRET",
       SmbServer::kPassword,
       "",
       {c, "Y: \\\\127.0.0.1\\SECRET", "Z: \\\\127.0.0.1\\DOCS"},
       "Y: \\\\127.0.0.1\\SECRET"},
  };
  for (const Case& row : cases) {
    const int errors = dialogs_.Count(DialogKind::kError);
    Connect(row.letter, row.computer, row.share, row.password);
    if (row.error.empty()) {
      EXPECT_EQ(dialogs_.Count(DialogKind::kError), errors) << row.share;
    } else {
      ASSERT_EQ(dialogs_.Count(DialogKind::kError), errors + 1) << row.share;
      EXPECT_EQ(dialogs_.Texts(DialogKind::kError).back(), row.error);
    }
    EXPECT_EQ(DriveTexts(), row.drives) << row.share;
    EXPECT_EQ(SelectedDrive(), row.selected) << row.share;
  }
  EXPECT_EQ(dialogs_.Count(DialogKind::kStopBeep), 4);
  EXPECT_EQ(form_.EditCurDir.Text(), "Y:\\");

  // The share's files, as the main window's fields see them.
  form_.DriveComboBox1.SetDrive('Z');
  form_.DirectoryListBox1.SetDirectory("Z:\\Папка");
  EXPECT_EQ(form_.EditCountFile.Text(), "1");
  form_.FileListBox1.ClickEntry(0);
  EXPECT_EQ(form_.EditCurFile.Text(), "файл.bin");
  EXPECT_EQ(form_.EditSize.Text(), "1.500  Кб");
}

TEST_F(NetCommandsTest, CancelledDialogChangesNothingAndKeepsTheFields) {
  dlg_info_.Show();
  dialogs_.Cancel([this] { dialog_.EditComp.SetText("SRV"); });
  form_.N12.Click();
  EXPECT_FALSE(dlg_info_.Visible());
  EXPECT_EQ(dialogs_.Texts(DialogKind::kModal), std::vector<std::string>{"Сетевое соединение"});
  EXPECT_EQ(DriveTexts(), std::vector<std::string>{"C: [SYSTEM]"});
  EXPECT_EQ(dialog_.EditComp.Text(), "SRV");
  EXPECT_EQ(dialog_.EditNetDisk.Text(), "???");
}

TEST_F(NetCommandsTest, AFailedReconnectLeavesTheLetterUnmapped) {
  Connect("Z", "127.0.0.1", "DOCS", "");
  ASSERT_EQ(SelectedDrive(), "Z: \\\\127.0.0.1\\DOCS");
  form_.DriveComboBox1.SetDrive('C');
  Connect("Z", "127.0.0.1", "SECRET", "wrong");
  std::string remote;
  EXPECT_EQ(platform_.NetworkConnection("Z:", remote), kErrNotConnected);
  // The list learns of it at its next fill only.
  EXPECT_EQ(DriveTexts(), (std::vector<std::string>{"C: [SYSTEM]", "Z: \\\\127.0.0.1\\DOCS"}));
  form_.DriveComboBox1.SetTextCase(tcUpperCase);
  EXPECT_EQ(DriveTexts(), std::vector<std::string>{"C: [SYSTEM]"});
}

TEST_F(NetCommandsTest, AStoppedServerIsReportedWithoutHanging) {
  server_.Stop();
  Connect("Z", "127.0.0.1", "DOCS", "");
  EXPECT_EQ(dialogs_.Texts(DialogKind::kError),
            std::vector<std::string>{"СЕТЕВАЯ ОШИБКА : НЕ УДАЧНАЯ ПОПЫТКА СЕТЕВОГО СОЕДИНЕНИЯ"});
  // The box names the result only; the status line says why.
  EXPECT_EQ(form_.Label11.Caption(),
            "Сетевое соединение Z: не удалось, компьютер отверг соединение");
  EXPECT_EQ(SelectedDrive(), "C: [SYSTEM]");
}

TEST_F(NetCommandsTest, DisconnectOutcomes) {
  struct Case {
    std::string answer;  // "" with `cancel` for the Cancel button
    bool cancel;
    std::string prefill;
    std::vector<std::string> drives;
    char drive;
  };
  const std::string c = "C: [SYSTEM]";
  const std::string y = "Y: \\\\127.0.0.1\\DOCS";
  const std::string z = "Z: \\\\127.0.0.1\\DOCS";
  const Case cases[] = {
      {"", true, "Z", {c, y, z}, 'Z'},   {"   ", false, "Z", {c, y, z}, 'Z'},
      {"Q", false, "Z", {c, y, z}, 'Z'}, {"ZX", false, "Z", {c, y, z}, 'C'},
      {" y ", false, "C", {c, z}, 'C'},  {"z", false, "C", {c}, 'C'},
  };
  Connect("Y", "127.0.0.1", "DOCS", "");
  Connect("Z", "127.0.0.1", "DOCS", "");
  ASSERT_EQ(form_.DriveComboBox1.Drive(), 'Z');
  for (const Case& row : cases) {
    if (row.cancel) {
      dialogs_.Cancel();
      form_.N13.Click();
    } else {
      Disconnect(row.answer);
    }
    const ShownDialog& box = dialogs_.Log().back();
    EXPECT_EQ(box.kind, DialogKind::kInputBox) << row.answer;
    EXPECT_EQ(box.caption, "Прервать сетевое соединение");
    EXPECT_EQ(box.text, "Введите букву виртуального диска");
    EXPECT_EQ(box.value, row.prefill) << row.answer;
    EXPECT_EQ(DriveTexts(), row.drives) << row.answer;
    EXPECT_EQ(form_.DriveComboBox1.Drive(), row.drive) << row.answer;
  }
  EXPECT_EQ(form_.EditCurDir.Text(), "C:\\");
  EXPECT_EQ(dialogs_.Count(DialogKind::kError), 0);
}

}  // namespace
}  // namespace tarvik
