#include "net/TDlgNetConnect.h"

namespace tarvik {

TDlgNetConnect::TDlgNetConnect() {
  SetCaption("Сетевое соединение");
  Layout.width = 313;
  Layout.height = 140;
  Layout.client_size = true;
  Layout.centred = true;
  Layout.fixed_size = true;
}

}  // namespace tarvik
