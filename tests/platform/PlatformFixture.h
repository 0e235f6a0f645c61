#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/ErrorCodes.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempDir.h"

namespace tarvik {

inline constexpr std::uint32_t kPosixFlags = kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames;

// A platform whose only drive, C:, is a fresh temporary directory.
class PlatformTest : public ::testing::Test {
 protected:
  PlatformTest() { Rebuild(kPosixFlags); }

  // A new platform over the same directory, with other volume flags.
  void Rebuild(std::uint32_t flags) {
    platform_ = std::make_unique<PosixPlatform>(
        std::vector<DriveSpec>{{'C', dir_.path(), kDriveFixed, "TEST", flags}}, "C:\\");
  }

  // The names FindFiles gives, in its order.
  std::vector<std::string> Find(const std::string& pattern, std::uint32_t attributes) {
    std::vector<std::string> names;
    for (const FoundEntry& entry : platform_->FindFiles(pattern, attributes)) {
      names.push_back(entry.name);
    }
    return names;
  }

  // The attributes FindFiles reports for one name of a directory listing, or
  // kInvalidAttributes when it is not listed.
  std::uint32_t ListedAttributes(const std::string& directory, const std::string& name) {
    for (const FoundEntry& entry :
         platform_->FindFiles(directory + "\\*", kAttrHidden | kAttrSystem | kAttrDirectory)) {
      if (entry.name == name) return entry.attributes;
    }
    return kInvalidAttributes;
  }

  TempDir dir_;
  std::unique_ptr<PosixPlatform> platform_;
};

}  // namespace tarvik
