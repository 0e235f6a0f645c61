#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "PlatformFixture.h"
#include "platform/OwnedFile.h"
#include "support/FaultyPlatform.h"

namespace tarvik {
namespace {

// Whichever way an owner lets go of its file, the file is closed exactly once.
TEST_F(PlatformTest, OwnedFileClosesItsFileExactlyOnce) {
  tmp_.MakeFile("a.txt", "a");
  tmp_.MakeFile("b.txt", "b");
  const std::string a = "C:\\a.txt";
  const std::string b = "C:\\b.txt";
  struct Case {
    const char* name;
    std::function<void(FaultyPlatform&)> use;
    int closes_of_b;
  };
  const Case cases[] = {
      {"scope exit",
       [&](FaultyPlatform& p) {
         OwnedFile file(p);
         ASSERT_EQ(p.OpenForReading(a, file.Reset()), kNoError);
         EXPECT_TRUE(file.is_open());
       },
       0},
      {"move construction hands the file over",
       [&](FaultyPlatform& p) {
         OwnedFile first(p);
         ASSERT_EQ(p.OpenForReading(a, first.Reset()), kNoError);
         OwnedFile second(std::move(first));
         EXPECT_FALSE(first.is_open());
         EXPECT_EQ(p.Calls(PlatformCall::kClose, a), 0);
       },
       0},
      {"move assignment closes the file it replaces",
       [&](FaultyPlatform& p) {
         OwnedFile first(p);
         ASSERT_EQ(p.OpenForReading(a, first.Reset()), kNoError);
         OwnedFile second(p);
         ASSERT_EQ(p.OpenForReading(b, second.Reset()), kNoError);
         second = std::move(first);
         EXPECT_EQ(p.Calls(PlatformCall::kClose, b), 1);
         EXPECT_EQ(p.Calls(PlatformCall::kClose, a), 0);
       },
       1},
      {"reset closes the file before the next open",
       [&](FaultyPlatform& p) {
         OwnedFile file(p);
         ASSERT_EQ(p.OpenForReading(a, file.Reset()), kNoError);
         ASSERT_EQ(p.OpenForReading(b, file.Reset()), kNoError);
         EXPECT_EQ(p.Calls(PlatformCall::kClose, a), 1);
       },
       1},
      {"an early close is not repeated",
       [&](FaultyPlatform& p) {
         OwnedFile file(p);
         ASSERT_EQ(p.OpenForReading(a, file.Reset()), kNoError);
         file.Close();
         EXPECT_EQ(p.Calls(PlatformCall::kClose, a), 1);
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FaultyPlatform faulty(*platform_);
    c.use(faulty);
    EXPECT_EQ(faulty.Calls(PlatformCall::kClose, a), 1);
    EXPECT_EQ(faulty.Calls(PlatformCall::kClose, b), c.closes_of_b);
  }
}

}  // namespace
}  // namespace tarvik
