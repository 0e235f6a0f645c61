// How long a server that stops answering holds tarvik-check: the loopback smbd is frozen
// (SIGSTOP) 1.5 s into a run, as a server that hangs without closing its connections would be.
//
// - Ctrl+C half a second after the freeze, during the read of a large file (`-b 2048`): the
//   time from the signal to the program's end, and its status (130 is "stopped by Ctrl+C").
// - No Ctrl+C, during a walk (`-r`) whose first file is the large one, with the share's own
//   deadline: the time from the freeze to the end, its status and the problem lines printed.
//
//   tarvik_bench_frozen [tarvik-check binary]   (this build's by default)

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/SmbServer.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

struct Outcome {
  int status = -1;
  double freeze_to_end = 0;
  double interrupt_to_end = 0;
  int lines = 0;
};

// Runs the binary with `args`, its output in `out`; freezes the server 1.5 s in and, with
// `interrupt`, sends SIGINT 0.5 s later. A run still going 120 s after the freeze is killed.
Outcome Run(const std::string& binary, const std::vector<std::string>& args, SmbServer& server,
            bool interrupt, const std::string& out) {
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    std::freopen(out.c_str(), "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    std::vector<char*> argv{const_cast<char*>(binary.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  Outcome outcome;
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  server.Freeze();
  const Clock::time_point frozen = Clock::now();
  Clock::time_point interrupted = frozen;
  int status = 0;
  bool signalled = false;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    const Clock::time_point now = Clock::now();
    if (interrupt && !signalled && now - frozen >= std::chrono::milliseconds(500)) {
      kill(pid, SIGINT);
      interrupted = now;
      signalled = true;
    }
    if (now - frozen > std::chrono::seconds(120)) kill(pid, SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const Clock::time_point ended = Clock::now();
  server.Thaw();
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  outcome.freeze_to_end = SecondsBetween(frozen, ended);
  outcome.interrupt_to_end = SecondsBetween(interrupted, ended);
  std::ifstream printed(out);
  for (std::string line; std::getline(printed, line);) ++outcome.lines;
  return outcome;
}

}  // namespace
}  // namespace tarvik

int main(int argc, char** argv) {
  using namespace tarvik;
  const std::filesystem::path bench = std::filesystem::read_symlink("/proc/self/exe");
  const std::string binary =
      argc > 1
          ? argv[1]
          : (bench.parent_path().parent_path().parent_path() / "src/cli/tarvik-check").string();
  SmbServer server;
  const std::string shared = SmbServer::kGuestFolder;
  server.files().MakeSparseFile(shared + "/A/big.bin", std::int64_t{1} << 34);
  for (int folder = 0; folder < 20; ++folder) {
    for (int file = 0; file < 10; ++file) {
      server.files().MakeFile(shared + "/B" + std::to_string(folder) + "/f" + std::to_string(file),
                              "x");
    }
  }
  TempDir out;
  const std::string connect = "Z:=\\\\127.0.0.1\\DOCS";

  const Outcome stopped =
      Run(binary, {"--connect", connect, "-b", "2048", "Z:\\A"}, server, true, out.Path("stopped"));
  std::printf(
      "Ctrl+C 0.5 s after the freeze, during a read: ended %.2f s after the signal, "
      "status %d\n",
      stopped.interrupt_to_end, stopped.status);

  const Outcome walked = Run(binary, {"--connect", connect, "-r", "-b", "2048", "Z:\\"}, server,
                             false, out.Path("walk"));
  std::printf(
      "walk of 201 files in 21 folders, frozen during the first: ended %.2f s after the "
      "freeze, status %d, %d lines printed\n",
      walked.freeze_to_end, walked.status, walked.lines);
  return 0;
}
