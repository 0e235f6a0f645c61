#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "ProgramWindows.h"
#include "QtDialogs.h"
#include "Refresher.h"
#include "Runner.h"
#include "app/TApplication.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/smb/SmbPlatform.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "tarvik needs a graphical display, and none is set (DISPLAY is empty).\n"
                 "Start it from a desktop session, or without one under a virtual display:\n"
                 "  xvfb-run -a scripts/run\n");
    return 2;
  }
  QApplication qt_application(argc, argv);
  using namespace tarvik;

  PosixPlatform local;
  SmbPlatform platform(local);
  Refresher refresher;
  QtDialogs dialogs(
      refresher, [&local](const std::string& path) { return local.PosixPathFor(path); },
      [&local](const std::string& path) { return local.WindowsPathOf(path); });
  const Runner run(dialogs, refresher);
  TApplication application(platform, dialogs);
  ProgramWindows windows(application, dialogs, run);
  windows.Show();
  return qt_application.exec();
}
