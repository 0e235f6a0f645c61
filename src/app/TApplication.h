#pragma once

#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "net/TDlgNetConnect.h"
#include "platform/Platform.h"
#include "scan/TDlgInfo.h"
#include "scan/TListError.h"
#include "ui/Dialogs.h"

namespace tarvik {

// Sets the application title before any window exists.
struct ApplicationTitleAtStart {
  ApplicationTitleAtStart();
};

// The program's five windows, created at start in this order and kept until it ends; only the
// main window is shown at start, the others are shown and hidden by their commands.
class TApplication : private ApplicationTitleAtStart {
 public:
  TApplication(Platform& platform, Dialogs& dialogs);

  // Shows the main window maximised.
  void Run();

  TForm1 Form1;
  TAboutBox AboutBox;
  TListError ListError;
  TDlgNetConnect DlgNetConnect;
  TDlgInfo DlgInfo;
};

}  // namespace tarvik
