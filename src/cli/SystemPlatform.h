#pragma once

#include <memory>

#include "platform/Platform.h"

namespace tarvik {

// The platform of the machine the program runs on, with letters connected to shares as drives
// of the run, as they are of the window.
class SystemPlatform {
 public:
  SystemPlatform();
  ~SystemPlatform();
  SystemPlatform(const SystemPlatform&) = delete;
  SystemPlatform& operator=(const SystemPlatform&) = delete;

  Platform& Get();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace tarvik
