#include "platform/ErrorCodes.h"

namespace tarvik {

namespace {

struct CodeWords {
  int code;
  const char* words;
};

constexpr CodeWords kCodeWords[] = {
    {kErrFileNotFound, "no such file"},
    {kErrPathNotFound, "no such folder"},
    {kErrTooManyOpenFiles, "too many files open"},
    {kErrAccessDenied, "access denied"},
    {kErrNotEnoughMemory, "not enough memory"},
    {kErrInvalidDrive, "no such drive"},
    {kErrNotReady, "the drive is not ready"},
    {kErrCrc, "an input/output error of the medium"},
    {kErrGenFailure, "the system refused it"},
    {kErrSharingViolation, "in use by another program"},
    {kErrNotSupported, "not supported there"},
    {kErrUnexpectedNetError, "the network connection failed"},
    {kErrBadNetName, "no such computer or share"},
    {kErrAlreadyAssigned, "already in use"},
    {kErrInvalidPassword, "wrong password"},
    {kErrInvalidParameter, "not a valid value"},
    {kErrReadBeyondEof, "read beyond the end of the file"},
    {kErrDiskFull, "the disk is full"},
    {kErrDiskFullSystem, "the disk is full"},
    {kErrInvalidNumericInput, "not a number"},
    {kErrBadFileType, "not a regular file"},
    {kErrInvalidName, "a name in it holds a character that names cannot hold (\\ : * ? \" < > |)"},
    {kErrOperationAborted, "given up while it waited"},
    {kErrBadDevice, "not a drive letter"},
    {kErrNotConnected, "not connected"},
    {kErrOpenFiles, "files are open on it"},
};

}  // namespace

std::string IoErrorText(int code) {
  switch (code) {
    case kErrFileNotFound:
      return "File not found";
    case kErrPathNotFound:
      return "Invalid filename";
    case kErrTooManyOpenFiles:
      return "Too many open files";
    case kErrAccessDenied:
      return "File access denied";
    case kErrReadBeyondEof:
      return "Read beyond end of file";
    case kErrDiskFull:
      return "Disk full";
    case kErrInvalidNumericInput:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

std::string ErrorInWords(int code) {
  for (const CodeWords& entry : kCodeWords) {
    if (entry.code == code) return entry.words;
  }
  return "system error " + std::to_string(code);
}

}  // namespace tarvik
