#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ErrorCodes.h"
#include "support/TempDriveTest.h"

namespace tarvik {

// A platform whose only drive, C:, is a fresh temporary directory.
class PlatformTest : public TempDriveTest<> {
 protected:
  PlatformTest() { StartPlatform(); }

  // A new platform over the same directory, with other volume flags.
  void Rebuild(std::uint32_t flags) {
    StartPlatform("C:\\", {TempDrive('C', tmp_.path(), kDriveFixed, "TEST", flags)});
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
};

}  // namespace tarvik
