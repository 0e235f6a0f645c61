// Time and peak memory of the program's long lists, each measured in a process of its own:
// showing the main window over folders of many files, moving the file list's selection through
// every file as the check does, and appending problem lines one per refresh.
//
//   build/default/bench/tarvik_bench_lists     (folders in TMPDIR, else /dev/shm)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "InChild.h"
#include "Program.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A folder of `count` empty files named like a camera's, below the drive's root.
std::string MakeFolder(TempDir& drive, int count) {
  const std::string name = "F" + std::to_string(count);
  const std::string folder = drive.MakeDir(name);
  for (int i = 0; i < count; ++i) {
    const std::string file = folder + "/IMG_" + std::to_string(100000 + i) + ".JPG";
    const int fd = open(file.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) std::exit(1);
    close(fd);
  }
  return "C:\\" + name;
}

// The program over drive C:, started in `directory` and painted once.
struct ShownProgram {
  ShownProgram(const TempDir& drive, const std::string& directory)
      : platform({{'C', drive.path(), kDriveFixed, "BENCH",
                   kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames}},
                 directory),
        program(platform) {
    program.Show();
    QApplication::processEvents();
    program.main_window.grab();
  }

  PosixPlatform platform;
  Program program;
};

// Also splits the cost of showing the list again into reading the folder (the file list
// model alone) and bringing the views up to date.
void ShowFolder(const TempDir& drive, const std::string& directory, int files) {
  InChild([&] {
    const Clock::time_point start = Clock::now();
    ShownProgram shown(drive, directory);
    const double show_ms = MillisecondsSince(start);
    const double peak = PeakMegabytes();
    Clock::time_point step = Clock::now();
    shown.program.application.Form1.FileListBox1.SetMask("*");
    const double read_ms = MillisecondsSince(step);
    step = Clock::now();
    shown.program.refresher.RefreshAll();
    QApplication::processEvents();
    shown.program.main_window.grab();
    std::printf(
        "show a folder of %6d files    %9.1f ms   peak %7.1f MB   "
        "(again: read %.1f ms, views %.1f ms)\n",
        files, show_ms, peak, read_ms, MillisecondsSince(step));
  });
}

void MoveSelection(const TempDir& drive, const std::string& directory, int files) {
  InChild([&] {
    ShownProgram shown(drive, directory);
    FileListBox& list = shown.program.application.Form1.FileListBox1;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < files; ++i) {
      list.SetItemIndex(i);
      shown.program.refresher.RefreshAll();
    }
    std::printf("selection through %6d files   %9.2f us per move   peak %7.1f MB\n", files,
                MillisecondsSince(start) * 1000 / files, PeakMegabytes());
  });
}

void AppendProblemLines(const TempDir& drive, int lines) {
  InChild([&] {
    ShownProgram shown(drive, "C:\\");
    TListError& list_error = shown.program.application.ListError;
    list_error.Show();
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < lines; ++i) {
      list_error.AddLine("C:\\DCIM\\100CANON\\IMG_" + std::to_string(100000 + i) + ".JPG");
      shown.program.refresher.RefreshAll();
    }
    std::printf("append %6d problem lines      %9.2f us per line   peak %7.1f MB\n", lines,
                MillisecondsSince(start) * 1000 / lines, PeakMegabytes());
  });
}

}  // namespace
}  // namespace tarvik

int main() {
  using namespace tarvik;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Folders in memory, as on a tmpfs, unless TMPDIR says otherwise.
  if (std::getenv("TMPDIR") == nullptr && access("/dev/shm", W_OK) == 0) {
    setenv("TMPDIR", "/dev/shm", 1);
  }
  TempDir drive;
  const int kOrdinary = 20;
  ShowFolder(drive, MakeFolder(drive, kOrdinary), kOrdinary);
  for (const int files : {1000, 20000, 100000}) ShowFolder(drive, MakeFolder(drive, files), files);
  for (const int files : {2000, 20000}) {
    const std::string directory = files == 20000 ? "C:\\F20000" : MakeFolder(drive, files);
    MoveSelection(drive, directory, files);
  }
  for (const int lines : {1000, 10000}) AppendProblemLines(drive, lines);
  return 0;
}
