#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/DriveTable.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempDir.h"

namespace tarvik {

// An entry of a test's own drive table: `letter` over a directory of the test's tree, with
// the volume flags of a POSIX file system unless the test asks for others.
inline DriveSpec TempDrive(char letter, std::string mount_point, unsigned type = kDriveFixed,
                           std::string label = "TEST", std::uint32_t flags = kPosixVolumeFlags) {
  return DriveSpec{letter, std::move(mount_point), type, std::move(label), flags};
}

// Tests on real files: drive C: over the fresh temporary directory `tmp_`, or the drives a
// test names, under a platform of type `P` (the real one, or a test's subclass of it) that
// the test starts once its tree is built, so that no test ever sees the machine's mounts.
template <typename P = PosixPlatform>
class TempDriveTest : public ::testing::Test {
 protected:
  // Builds the platform anew with `current` as its current directory, over `drives`, or C:
  // over `tmp_` when none are given.
  P& StartPlatform(const std::string& current = "C:\\", std::vector<DriveSpec> drives = {}) {
    if (drives.empty()) drives = {TempDrive('C', tmp_.path())};
    platform_ = std::make_unique<P>(std::move(drives), current);
    return *platform_;
  }

  TempDir tmp_;
  std::unique_ptr<P> platform_;
};

}  // namespace tarvik
