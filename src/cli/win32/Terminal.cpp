#include "cli/Terminal.h"

#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/win32/Wide.h"

namespace tarvik {

namespace {

HANDLE HandleOf(std::FILE* stream) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

bool IsConsole(std::FILE* stream) {
  DWORD mode = 0;
  return GetConsoleMode(HandleOf(stream), &mode) != 0;
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
  if (!IsConsole(stream)) return false;
  // The progress line is rewritten in place with the terminal's own sequences.
  DWORD mode = 0;
  GetConsoleMode(HandleOf(stream), &mode);
  SetConsoleMode(HandleOf(stream), mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
  return true;
}

int TerminalColumns(std::FILE* stream) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (GetConsoleScreenBufferInfo(HandleOf(stream), &info) == 0) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

bool IsPipe(std::FILE* stream) { return GetFileType(HandleOf(stream)) == FILE_TYPE_PIPE; }

bool PipeReaderGone(std::FILE* stream) {
  // A pipe whose reader has gone can no longer be peeked at; a console is no pipe.
  DWORD available = 0;
  return IsPipe(stream) && !IsConsole(stream) &&
         PeekNamedPipe(HandleOf(stream), nullptr, 0, nullptr, &available, nullptr) == 0 &&
         GetLastError() == ERROR_BROKEN_PIPE;
}

bool WriteText(std::FILE* stream, std::string_view text) {
  if (!IsConsole(stream)) return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
  std::fflush(stream);
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  DWORD written = 0;
  return WriteConsoleW(HandleOf(stream), wide.data(), static_cast<DWORD>(wide.size()), &written,
                       nullptr) != 0;
}

bool IsBrokenPipe(int error) { return error == EPIPE || error == EINVAL; }

void EndForBrokenPipe(int status) { std::_Exit(status); }

}  // namespace tarvik
