#include <gtest/gtest.h>

#include "BrowseFixture.h"
#include "browse/ResolvePath.h"
#include "platform/IoError.h"

namespace tarvik {
namespace {

class ResolvePathTest : public BrowseTest {
 protected:
  void SetUp() override {
    tmp_.MakeDir("c/WORK/SUB");
    tmp_.MakeFile("c/WORK/file.txt");
    tmp_.MakeDir("d/CDDIR");
    Start("C:\\WORK");
  }
};

TEST_F(ResolvePathTest, SplitsIntoDriveDirectoryAndFile) {
  struct Case {
    std::string text;
    char drive;
    std::string directory, file;
  };
  const Case cases[] = {
      {"C:\\WORK\\SUB", 'C', "\\WORK\\SUB", ""},
      {"C:\\WORK\\SUB\\", 'C', "\\WORK\\SUB", ""},
      {"C:\\", 'C', "\\", ""},
      {"SUB", 'C', "\\WORK\\SUB", ""},
      {"[SUB]", 'C', "\\WORK\\SUB", ""},
      {"[..]", 'C', "\\WORK\\..", ""},
      {"C:\\WORK\\file.txt", 'C', "\\WORK", "file.txt"},
      {"file.txt", 'C', "\\WORK", "file.txt"},
      {"C:\\WORK\\*.txt", 'C', "\\WORK", "*.txt"},
      {"*.t?t", 'C', "\\WORK", "*.t?t"},
      {"D:", 'D', "\\", ""},
      // Visiting a drive's directory makes it the one remembered for that drive.
      {"d:\\CDDIR", 'd', "\\CDDIR", ""},
      {"D:", 'D', "\\CDDIR", ""},
      {"C:", 'C', "\\WORK", ""},
      // The drive itself is not looked at; changing to it is the caller's step.
      {"E:\\", 'E', "\\", ""},
  };
  for (const auto& c : cases) {
    const ResolvedPath resolved = ResolvePath(platform(), c.text);
    EXPECT_EQ(resolved.drive, c.drive) << c.text;
    EXPECT_EQ(resolved.directory, c.directory) << c.text;
    EXPECT_EQ(resolved.file, c.file) << c.text;
    EXPECT_EQ(platform().CurrentDirectory(), "C:\\WORK") << c.text;
  }
}

TEST_F(ResolvePathTest, FailsOnWhatCannotBeEnteredAndStillReturns) {
  // The volume is case-sensitive, so the lower-case spelling names nothing.
  for (const std::string text :
       {"C:\\WORK\\missing", "c:\\work\\sub", "C:\\NOPE\\x.txt", "[missing]"}) {
    EXPECT_THROW(ResolvePath(platform(), text), IoError) << text;
    EXPECT_EQ(platform().CurrentDirectory(), "C:\\WORK") << text;
  }
}

}  // namespace
}  // namespace tarvik
