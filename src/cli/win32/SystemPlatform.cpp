#include "cli/SystemPlatform.h"

#include "platform/win32/Win32Platform.h"

namespace tarvik {

// Windows connects shares to letters itself.
struct SystemPlatform::Parts {
  Win32Platform platform;
};

SystemPlatform::SystemPlatform() : parts_(std::make_unique<Parts>()) {}

SystemPlatform::~SystemPlatform() = default;

Platform& SystemPlatform::Get() { return parts_->platform; }

}  // namespace tarvik
