// The walk's cost beside standard tools over the same trees, each figure in one run:
// - the command-line check of 1,000, 4,000 and 16,000 sibling folders of one small file each;
// - the same of a chain of folders 1,000, 2,000 and 4,000 levels deep, one small file in each;
// - /usr/share/doc with the page cache dropped before each run, against find and cat;
// - the same tree on the tests' smbd, copied right before the walk and settled, on loopback and
//   through a relay with a LAN's round trip, against smbclient's recursive mget;
// - the walk with the window shown over 20,000 files in 2,000 folders, against find and cat;
// - system calls per file on a local disk, requests per folder and file on the share (strace);
// - peak memory of the walk over 1,000 and over 100,000 files, without and with the history;
// - the check of /usr/share/doc and of 100,000 files without the history, recording into a new
//   one, and a second time into the same (compared with the first);
// - the history's size after 50 checks of an unchanged /usr/share beside its size after one;
// - 1,000,000 files on tmpfs (fewer where TMPDIR cannot hold them): time and peak memory of the
//   second check beside the check without the history, and the time `--history` takes;
// - /usr/share/doc copied to an ext4 image on the disk, read cold, throttled to 50 MB/s (slower
//   than SHA-256) by the blkio cgroup and unthrottled: without the history, recording, second.
//
//   apt-get install smbclient strace   (reference client and counter; not needed by the program)
//   The throttled image needs root, loop devices and cgroup v1's blkio controller.
//   build/default/bench/tarvik_bench_walk      (trees in TMPDIR, else /dev/shm)
//
// Dropping the page cache needs root; without it the /usr/share/doc row says it ran warm.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "InChild.h"
#include "Median.h"
#include "Program.h"
#include "net/DelayRelay.h"
#include "support/SmbServer.h"
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

// Walks C:\WORK with the window shown, recording into the history at `history` unless it
// is empty; the seconds it took.
double Walk(TempDir& drive, const std::string& history = "") {
  PosixPlatform platform({{'C', drive.path(), kDriveFixed, "SHM", kPosixVolumeFlags}}, "C:\\WORK");
  Program program(platform);
  program.application.Form1.UseHistory(history);
  program.Show();
  QApplication::processEvents();
  const Clock::time_point start = Clock::now();
  program.run([&program] { program.application.Form1.BitBtn1Click(); });
  return SecondsSince(start);
}

// What a shell command took: seconds, and the peak memory of its biggest process.
struct Measured {
  double seconds;
  double peak_megabytes;
};

// Runs a shell command; throws when it fails, so that the trees and mounts made for the figure
// are removed on the way out.
Measured Run(const std::string& command) {
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = -1;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || status != 0) {
    throw std::runtime_error("failed: " + command);
  }
  return {SecondsSince(start), static_cast<double>(usage.ru_maxrss) / 1024};
}

double CommandSeconds(const std::string& command) { return Run(command).seconds; }

double FindAndCat(const std::string& directory) {
  return CommandSeconds("find '" + directory + "' -type f -exec cat {} + > /dev/null");
}

// tarvik-check of this build.
std::string CheckBinary() {
  const std::filesystem::path bench = std::filesystem::read_symlink("/proc/self/exe");
  return (bench.parent_path().parent_path() / "src/cli/tarvik-check").string();
}

// tarvik-check (`binary`, else this build's) with its arguments, quiet; recording into the
// history in the folder `data_home`, without one when it is empty.
std::string CheckCommand(const std::string& arguments, const std::string& data_home = "",
                         const std::string& binary = CheckBinary()) {
  return (data_home.empty() ? "" : "XDG_DATA_HOME='" + data_home + "' ") + binary + " -q " +
         (data_home.empty() ? "--no-history " : "") + arguments + " > /dev/null";
}

// Drops the page cache, so that the next run reads the disk; false where that is not allowed.
bool DropCaches() {
  sync();
  std::ofstream drop("/proc/sys/vm/drop_caches");
  drop << "3" << std::endl;
  return drop.good();
}

// System calls `command` makes, less those named in `left_out`, counted by strace -c.
long CountCalls(const std::string& command, const std::vector<std::string>& left_out,
                const std::string& traced = "") {
  TempDir counts;
  const std::string out = counts.Path("calls");
  const std::string trace = traced.empty() ? "" : " -e trace=" + traced;
  if (std::system(("strace -f -c" + trace + " -o " + out + " " + command).c_str()) != 0) return -1;
  std::ifstream lines(out);
  long total = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string word; fields >> word;) words.push_back(word);
    if (words.size() < 5 || words.back() == "total" || !std::isdigit(words[3].front())) continue;
    if (std::find(left_out.begin(), left_out.end(), words.back()) != left_out.end()) continue;
    total += std::stol(words[3]);
  }
  return total;
}

