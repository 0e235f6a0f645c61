#include "scan/TListError.h"

namespace tarvik {

TListError::TListError() {
  SetCaption("Проблемные файлы");
  Layout.width = 535;
  Layout.height = 250;
  Layout.client_size = true;
  Layout.centred = true;
  Layout.fixed_size = true;
  OKButton.SetCaption("Скрыть");
  OKButton.OnClick.Subscribe([this] { OKButtonClick(); });
}

}  // namespace tarvik
