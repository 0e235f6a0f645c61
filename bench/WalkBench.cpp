// The subdirectory walk with the main window shown, against find and cat over the same tree,
// and its peak memory for a small and a large tree, each in a process of its own.
//
//   build/default/bench/tarvik_bench_walk      (trees in TMPDIR, else /dev/shm)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "InChild.h"
#include "Program.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// `files` small files, ten to a directory, in directories three levels deep below WORK: ten
// at the top, ten in each of those, the rest spread below them.
void MakeTree(TempDir& drive, int files) {
  const int directories = std::max(files / 10, 1);
  for (int d = 0; d < directories; ++d) {
    const std::string directory = "WORK/T" + std::to_string(d % 10) + "/M" +
                                  std::to_string(d / 10 % 10) + "/L" + std::to_string(d / 100);
    for (int f = 0; f < 10; ++f) drive.MakeFile(directory + "/F" + std::to_string(f), "data");
  }
}

// Walks C:\WORK with the window shown; the seconds it took.
double Walk(TempDir& drive) {
  PosixPlatform platform({{'C', drive.path(), kDriveFixed, "SHM", kPosixVolumeFlags}}, "C:\\WORK");
  Program program(platform);
  program.Show();
  QApplication::processEvents();
  const Clock::time_point start = Clock::now();
  program.run([&program] { program.application.Form1.BitBtn1Click(); });
  return SecondsSince(start);
}

double FindAndCat(const std::string& directory) {
  const std::string command = "find " + directory + " -type f -exec cat {} + > /dev/null";
  const Clock::time_point start = Clock::now();
  if (std::system(command.c_str()) != 0) std::exit(1);
  return SecondsSince(start);
}

}  // namespace
}  // namespace tarvik

int main() {
  using namespace tarvik;
  if (std::getenv("TMPDIR") == nullptr) setenv("TMPDIR", "/dev/shm", 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);

  InChild([] {
    TempDir drive;
    MakeTree(drive, 20'000);
    std::vector<double> ratios;
    for (int run = 0; run < 3; ++run) {
      const double cat = FindAndCat(drive.Path("WORK"));
      const double walk = Walk(drive);
      std::printf("walk %.2f s, find and cat %.2f s\n", walk, cat);
      ratios.push_back(walk / cat);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("20,000 files in 2,000 directories: median walk time / find and cat: %.2f\n",
                ratios[1]);
  });
  for (int files : {1'000, 100'000}) {
    InChild([files] {
      TempDir drive;
      MakeTree(drive, files);
      const double before = PeakMegabytes();
      const double seconds = Walk(drive);
      std::printf("%7d files: walk %.2f s, peak memory %.1f MB (%.1f MB before the walk)\n", files,
                  seconds, PeakMegabytes(), before);
    });
  }
  return 0;
}
