#include <QApplication>
#include <QSettings>
#include <cstdio>
#include <cstdlib>

#include "Program.h"
#include "history/HistoryPath.h"
#include "platform/posix/PosixPlatform.h"

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

  PosixPlatform platform;
  Program program(platform);
  // "Запоминать проверки" is kept between runs with Qt's settings of the program.
  TForm1& form = program.application.Form1;
  form.UseHistory(DefaultHistoryPath());
  QSettings settings("tarvik", "tarvik");
  form.N17.SetChecked(settings.value("remember_checks", true).toBool());
  form.N17.StateChanged.Subscribe(
      [&form, &settings] { settings.setValue("remember_checks", form.N17.Checked()); });
  program.Show();
  return qt_application.exec();
}
