#include "Program.h"

#include <QGuiApplication>
#include <QScreen>

#include "Binders.h"

namespace tarvik {

Program::Program(PosixPlatform& local)
    : platform(local),
      dialogs(
          refresher, [&local](const std::string& path) { return local.PosixPathFor(path); },
          [&local](const std::string& path) { return local.WindowsPathOf(path); }),
      run(dialogs, refresher),
      application(platform, dialogs),
      main_window(application.Form1, run),
      about_box(application.AboutBox, run, &main_window),
      list_error(application.ListError, run, &main_window),
      net_connect(application.DlgNetConnect, run, &main_window),
      dlg_info(application.DlgInfo, run, &main_window),
      speed_window(application.Form1.SpeedWindow, run, &main_window),
      history_window(application.Form1.HistoryWindow, run, &main_window) {
  dialogs.RegisterWindow(application.DlgNetConnect, net_connect);
  dialogs.RegisterWindow(application.AboutBox, about_box);
}

void Program::Show() {
  run([this] { application.Run(); });
  // Without a window manager (a bare X server) maximising does nothing: fill the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    main_window.setGeometry(screen->availableGeometry());
  main_window.showMaximized();
}

}  // namespace tarvik
