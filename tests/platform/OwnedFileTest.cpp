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
    // Does something to `owner`, which holds a.txt.
    std::function<void(Platform&, OwnedFile& owner)> use;
    int closes_of_a_in_scope;
    int closes_of_b;
  };
  const Case cases[] = {
      {"scope exit", [](Platform&, OwnedFile&) {}, 0, 0},
      {"move construction hands the file over",
       [](Platform&, OwnedFile& owner) {
         const OwnedFile moved(std::move(owner));
         EXPECT_FALSE(owner.is_open());
       },
       1, 0},
      {"move assignment closes the file it replaces",
       [&](Platform& platform, OwnedFile& owner) {
         OwnedFile other(platform);
         ASSERT_EQ(platform.OpenForReading(b, other.Reset()), kNoError);
         owner = std::move(other);
       },
       1, 1},
      {"reset closes the file before the next open",
       [&](Platform& platform, OwnedFile& owner) {
         ASSERT_EQ(platform.OpenForReading(b, owner.Reset()), kNoError);
       },
       1, 1},
      {"an early close is not repeated", [](Platform&, OwnedFile& owner) { owner.Close(); }, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FaultyPlatform faulty(*platform_);
    {
      OwnedFile owner(faulty);
      ASSERT_EQ(faulty.OpenForReading(a, owner.Reset()), kNoError);
      ASSERT_TRUE(owner.is_open());
      c.use(faulty, owner);
      EXPECT_EQ(faulty.Calls(PlatformCall::kClose, a), c.closes_of_a_in_scope);
    }
    EXPECT_EQ(faulty.Calls(PlatformCall::kClose, a), 1);
    EXPECT_EQ(faulty.Calls(PlatformCall::kClose, b), c.closes_of_b);
  }
}

}  // namespace
}  // namespace tarvik
