#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/PosixPlatform.h"
#include "platform/smb/SmbPlatform.h"
#include "support/SmbServer.h"
#include "support/TempDir.h"

namespace tarvik {

// A real SMB server and the program's platform: C: is a temporary directory, and network
// connections reach the server through the port setting the server published.
class SmbTest : public ::testing::Test {
 protected:
  static inline const std::string kDocs = "\\\\127.0.0.1\\DOCS";
  static inline const std::string kSecret = "\\\\127.0.0.1\\SECRET";

  // A file of the guest share, by its path below the share's folder.
  std::string MakeShared(const std::string& relative, const std::string& content = {}) {
    return server_.files().MakeFile(std::string(SmbServer::kGuestFolder) + "/" + relative, content);
  }

  SmbServer server_;
  TempDir c_drive_;
  PosixPlatform local_{{{'C', c_drive_.path(), kDriveFixed, "SYSTEM", 0x3}}, "C:\\"};
  SmbPlatform platform_{local_};
};

}  // namespace tarvik
