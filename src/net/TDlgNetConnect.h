#pragma once

#include <string>

#include "platform/Platform.h"
#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/Window.h"

namespace tarvik {

// The network connection dialog: the drive letter, computer, share and password to connect.
// Its fields keep what the user typed last; nothing resets them between showings.
class TDlgNetConnect : public Window {
 public:
  TDlgNetConnect();

  // "\\" + computer + "\" + share, both trimmed of spaces.
  std::string RemoteName() const;
  // Shows the dialog modally and, after OK, connects the letter to the share, reporting a
  // failure. True when a connection was made.
  bool RunConnectDialog(Platform& platform, Dialogs& dialogs);

  Label Label1;
  ComboBox CB1;
  Label Label2;
  Edit EditComp;
  Label Label3;
  Edit EditNetDisk;
  Label Label4;
  // Shown with every character as "*".
  Edit EditNetPSW;
  Button OKBtn;
  Button CancelBtn;
};

}  // namespace tarvik
