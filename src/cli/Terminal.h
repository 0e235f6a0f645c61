#pragma once

#include <cstdio>
#include <string_view>

namespace tarvik {

// What the console front end asks the system about its standard streams.

// Whether the stream is a terminal (a console on Windows), which takes a progress line.
bool IsTerminal(std::FILE* stream);
// The width of the terminal in columns; 0 when it cannot be told.
int TerminalColumns(std::FILE* stream);
// Whether the stream is a pipe or a socket, whose reader can go away while nothing is written.
bool IsPipe(std::FILE* stream);
// Whether the reader of such a pipe has gone, told without writing to it.
bool PipeReaderGone(std::FILE* stream);
// Writes UTF-8 text: to a Windows console as UTF-16, so that every character shows whatever its
// code page; everywhere else, and to files and pipes, as the bytes they are. False when the
// stream cannot take it.
bool WriteText(std::FILE* stream, std::string_view text);
// Whether the error of a failed write says that the reader of the pipe has gone.
bool IsBrokenPipe(int error);
// Ends the program as one whose output's reader has gone ends: by SIGPIPE on Linux, with
// `status` where no such signal exists.
[[noreturn]] void EndForBrokenPipe(int status);

}  // namespace tarvik
