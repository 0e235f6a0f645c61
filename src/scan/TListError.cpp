#include "scan/TListError.h"

namespace tarvik {

TListError::TListError() {
  SetCaption("Проблемные файлы");
  Layout = WindowLayout::CentredDialog(535, 250);
  OKButton.SetCaption("Скрыть");
  OKButton.OnClick.Subscribe([this] { OKButtonClick(); });
}

}  // namespace tarvik
