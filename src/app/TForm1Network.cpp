#include <optional>
#include <string>

#include "app/TForm1.h"
#include "net/Net.h"
#include "util/Text.h"

namespace tarvik {

namespace {

// Setting the case refills the drive list, which is how it learns of drives connected or
// cancelled since its last fill; it ends in the main window's upper case.
void RefillDriveList(DriveComboBox& drives) {
  drives.SetTextCase(tcLowerCase);
  drives.SetTextCase(tcUpperCase);
}

}  // namespace

void TForm1::N9Click() {
  windows_.DlgInfo.Hide();
  TDlgNetConnect& dialog = windows_.DlgNetConnect;
  if (!dialog.RunConnectDialog(platform_, dialogs_)) {
    // The error box names the result code only; the status line keeps why it came.
    const std::string reason = ConnectFailureText(platform_);
    if (dialog.Result() == ModalResult::kOk && !reason.empty()) {
      Label11.SetCaption("Сетевое соединение " + dialog.CB1.Text() + ": не удалось, " + reason);
    }
    return;
  }
  // The letter is not in the list yet: the selection stays while the other lists move to the
  // new drive, and the refill then shows and selects it.
  const std::string& letter = dialog.CB1.Text();
  if (!letter.empty()) DriveComboBox1.SetDrive(letter[0]);
  RefillDriveList(DriveComboBox1);
}

void TForm1::N10Click() {
  windows_.DlgInfo.Hide();
  const char drive = DriveComboBox1.Drive();
  const std::optional<std::string> answer =
      dialogs_.InputBox("Прервать сетевое соединение", "Введите букву виртуального диска",
                        drive == 0 ? std::string() : std::string(1, drive));
  if (!answer) return;
  std::string letter = *answer;
  TrimSpaces(letter);
  if (letter.empty()) return;
  UpperCase1251(letter);
  // Whether the cancel succeeded is of no interest: a letter that was not connected stays as
  // it was.
  NetDisconnect(platform_, letter);
  if (letter[0] == DriveComboBox1.Drive()) DriveComboBox1.SetDrive('C');
  RefillDriveList(DriveComboBox1);
}

}  // namespace tarvik
