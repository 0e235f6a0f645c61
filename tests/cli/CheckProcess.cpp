#include "CheckProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "platform/posix/PosixPlatform.h"
#include "support/TempDir.h"

namespace tarvik {

namespace {

constexpr auto kLongestRun = std::chrono::minutes(2);
// A sanitizer build lists the leak suppressions it used on standard error, which is the
// program's own output here; without the sanitizer the setting is never read.
constexpr char kQuietLeakCheck[] = "LSAN_OPTIONS=print_suppressions=0";

[[noreturn]] void Fail(const char* what) {
  throw std::runtime_error(std::string(what) + " failed: " + std::to_string(errno));
}

// Both ends of a pipe, or of a pseudo-terminal: the parent reads `read`, the child writes to
// `write`.
struct Channel {
  int read = -1;
  int write = -1;
};

Channel MakePipe() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) Fail("pipe2");
  return {fds[0], fds[1]};
}

Channel MakeTerminal() {
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) Fail("posix_openpt");
  const int slave = open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave < 0) Fail("open pts");
  return {master, slave};
}

// Appends what is ready on `fd`; false at its end (a terminal whose other side is closed
// reports EIO).
bool Drain(int fd, std::string& text) {
  char buffer[4096];
  const ssize_t got = read(fd, buffer, sizeof buffer);
  if (got > 0) {
    text.append(buffer, static_cast<std::size_t>(got));
    return true;
  }
  return got < 0 && errno == EINTR;
}

// The test's environment with `added` in it; the strings stay owned by `added` and environ.
std::vector<char*> EnvironmentWith(std::vector<std::string>& added) {
  std::vector<char*> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view name(*entry, std::strcspn(*entry, "="));
    const bool replaced = std::ranges::any_of(added, [name](const std::string& variable) {
      return variable.size() > name.size() && variable.starts_with(name) &&
             variable[name.size()] == '=';
    });
    if (!replaced) entries.push_back(*entry);
  }
  for (std::string& variable : added) entries.push_back(variable.data());
  entries.push_back(nullptr);
  return entries;
}

}  // namespace

ProcessResult RunCheckBinary(std::vector<std::string> args, const ProcessRun& run) {
  args.insert(args.begin(), TARVIK_CHECK_BINARY);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> added = {kQuietLeakCheck};
  // Each run records into a history of its own unless the test names one.
  const TempDir data_home;
  if (std::ranges::none_of(run.environment, [](const std::string& variable) {
        return variable.starts_with("XDG_DATA_HOME=");
      })) {
    added.push_back("XDG_DATA_HOME=" + data_home.path());
  }
  added.insert(added.end(), run.environment.begin(), run.environment.end());
  std::vector<char*> envp = EnvironmentWith(added);

  Channel out = MakePipe();
  Channel err = run.err_on_terminal ? MakeTerminal() : MakePipe();
  const pid_t pid = fork();
  if (pid < 0) Fail("fork");
  if (pid == 0) {
    // Only what is safe between fork and exec.
    if (dup2(out.write, 1) < 0 || dup2(err.write, 2) < 0) _exit(126);
    if (!run.working_directory.empty() && chdir(run.working_directory.c_str()) != 0) _exit(126);
    // A limit on descriptors counts from 0: none but the standard three may be inherited.
    if (!run.limits.empty() && close_range(3, ~0U, 0) != 0) _exit(126);
    for (const auto& [resource, limit] : run.limits) {
      const rlimit both = {limit, limit};
      if (setrlimit(resource, &both) != 0) _exit(126);
    }
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(out.write);
  close(err.write);
  if (run.out_unread) close(std::exchange(out.read, -1));

  ProcessResult result;
  pollfd fds[] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
  std::string* texts[] = {&result.out, &result.err};
  bool interrupted = false;
  const auto deadline = std::chrono::steady_clock::now() + kLongestRun;
  while (fds[0].fd >= 0 || fds[1].fd >= 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      break;
    }
    if (poll(fds, 2, 20) < 0 && errno != EINTR) Fail("poll");
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      if (!Drain(fds[i].fd, *texts[i])) {
        close(fds[i].fd);
        fds[i].fd = -1;
      }
    }
    if (run.interrupt_when && !interrupted && run.interrupt_when(result)) {
      kill(pid, run.interrupt_signal);
      if (run.second_signal != 0) kill(pid, run.second_signal);
      interrupted = true;
    }
  }
  for (const pollfd& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }
  int wait_status = 0;
  if (waitpid(pid, &wait_status, 0) != pid) Fail("waitpid");
  if (std::chrono::steady_clock::now() > deadline) return result;
  result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status);
  return result;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string DrivePath(const std::string& posix_path) {
  return PosixPlatform().WindowsPathOf(posix_path);
}

}  // namespace tarvik
