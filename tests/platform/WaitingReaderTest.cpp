#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "platform/posix/WaitingReader.h"

namespace tarvik {
namespace {

bool IsOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }

// A pipe stands in for a medium that makes a read wait: its read ends when the test writes.
// Each row runs for a local disk's file system (through the kernel's ring) and for another
// (through the helper thread).
TEST(WaitingReaderTest, AReadThatWaitsEndsWithItsDataOrIsGivenUp) {
  const struct {
    const char* name;
    FileSystemKind kind;
    bool give_up;  // `waiting` gives the read up at its second call, else data comes then
  } cases[] = {
      {"disk: data comes while waiting", FileSystemKind::kLocalDisk, false},
      {"disk: given up, closed by the reader once the read ends", FileSystemKind::kLocalDisk, true},
      {"other: data comes while waiting", FileSystemKind::kOther, false},
      {"other: given up, closed by the reader once the read ends", FileSystemKind::kOther, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    WaitingReader reader;
    reader.Learn(ends[0], c.kind);
    int calls = 0;
    const auto waiting = [&] {
      if (++calls < 2) return true;
      if (c.give_up) return false;
      EXPECT_EQ(write(ends[1], "data", 4), 4);
      return true;
    };
    std::string buffer(8, '-');
    const ssize_t got = reader.Read(ends[0], buffer.data(), buffer.size(), waiting);
    if (!c.give_up) {
      EXPECT_EQ(got, 4);
      EXPECT_EQ(buffer, "data----");
      EXPECT_TRUE(reader.Release(ends[0]));
      close(ends[0]);
      close(ends[1]);
      continue;
    }
    EXPECT_EQ(got, -1);
    EXPECT_EQ(errno, ECANCELED);
    EXPECT_FALSE(reader.Release(ends[0]));
    EXPECT_EQ(write(ends[1], "late", 4), 4);
    for (int tries = 0; tries < 200 && IsOpen(ends[0]); ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(IsOpen(ends[0]));
    EXPECT_EQ(buffer, "--------");  // the late data went to the reader's own buffer
    close(ends[1]);
  }
}

}  // namespace
}  // namespace tarvik
