#include "platform/posix/ErrnoCodes.h"

#include <cerrno>

#include "platform/ErrorCodes.h"

namespace tarvik {

namespace {

// Windows codes that only this table needs.
constexpr int kErrInvalidHandle = 6;
constexpr int kErrNotSameDevice = 17;
constexpr int kErrLockViolation = 33;
constexpr int kErrFileExists = 80;
constexpr int kErrDirNotEmpty = 145;
constexpr int kErrFileTooLarge = 223;
constexpr int kErrCantResolveFilename = 1921;

}  // namespace

// The choices, where Linux and Windows do not line up one to one:
// - ENOENT is "file not found" (2) for the last name of a path and "path not found" (3)
//   when a directory on the way, or the directory to be made current, is missing; the
//   callers know which name was missing and say so through `use`.
// - ENOTDIR (a file where a directory was expected on the way) is "path not found" (3).
// - EACCES, EPERM and EROFS are all "access denied" (5), as is EISDIR: Windows refuses to
//   open a directory as a file with that code.
// - EMFILE and ENFILE are "too many open files" (4).
// - ENOSPC and EDQUOT are "disk full": 101 while writing, where the run-time library reports
//   a short write by that code, and the system's 112 when creating or opening.
// - EIO is the data error (23) that Windows reports for an unreadable sector: it is what a
//   scratched CD gives, the case the program exists for.
// - ENXIO, ENODEV and ENOMEDIUM are "device not ready" (21); EBUSY and ETXTBSY are the
//   sharing violation (32).
// - ENAMETOOLONG and EILSEQ (a name the file system cannot store) are "invalid name" (123).
// - ELOOP (too many symbolic links) is the system's "cannot resolve file name" (1921).
// - The network errors of a share that went away are the unexpected network error (59).
// - ECANCELED, a call given up by its caller, is "operation aborted" (995).
// - Anything else is the general failure (31), shown as "I/O error 31".
int ErrnoToCode(int error_number, ErrnoUse use) {
  switch (error_number) {
    case 0:
      return kNoError;
    case ENOENT:
      return use == ErrnoUse::kDirectory ? kErrPathNotFound : kErrFileNotFound;
    case ENOTDIR:
      return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return kErrAccessDenied;
    case EMFILE:
    case ENFILE:
      return kErrTooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
      return use == ErrnoUse::kWrite ? kErrDiskFull : kErrDiskFullSystem;
    case EIO:
      return kErrCrc;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
      return kErrNotReady;
    case EBUSY:
    case ETXTBSY:
      return kErrSharingViolation;
    case EAGAIN:
      return kErrLockViolation;
    case ENAMETOOLONG:
    case EILSEQ:
      return kErrInvalidName;
    case ELOOP:
      return kErrCantResolveFilename;
    case EEXIST:
      return kErrFileExists;
    case ENOTEMPTY:
      return kErrDirNotEmpty;
    case EXDEV:
      return kErrNotSameDevice;
    case EFBIG:
      return kErrFileTooLarge;
    case ENOMEM:
      return kErrNotEnoughMemory;
    case EBADF:
      return kErrInvalidHandle;
    case EINVAL:
      return kErrInvalidParameter;
    case ECANCELED:
      return kErrOperationAborted;
    case ESTALE:
    case ENOTCONN:
    case ECONNRESET:
    case ECONNABORTED:
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ENETRESET:
      return kErrUnexpectedNetError;
    default:
      return kErrGenFailure;
  }
}

}  // namespace tarvik
