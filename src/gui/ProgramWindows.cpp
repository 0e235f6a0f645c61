#include "ProgramWindows.h"

#include <QGuiApplication>
#include <QScreen>

#include "Binders.h"
#include "ui/ApplicationTitle.h"

namespace tarvik {

ProgramWindows::ProgramWindows(TApplication& application, QtDialogs& dialogs, const Runner& run)
    : main_window(application.Form1, run),
      about_box(application.AboutBox, run, &main_window),
      list_error(run, application.ListError, &main_window),
      net_connect(run, application.DlgNetConnect, &main_window),
      dlg_info(run, application.DlgInfo, &main_window),
      application_(application),
      run_(run) {
  dialogs.RegisterWindow(application.DlgNetConnect, net_connect);
  dialogs.RegisterWindow(application.AboutBox, about_box);
  title_binding_ = run.refresher().Bind(ApplicationTitle::Get().StateChanged, [] {
    QGuiApplication::setApplicationDisplayName(ToQt(ApplicationTitle::Get().Text()));
  });
}

ProgramWindows::~ProgramWindows() {
  ApplicationTitle::Get().StateChanged.Unsubscribe(title_binding_);
}

void ProgramWindows::Show() {
  run_([this] { application_.Run(); });
  // Without a window manager (a bare X server) maximising does nothing: fill the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    main_window.setGeometry(screen->availableGeometry());
  main_window.showMaximized();
}

}  // namespace tarvik
