#include "net/TDlgNetConnect.h"

namespace tarvik {

TDlgNetConnect::TDlgNetConnect() {
  SetCaption("Сетевое соединение");
  Layout = WindowLayout::CentredDialog(313, 140);
}

}  // namespace tarvik
