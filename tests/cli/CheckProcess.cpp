#include "CheckProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "platform/posix/PosixPlatform.h"

namespace tarvik {

namespace {

constexpr auto kLongestRun = std::chrono::minutes(2);

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

}  // namespace

ProcessResult RunCheckBinary(std::vector<std::string> args, const ProcessRun& run) {
  args.insert(args.begin(), TARVIK_CHECK_BINARY);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  Channel out = MakePipe();
  Channel err = run.err_on_terminal ? MakeTerminal() : MakePipe();
  const pid_t pid = fork();
  if (pid < 0) Fail("fork");
  if (pid == 0) {
    // Only what is safe between fork and exec.
    if (dup2(out.write, 1) < 0 || dup2(err.write, 2) < 0) _exit(126);
    if (!run.working_directory.empty() && chdir(run.working_directory.c_str()) != 0) _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out.write);
  close(err.write);

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
      kill(pid, SIGINT);
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
