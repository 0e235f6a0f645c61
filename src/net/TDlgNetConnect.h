#pragma once

#include "ui/Window.h"

namespace tarvik {

// The network connection dialog: the drive letter, computer, share and password to connect.
class TDlgNetConnect : public Window {
 public:
  TDlgNetConnect();
};

}  // namespace tarvik
