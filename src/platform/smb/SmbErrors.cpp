#include "platform/smb/SmbErrors.h"

#include <cerrno>

#include "platform/ErrorCodes.h"

namespace tarvik {

namespace {

struct ErrnoCode {
  int error_number;
  int code;
};

// What a failed logon means to the user. EINVAL is what libsmbclient leaves when the
// computer's name does not resolve: to the user that is a wrong computer name. Anything not
// listed is the unexpected network error (59).
constexpr ErrnoCode kConnectCodes[] = {
    {EACCES, kErrAccessDenied},  // refused: the share refuses the user, or a wrong password
    {EPERM, kErrAccessDenied},        {ENOENT, kErrBadNetName},  // no such share
    {ENODEV, kErrBadNetName},                                    // no such share (older libraries)
    {EINVAL, kErrBadNetName},          // the computer's name does not resolve
    {ECONNREFUSED, kErrNotConnected},  // nothing listens on the computer
    {ETIMEDOUT, kErrNotConnected},     // the computer does not answer
    {EHOSTUNREACH, kErrNotConnected}, {EHOSTDOWN, kErrNotConnected},
    {ENETUNREACH, kErrNotConnected},  {ENETDOWN, kErrNotConnected},
    {ECONNRESET, kErrNotConnected},   {ECONNABORTED, kErrNotConnected},
    {ENETRESET, kErrNotConnected},    {EPIPE, kErrNotConnected},
    {ENOTCONN, kErrNotConnected},     {ENOMEM, kErrNotEnoughMemory},
};

}  // namespace

int ConnectErrorCode(int error_number, bool computer_refused) {
  int code = kErrUnexpectedNetError;
  for (const ErrnoCode& entry : kConnectCodes) {
    if (entry.error_number == error_number) code = entry.code;
  }
  // Refused by the computer itself, not only by the share: the password is wrong.
  return code == kErrAccessDenied && computer_refused ? kErrInvalidPassword : code;
}

ConnectFailure ConnectFailureOf(int error_number, bool computer_refused) {
  switch (error_number) {
    case EACCES:
    case EPERM:
      return computer_refused ? ConnectFailure::kLogonDenied : ConnectFailure::kShareDenied;
    case ENOENT:
    case ENODEV:
      return ConnectFailure::kNoSuchShare;
    case EINVAL:
      return ConnectFailure::kNoSuchComputer;
    case ECONNREFUSED:
      return ConnectFailure::kRefused;
    case ETIMEDOUT:
    case EHOSTDOWN:
      return ConnectFailure::kNoAnswer;
    case EHOSTUNREACH:
    case ENETUNREACH:
    case ENETDOWN:
      return ConnectFailure::kUnreachable;
    default:
      return ConnectFailure::kUnknown;
  }
}

bool ConnectionLost(int error_number) {
  return ConnectErrorCode(error_number, false) == kErrNotConnected;
}

}  // namespace tarvik
