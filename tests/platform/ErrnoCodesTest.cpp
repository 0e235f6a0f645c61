#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>

#include "platform/ErrorCodes.h"
#include "platform/IoError.h"
#include "platform/posix/ErrnoCodes.h"

namespace tarvik {
namespace {

struct ErrnoCase {
  int error_number;
  ErrnoUse use;
  int code;
  const char* text;  // what the error box says
};

void PrintTo(const ErrnoCase& c, std::ostream* out) {
  *out << "errno " << c.error_number << " use " << static_cast<int>(c.use);
}

class ErrnoTableTest : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(ErrnoTableTest, MapsToWindowsCode) {
  const ErrnoCase& c = GetParam();
  EXPECT_EQ(ErrnoToCode(c.error_number, c.use), c.code);
  EXPECT_EQ(IoErrorText(c.code), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ErrnoTableTest,
    ::testing::Values(ErrnoCase{0, ErrnoUse::kFile, kNoError, "I/O error 0"},
                      ErrnoCase{ENOENT, ErrnoUse::kFile, 2, "File not found"},
                      ErrnoCase{ENOENT, ErrnoUse::kDirectory, 3, "Invalid filename"},
                      ErrnoCase{ENOTDIR, ErrnoUse::kFile, 3, "Invalid filename"},
                      ErrnoCase{EMFILE, ErrnoUse::kFile, 4, "Too many open files"},
                      ErrnoCase{ENFILE, ErrnoUse::kFile, 4, "Too many open files"},
                      ErrnoCase{EACCES, ErrnoUse::kFile, 5, "File access denied"},
                      ErrnoCase{EPERM, ErrnoUse::kDirectory, 5, "File access denied"},
                      ErrnoCase{EROFS, ErrnoUse::kWrite, 5, "File access denied"},
                      ErrnoCase{EISDIR, ErrnoUse::kFile, 5, "File access denied"},
                      ErrnoCase{ENOSPC, ErrnoUse::kWrite, 101, "Disk full"},
                      ErrnoCase{EDQUOT, ErrnoUse::kWrite, 101, "Disk full"},
                      ErrnoCase{ENOSPC, ErrnoUse::kFile, 112, "I/O error 112"},
                      ErrnoCase{EIO, ErrnoUse::kFile, 23, "I/O error 23"},
                      ErrnoCase{ENOMEDIUM, ErrnoUse::kFile, 21, "I/O error 21"},
                      ErrnoCase{ENXIO, ErrnoUse::kFile, 21, "I/O error 21"},
                      ErrnoCase{EBUSY, ErrnoUse::kFile, 32, "I/O error 32"},
                      ErrnoCase{ENAMETOOLONG, ErrnoUse::kFile, 123, "I/O error 123"},
                      ErrnoCase{ELOOP, ErrnoUse::kFile, 1921, "I/O error 1921"},
                      ErrnoCase{ESTALE, ErrnoUse::kFile, 59, "I/O error 59"},
                      ErrnoCase{EOVERFLOW, ErrnoUse::kFile, 31, "I/O error 31"}));

}  // namespace
}  // namespace tarvik
