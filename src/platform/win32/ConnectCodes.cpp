#include "platform/win32/ConnectCodes.h"

#include <windows.h>

namespace tarvik {

namespace {

struct CodeFailure {
  unsigned long error;
  int code;
  ConnectFailure failure;
};

constexpr CodeFailure kCodes[] = {
    {ERROR_BAD_NET_NAME, kErrBadNetName, ConnectFailure::kNoSuchShare},
    // The system says the same of a name that does not resolve and of a computer that does
    // not answer.
    {ERROR_BAD_NETPATH, kErrBadNetName, ConnectFailure::kUnknown},
    {ERROR_NO_NET_OR_BAD_PATH, kErrBadNetName, ConnectFailure::kUnknown},
    {ERROR_LOGON_FAILURE, kErrInvalidPassword, ConnectFailure::kLogonDenied},
    {ERROR_INVALID_PASSWORD, kErrInvalidPassword, ConnectFailure::kLogonDenied},
    {ERROR_ACCOUNT_RESTRICTION, kErrInvalidPassword, ConnectFailure::kLogonDenied},
    {ERROR_ACCOUNT_DISABLED, kErrInvalidPassword, ConnectFailure::kLogonDenied},
    {ERROR_PASSWORD_EXPIRED, kErrInvalidPassword, ConnectFailure::kLogonDenied},
    {ERROR_ACCESS_DENIED, kErrAccessDenied, ConnectFailure::kShareDenied},
    {ERROR_CONNECTION_REFUSED, kErrNotConnected, ConnectFailure::kRefused},
    {ERROR_SEM_TIMEOUT, kErrNotConnected, ConnectFailure::kNoAnswer},
    {ERROR_TIMEOUT, kErrNotConnected, ConnectFailure::kNoAnswer},
    {ERROR_NETWORK_UNREACHABLE, kErrNotConnected, ConnectFailure::kUnreachable},
    {ERROR_HOST_UNREACHABLE, kErrNotConnected, ConnectFailure::kUnreachable},
    {ERROR_NO_NETWORK, kErrNotConnected, ConnectFailure::kUnreachable},
};

}  // namespace

int ConnectCode(unsigned long error, ConnectFailure& failure) {
  failure = ConnectFailure::kUnknown;
  for (const CodeFailure& known : kCodes) {
    if (known.error == error) {
      failure = known.failure;
      return known.code;
    }
  }
  return static_cast<int>(error);
}

}  // namespace tarvik
