#include "scan/TDlgInfo.h"

namespace tarvik {

TDlgInfo::TDlgInfo() {
  SetCaption("Info");
  Layout = WindowLayout::CentredDialog(298, 75);
  Layout.stay_on_top = true;
  Button1.SetCaption("Скрыть");
  Button1.OnClick.Subscribe([this] { Button1Click(); });
}

bool TDlgInfo::ShowInfo(const std::string& text, const std::string& caption) {
  SetCaption(caption);
  Label1.SetCaption(text);
  Show();
  return true;
}

}  // namespace tarvik
