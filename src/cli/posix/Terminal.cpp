#include "cli/Terminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace tarvik {

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

int TerminalColumns(std::FILE* stream) {
  winsize size{};
  return ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

bool IsPipe(std::FILE* stream) {
  struct stat status {};
  return fstat(fileno(stream), &status) == 0 &&
         (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode));
}

bool PipeReaderGone(std::FILE* stream) {
  pollfd watched{.fd = fileno(stream), .events = 0, .revents = 0};
  return poll(&watched, 1, 0) == 1 && (watched.revents & (POLLERR | POLLHUP)) != 0;
}

bool WriteText(std::FILE* stream, std::string_view text) {
  return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

bool IsBrokenPipe(int error) { return error == EPIPE; }

void EndForBrokenPipe(int status) {
  // The end a shell expects of a program whose reader went away.
  std::signal(SIGPIPE, SIG_DFL);
  std::raise(SIGPIPE);
  std::_Exit(status);
}

}  // namespace tarvik
