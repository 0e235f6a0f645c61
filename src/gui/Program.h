#pragma once

#include "AboutDialog.h"
#include "DlgInfoDialog.h"
#include "HistoryDialog.h"
#include "ListErrorDialog.h"
#include "MainWindow.h"
#include "NetConnectDialog.h"
#include "QtDialogs.h"
#include "Refresher.h"
#include "Runner.h"
#include "SpeedDialog.h"
#include "app/TApplication.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/smb/SmbPlatform.h"

namespace tarvik {

// The program as it runs over `platform`: its window models, the Qt windows bound to them
// and the Qt dialogs. main() and the Qt tests assemble it alike.
class Program {
 public:
  // The local drives come from `local`; letters connected to network shares go to the server.
  explicit Program(PosixPlatform& local);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts the program's windows: the main window shows maximised.
  void Show();

  SmbPlatform platform;
  Refresher refresher;
  QtDialogs dialogs;
  const Runner run;
  TApplication application;
  MainWindow main_window;
  AboutDialog about_box;
  ListErrorDialog list_error;
  NetConnectDialog net_connect;
  DlgInfoDialog dlg_info;
  SpeedDialog speed_window;
  HistoryDialog history_window;
};

}  // namespace tarvik
