#include "cli/SystemPlatform.h"

#include "platform/posix/PosixPlatform.h"
#include "platform/smb/SmbPlatform.h"

namespace tarvik {

// Shares are reached in-process, through libsmbclient, beside the local drives.
struct SystemPlatform::Parts {
  PosixPlatform local;
  SmbPlatform platform{local};
};

SystemPlatform::SystemPlatform() : parts_(std::make_unique<Parts>()) {}

SystemPlatform::~SystemPlatform() = default;

Platform& SystemPlatform::Get() { return parts_->platform; }

}  // namespace tarvik
