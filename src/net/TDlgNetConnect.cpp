#include "net/TDlgNetConnect.h"

#include "net/Net.h"
#include "util/Text.h"

namespace tarvik {

TDlgNetConnect::TDlgNetConnect() {
  SetCaption("Сетевое соединение");
  Layout = WindowLayout::CentredDialog(313, 140);
  Label1.SetCaption("Виртуальный диск : ");
  Label2.SetCaption("Сетевое имя компьютера :");
  Label3.SetCaption("Сетевой Каталог (Диск) :");
  Label4.SetCaption("Пароль доступа :");
  std::vector<std::string> letters;
  for (char letter = 'D'; letter <= 'Z'; ++letter) letters.emplace_back(1, letter);
  CB1.SetItems(std::move(letters));
  CB1.SetText("Z");
  EditComp.SetText("???");
  EditNetDisk.SetText("???");
  EditNetPSW.SetText("???");
  OKBtn.SetCaption("OK");
  CancelBtn.SetCaption("Cancel");
  OKBtn.OnClick.Subscribe([this] { SetResult(ModalResult::kOk); });
  CancelBtn.OnClick.Subscribe([this] { SetResult(ModalResult::kCancel); });
}

std::string TDlgNetConnect::RemoteName() const {
  std::string computer = EditComp.Text();
  TrimSpaces(computer);
  std::string share = EditNetDisk.Text();
  TrimSpaces(share);
  return "\\\\" + computer + "\\" + share;
}

bool TDlgNetConnect::RunConnectDialog(Platform& platform, Dialogs& dialogs) {
  if (dialogs.ShowModal(*this) != ModalResult::kOk) return false;
  return NetConnectReport(platform, dialogs, true, RemoteName(), EditNetPSW.Text(), CB1.Text());
}

}  // namespace tarvik
