#pragma once

#include <string>

// Windows-style error codes that platform operations return, and the run-time library's
// input/output codes that the program's error box knows by name.
namespace tarvik {

inline constexpr int kNoError = 0;
inline constexpr int kErrFileNotFound = 2;
inline constexpr int kErrPathNotFound = 3;
inline constexpr int kErrTooManyOpenFiles = 4;
inline constexpr int kErrAccessDenied = 5;
inline constexpr int kErrNotEnoughMemory = 8;
inline constexpr int kErrInvalidDrive = 15;
inline constexpr int kErrNotReady = 21;
inline constexpr int kErrCrc = 23;
inline constexpr int kErrGenFailure = 31;
inline constexpr int kErrSharingViolation = 32;
inline constexpr int kErrReadBeyondEof = 100;
inline constexpr int kErrDiskFull = 101;
inline constexpr int kErrInvalidNumericInput = 106;
inline constexpr int kErrDiskFullSystem = 112;
inline constexpr int kErrInvalidName = 123;
// A FIFO, a socket or a device where a file was to be read.
inline constexpr int kErrBadFileType = 222;
inline constexpr int kErrNotSupported = 50;
inline constexpr int kErrUnexpectedNetError = 59;
inline constexpr int kErrBadNetName = 67;
inline constexpr int kErrAlreadyAssigned = 85;
inline constexpr int kErrInvalidPassword = 86;
inline constexpr int kErrInvalidParameter = 87;
inline constexpr int kErrBadDevice = 1200;
inline constexpr int kErrNotConnected = 2250;
inline constexpr int kErrOpenFiles = 2401;
// A call that its caller gave up while it waited for the medium or the server.
inline constexpr int kErrOperationAborted = 995;

// The error box text of a code: "File not found" for 2, ..., "I/O error %d" for the rest.
std::string IoErrorText(int code);
// What the code says in plain words, for a message that names what it happened to: "no such
// drive", "access denied"; "system error %d" for a code without words of its own.
std::string ErrorInWords(int code);

}  // namespace tarvik
