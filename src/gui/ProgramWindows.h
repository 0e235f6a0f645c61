#pragma once

#include "AboutDialog.h"
#include "DlgInfoDialog.h"
#include "ListErrorDialog.h"
#include "MainWindow.h"
#include "NetConnectDialog.h"
#include "QtDialogs.h"
#include "Runner.h"
#include "SecondaryDialog.h"
#include "app/TApplication.h"

namespace tarvik {

// The Qt windows of the program's five windows, bound to their models, with the application
// title shown as the application's display name.
class ProgramWindows {
 public:
  ProgramWindows(TApplication& application, QtDialogs& dialogs, const Runner& run);
  ~ProgramWindows();
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  // Starts the program's windows: the main window shows maximised.
  void Show();

  MainWindow main_window;
  AboutDialog about_box;
  ListErrorDialog list_error;
  NetConnectDialog net_connect;
  DlgInfoDialog dlg_info;

 private:
  TApplication& application_;
  Runner run_;
  // The application title lives as long as the process; its binding goes with these windows.
  std::size_t title_binding_;
};

}  // namespace tarvik
