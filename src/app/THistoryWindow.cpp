#include "app/THistoryWindow.h"

#include <utility>

namespace tarvik {

namespace {

// "D:" of "D:\".
std::string DriveName(const std::string& root) { return root.substr(0, 2); }

}  // namespace

THistoryWindow::THistoryWindow(TSpeedWindow& speed_window, Dialogs& dialogs, HistoryAccess access)
    : speed_window_(speed_window), dialogs_(dialogs), access_(std::move(access)) {
  SetCaption(kCaption);
  Layout = {.width = 760, .height = 360, .centred = true};
  AcceptButton.SetCaption("Принять изменения");
  AcceptButton.SetHint(
      "Нынешнее содержимое изменившихся файлов диска станет считаться верным: следующие "
      "проверки будут сравнивать с ним");
  AcceptButton.OnClick.Subscribe([this] { AcceptButtonClick(); });
}

void THistoryWindow::Refill() {
  VolumeChecks volume = access_.checks();
  root_ = std::move(volume.root);
  SetCaption(std::string(kCaption) + " – диск " + DriveName(root_) +
             (volume.label.empty() ? "" : " (" + volume.label + ")"));
  checks_ = std::move(volume.checks);
  rows_.clear();
  for (const CheckSummary& check : checks_) rows_.push_back(CheckCells(check, root_));
  chosen_ = -1;
  trouble_ = std::move(volume.trouble);
  StatusLine.SetCaption(!trouble_.empty() ? trouble_ : checks_.empty() ? kNoChecks : "");
  StateChanged();
}

void THistoryWindow::Choose(int row) {
  const bool valid = row >= 0 && row < static_cast<int>(checks_.size());
  chosen_ = valid ? row : -1;
  speed_window_.SetEarlier(valid ? access_.samples(checks_[row].id) : std::vector<SpeedSample>());
  if (valid) speed_window_.ShowBeside(*this);
}

void THistoryWindow::AcceptButtonClick() {
  if (!dialogs_.MessageBox(MessageKind::kConfirmation,
                           "Считать нынешнее содержимое изменившихся файлов диска " +
                               DriveName(root_) + " верным?")) {
    return;
  }
  const std::int64_t accepted = access_.accept();
  Refill();
  if (accepted >= 0) {
    StatusLine.SetCaption("Принято изменений: " + std::to_string(accepted));
  } else {
    StatusLine.SetCaption("Изменения не приняты: историю проверок не удалось изменить" +
                          (trouble_.empty() ? "" : ". " + trouble_));
  }
}

}  // namespace tarvik