// Calls per file of a check over `directory`, beyond those of a check of an empty one.
double CallsPerFile(const std::string& arguments, const std::string& empty_arguments, int files,
                    const std::vector<std::string>& left_out, const std::string& traced = "") {
  const long with_files = CountCalls(CheckCommand(arguments), left_out, traced);
  const long without = CountCalls(CheckCommand(empty_arguments), left_out, traced);
  return with_files < 0 || without < 0 ? -1 : static_cast<double>(with_files - without) / files;
}

// `count` sibling folders of one 100-byte file each below S.
void MakeSiblings(TempDir& drive, int count) {
  for (int d = 0; d < count; ++d) {
    drive.MakeFile("S/d" + std::to_string(d) + "/f", std::string(100, 'x'));
  }
}

void Siblings() {
  double thousand = 0;
  for (int count : {1'000, 4'000, 16'000}) {
    TempDir drive;
    MakeSiblings(drive, count);
    SettleDirectories();
    const double cat = FindAndCat(drive.Path("S"));
    const double check = CommandSeconds(CheckCommand("-r " + drive.Path("S")));
    if (count == 1'000) thousand = check;
    std::printf(
        "%6d sibling folders: check %.2f s (%.1f x the 1,000 figure), find and cat %.2f s\n", count,
        check, check / thousand, cat);
  }
}

// A folder `folder` holding a small file and a folder that holds the same, `levels` deep: made
// from descriptors, as the deeper paths are longer than the kernel takes.
void MakeChain(TempDir& drive, const std::string& folder, int levels) {
  int directory = open(drive.MakeDir(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; level < levels && directory >= 0; ++level) {
    const int file = openat(directory, "f", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (file < 0 || write(file, "data", 4) != 4 || mkdirat(directory, "d", 0755) != 0) {
      std::fprintf(stderr, "cannot make level %d of the chain\n", level);
      std::exit(1);
    }
    close(file);
    const int below = openat(directory, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(directory);
    directory = below;
  }
  if (directory >= 0) close(directory);
}

// Each chain's check is the fastest of runs taken in turn with the other chains': what it costs
// with the least disturbance from the machine's other work, and a slow spell of the machine does
// not fall on one depth alone and skew their ratio.
void Depth() {
  constexpr std::array<int, 3> kLevels = {1'000, 2'000, 4'000};
  constexpr int kRounds = 5;
  TempDir drive;
  std::array<std::string, kLevels.size()> folders;
  std::array<double, kLevels.size()> cat{};
  std::array<double, kLevels.size()> check{};
  check.fill(1e9);
  for (std::size_t chain = 0; chain < kLevels.size(); ++chain) {
    const std::string name = "D" + std::to_string(kLevels[chain]);
    MakeChain(drive, name, kLevels[chain]);
    folders[chain] = drive.Path(name);
  }
  SettleDirectories();
  for (std::size_t chain = 0; chain < kLevels.size(); ++chain) {
    // -execdir, as cat cannot open paths of 4,000 levels by their full path.
    cat[chain] =
        CommandSeconds("find '" + folders[chain] + "' -type f -execdir cat {} + > /dev/null");
  }
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t chain = 0; chain < kLevels.size(); ++chain) {
      check[chain] = std::min(check[chain], CommandSeconds(CheckCommand("-r " + folders[chain])));
    }
  }
  for (std::size_t chain = 0; chain < kLevels.size(); ++chain) {
    std::printf("%5d levels deep: check %.2f s", kLevels[chain], check[chain]);
    if (chain + 1 == kLevels.size()) {
      std::printf(" (%.2f x the 2,000 figure)", check[chain] / check[chain - 1]);
    }
    std::printf(", find -execdir cat %.2f s\n", cat[chain]);
  }
}

// Each figure is the median of five runs, taken in turn with the other's, each after the page
// cache was dropped. The check is a copy without debug sections, as the package installs it: a
// cold start would read them too, the kernel reading a mapped file ahead in large chunks.
void SystemDocs() {
  const std::string docs = "/usr/share/doc";
  TempDir installed;
  const std::string check_binary = installed.Path("tarvik-check");
  if (std::system(
          ("objcopy --strip-debug '" + CheckBinary() + "' '" + check_binary + "'").c_str()) != 0) {
    std::fprintf(stderr, "objcopy failed\n");
    return;
  }
  std::vector<double> cat;
  std::vector<double> check;
  bool cold = true;
  for (int round = 0; round < 5; ++round) {
    cold = DropCaches() && cold;
    cat.push_back(FindAndCat(docs));
    DropCaches();
    check.push_back(CommandSeconds(CheckCommand("-r " + docs, "", check_binary)));
  }
  std::printf("%s (%s, medians of 5): check %.2f s, find and cat %.2f s, ratio %.2f\n",
              docs.c_str(),
              cold ? "page cache dropped before each" : "warm: the cache could not be dropped",
              Median(check), Median(cat), Median(check) / Median(cat));
}

// Lines a shell command prints, as a number.
int CountOf(const std::string& command) {
  FILE* output = popen(command.c_str(), "r");
  char text[32] = "1";
  if (output != nullptr && std::fgets(text, sizeof text, output) == nullptr) text[0] = '1';
  if (output != nullptr) pclose(output);
  return std::stoi(text);
}

// The check and smbclient's recursive mget of the share's doc folder, both through `port`;
// one line with their seconds, their ratio and the check's requests per folder, counted in a
// run of its own. `fresh` copies the tree to the share right before each walk.
void ShareRow(const char* title, SmbServer& server, int port, bool fresh) {
  const std::string copy = "rm -rf '" + server.files().Path(SmbServer::kGuestFolder) +
                           "/doc' && cp -a /usr/share/doc '" +
                           server.files().Path(SmbServer::kGuestFolder) + "/doc'";
  const std::string through = "env TARVIK_SMB_PORT=" + std::to_string(port) + " ";
  const std::string walk = CheckCommand("--connect 'Z:=\\\\127.0.0.1\\DOCS' -r 'Z:\\doc'");
  if (fresh) CommandSeconds(copy);
  const double check = CommandSeconds(through + walk);
  TempDir target;
  if (fresh) CommandSeconds(copy);
  const double smbclient = CommandSeconds("smbclient //127.0.0.1/DOCS -p " + std::to_string(port) +
                                          " -N -c 'prompt OFF; recurse ON; lcd " + target.path() +
                                          "; mget doc' > /dev/null 2>&1");
  if (fresh) CommandSeconds(copy);
  // Each request is one writev of the client: libsmbclient sends no compound requests.
  const long requests = CountCalls(through + walk, {}, "writev");
  static const int folders = CountOf("find /usr/share/doc -type d | wc -l");
  std::printf("%-34s check %6.2f s, smbclient mget %6.2f s, ratio %.2f, %.1f requests a folder\n",
              title, check, smbclient, check / smbclient, static_cast<double>(requests) / folders);
}

void Share() {
  SmbServer server;
  DelayRelay relay(server.port(), std::chrono::microseconds(250));
  const std::string guest = SmbServer::kGuestFolder;
  std::printf("/usr/share/doc (%d files in %d folders) on the tests' smbd:\n",
              CountOf("find /usr/share/doc -type f | wc -l"),
              CountOf("find /usr/share/doc -type d | wc -l"));
  ShareRow("loopback, copied right before", server, server.port(), true);
  ShareRow("0.5 ms relay, copied right before", server, relay.port(), true);
  // A real share's folders have been left alone for a while, longer than the clock difference
  // allowed to a server that does not tell its time.
  std::this_thread::sleep_for(std::chrono::seconds(33));
  ShareRow("loopback, settled", server, server.port(), false);
  ShareRow("0.5 ms relay, settled", server, relay.port(), false);

  server.files().MakeDir(guest + "/empty");
  for (int f = 0; f < 200; ++f) server.files().MakeFile(guest + "/flat/f" + std::to_string(f), "d");
  const std::string connect = "--connect 'Z:=\\\\127.0.0.1\\DOCS' ";
  std::printf("requests per file in one folder: %.1f\n",
              CallsPerFile(connect + "'Z:\\flat'", connect + "'Z:\\empty'", 200, {}, "writev"));
}

void CallsPerLocalFile() {
  TempDir drive;
  for (int f = 0; f < 500; ++f) drive.MakeFile("S/f" + std::to_string(f), "data");
  drive.MakeDir("E");
  SettleDirectories();
  const std::vector<std::string> reads = {"read", "pread64"};
  std::printf("system calls per small file besides the reads: %.1f in one folder",
              CallsPerFile(drive.Path("S"), drive.Path("E"), 500, reads));
  TempDir tree;
  MakeSiblings(tree, 500);
  tree.MakeDir("E");
  SettleDirectories();
  std::printf(", %.1f with a folder of its own each\n",
              CallsPerFile("-r " + tree.Path("S"), "-r " + tree.Path("E"), 500, reads));
}

void WindowWalk() {
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
    std::printf("20,000 files in 2,000 directories: median walk time / find and cat: %.2f\n",
                Median(ratios));
  });
}

void Memory() {
  for (const bool recording : {false, true}) {
    for (int files : {1'000, 100'000}) {
      InChild([files, recording] {
        TempDir drive;
        MakeTree(drive, files);
        const double before = PeakMegabytes();
        const double seconds = Walk(drive, recording ? drive.Path("history.sqlite3") : "");
        std::printf("%7d files%s: walk %.2f s, peak memory %.1f MB (%.1f MB before the walk)\n",
                    files, recording ? ", recording" : "", seconds, PeakMegabytes(), before);
      });
    }
  }
}

// One line telling a figure and whether it keeps to its bound.
void Target(const char* figure, double value, double bound) {
  std::printf("  %s %.2f, target at most %.2f: %s\n", figure, value, bound,
              value <= bound ? "met" : "NOT met");
}

// The check of `directory` without the history, recording into a new one in `data_home`, and
// again into the same one, which compares every file with the first; with the page cache
// dropped before each when `cold`.
std::array<Measured, 3> CheckThrice(const std::string& directory, const std::string& data_home,
                                    bool cold = false) {
  const auto check = [&](const std::string& home) {
    if (cold) DropCaches();
    return Run(CheckCommand("-r '" + directory + "'", home));
  };
  return {check(""), check(data_home), check(data_home)};
}

// CheckThrice's medians of `rounds` runs, taken in turn; the second check's time over the
// check without the history. A disk's runs differ by a quarter from one to the next, so it
// takes more rounds than the same walk in memory.
double HistoryRow(const std::string& title, const std::string& directory, int rounds,
                  bool cold = false) {
  std::array<std::vector<double>, 3> seconds;
  for (int round = 0; round < rounds; ++round) {
    TempDir data;
    const std::array<Measured, 3> runs = CheckThrice(directory, data.path(), cold);
    for (std::size_t run = 0; run < runs.size(); ++run) seconds[run].push_back(runs[run].seconds);
  }
  const double without = Median(seconds[0]);
  std::printf(
      "%s, medians of %d: without history %.2f s, recording %.2f s (%.2f x), second check "
      "%.2f s (%.2f x)\n",
      title.c_str(), rounds, without, Median(seconds[1]), Median(seconds[1]) / without,
      Median(seconds[2]), Median(seconds[2]) / without);
  return Median(seconds[2]) / without;
}

void History() {
  HistoryRow("/usr/share/doc, warm", "/usr/share/doc", 9);
  TempDir drive;
  MakeTree(drive, 100'000);
  HistoryRow("100,000 files", drive.Path("WORK"), 3);
}

double Megabytes(const std::string& file) {
  return static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}

// 50 checks of an unchanged tree into one history: its size stops growing once the speed
// curves of the last 20 checks are kept and old ones dropped. Problems found (status 1: a
// dangling link there) are the same in every check.
void HistorySize() {
  const std::string directory = "/usr/share";
  TempDir data;
  const auto check = [&](const std::string& home) {
    return CommandSeconds(CheckCommand("-r '" + directory + "'", home) + " || test $? = 1");
  };
  const std::string database = data.Path("tarvik/history.sqlite3");
  const double without = check("");
  std::vector<double> sizes;
  std::vector<double> seconds;
  for (int run = 1; run <= 50; ++run) {
    seconds.push_back(check(data.path()));
    sizes.push_back(Megabytes(database));
  }
  std::printf(
      "%s, 50 checks: without history %.2f s, checks 1, 20, 50 %.2f, %.2f, %.2f s; history "
      "%.2f MB after 1, %.2f MB after 20, %.2f MB after 50\n",
      directory.c_str(), without, seconds[0], seconds[19], seconds[49], sizes[0], sizes[19],
      sizes[49]);
  Target("size after 50 / after 1:", sizes[49] / sizes[0], 1.5);
}

// MakeTree's files on tmpfs, a million where TMPDIR holds 8 KiB for each (a page and the
// history's share), else as many as it does.
void HistoryMillion() {
  TempDir drive;
  struct statvfs space {};
  statvfs(drive.path().c_str(), &space);
  const auto room = static_cast<int>(
      std::min<std::uint64_t>(1'000'000, space.f_bavail * space.f_frsize / 8192 / 1'000 * 1'000));
  const Clock::time_point made = Clock::now();
  MakeTree(drive, room);
  const double making = SecondsSince(made);
  TempDir data;
  const std::array<Measured, 3> runs = CheckThrice(drive.Path("WORK"), data.path());
  std::printf("%d files on tmpfs (made in %.0f s)%s:\n", room, making,
              room < 1'000'000 ? ", fewer than a million to fit TMPDIR" : "");
  const char* titles[] = {"without history", "recording", "second check"};
  for (std::size_t run = 0; run < runs.size(); ++run) {
    std::printf("  %-15s %6.2f s (%.2f x), peak memory %6.1f MB (%+.1f MB)\n", titles[run],
                runs[run].seconds, runs[run].seconds / runs[0].seconds, runs[run].peak_megabytes,
                runs[run].peak_megabytes - runs[0].peak_megabytes);
  }
  const std::string history = "'" + drive.Path("WORK") + "'";
  std::vector<double> listing;
  std::vector<double> start;
  for (int round = 0; round < 5; ++round) {
    listing.push_back(CommandSeconds(CheckCommand("--history " + history, data.path())));
    start.push_back(CommandSeconds(CheckBinary() + " --version > /dev/null"));
  }
  std::printf("  history %.1f MB; --history %.3f s, --version %.3f s (medians of 5)\n",
              Megabytes(data.Path("tarvik/history.sqlite3")), Median(listing), Median(start));
  Target("second check / without history:", runs[2].seconds / runs[0].seconds, 1.15);
  Target("second check's peak memory over without history, MB:",
         runs[2].peak_megabytes - runs[0].peak_megabytes, 80);
  Target("--history, s:", Median(listing), 0.1);
}

// Writes `text` to a control file; false when that is not allowed.
bool WriteControl(const std::string& file, const std::string& text) {
  std::ofstream control(file);
  control << text << std::endl;
  return control.good();
}

// /usr/share/doc on an ext4 image on the disk, loop-mounted, read with the page cache dropped
// before each check: with reads throttled to 50 MB/s for this process and its children (blkio
// cgroup), then unthrottled.
void HistorySlowMedium() {
  const std::string pid = std::to_string(getpid());
  const std::string image = "/var/tmp/tarvik-bench-" + pid + ".img";
  const std::string group = "/sys/fs/cgroup/blkio/tarvik-bench-" + pid;
  TempDir mount;
  struct Cleanup {
    std::string unmount;
    std::string group;
    std::string pid;
    ~Cleanup() {
      WriteControl("/sys/fs/cgroup/blkio/cgroup.procs", pid);
      rmdir(group.c_str());
      std::system(unmount.c_str());
    }
  } cleanup{"umount '" + mount.path() + "' 2>/dev/null; rm -f '" + image + "'", group, pid};
  CommandSeconds("truncate -s 400M '" + image + "' && mkfs.ext4 -q '" + image +
                 "' && mount -o loop '" + image + "' '" + mount.path() +
                 "' && cp -rL /usr/share/doc '" + mount.path() + "/'");
  struct stat mounted {};
  stat(mount.path().c_str(), &mounted);
  const std::string device =
      std::to_string(major(mounted.st_dev)) + ":" + std::to_string(minor(mounted.st_dev));
  const std::string docs = mount.Path("doc");
  if (mkdir(group.c_str(), 0755) != 0 ||
      !WriteControl(group + "/blkio.throttle.read_bps_device", device + " 52428800") ||
      !WriteControl(group + "/cgroup.procs", pid)) {
    std::printf("no blkio throttle here (cgroup v1 blkio as root); the image unthrottled only\n");
  } else {
    Target("second check / without history:",
           HistoryRow("/usr/share/doc, ext4 image at 50 MB/s, cold", docs, 5, true), 1.10);
  }
  WriteControl("/sys/fs/cgroup/blkio/cgroup.procs", pid);
  HistoryRow("/usr/share/doc, ext4 image unthrottled, cold", docs, 5, true);
}

}  // namespace
}  // namespace tarvik

// With no argument every figure; otherwise those named: siblings depth docs share calls window
// memory history historysize historymillion historyslow.
int main(int argc, char** argv) {
  using namespace tarvik;
  if (std::getenv("TMPDIR") == nullptr) setenv("TMPDIR", "/dev/shm", 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const std::vector<std::pair<std::string, void (*)()>> figures = {
      {"siblings", Siblings},
      {"depth", Depth},
      {"docs", SystemDocs},
      {"share", Share},
      {"calls", CallsPerLocalFile},
      {"window", WindowWalk},
      {"memory", Memory},
      {"history", History},
      {"historysize", HistorySize},
      {"historymillion", HistoryMillion},
      {"historyslow", HistorySlowMedium}};
  try {
    for (const auto& [name, measure] : figures) {
      if (argc == 1 || std::find(argv + 1, argv + argc, name) != argv + argc) measure();
    }
  } catch (const std::runtime_error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
