#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/ErrorCodes.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempDir.h"

namespace tarvik {

// A platform whose only drive, C:, is a fresh temporary directory.
class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override { Rebuild(kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames); }

  // A new platform over the same directory, with other volume flags.
  void Rebuild(std::uint32_t flags) {
    platform_ = std::make_unique<PosixPlatform>(
        std::vector<DriveSpec>{{'C', dir_.path(), kDriveFixed, "TEST", flags}}, "C:\\");
  }

  TempDir dir_;
  std::unique_ptr<PosixPlatform> platform_;
};

}  // namespace tarvik
