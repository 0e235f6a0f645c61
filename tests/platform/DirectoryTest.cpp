#include <gtest/gtest.h>

#include "PlatformFixture.h"

namespace tarvik {
namespace {

TEST_F(PlatformTest, SmokeListsFilesAndDirectories) {
  dir_.MakeFile("a.txt", "abc");
  dir_.MakeDir("sub");
  EXPECT_EQ(platform_->SetCurrentDirectory("C:\\sub"), kNoError);
  EXPECT_EQ(platform_->CurrentDirectory(), "C:\\sub");
  const auto entries = platform_->FindFiles("C:\\*.*", kAttrDirectory);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "a.txt");
  EXPECT_EQ(entries[0].size, 3);
  EXPECT_EQ(entries[1].name, "sub");
  EXPECT_EQ(entries[1].attributes, kAttrDirectory);
}

}  // namespace
}  // namespace tarvik
