#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/ErrorCodes.h"
#include "platform/OwnedFile.h"
#include "platform/posix/PosixPlatform.h"
#include "support/FaultyFs.h"

namespace tarvik {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// What Windows reports for an unreadable sector ("data error"), and so the platform for EIO.
constexpr int kErrDataError = 23;
constexpr std::size_t kBlock = 2048;

std::string Content(std::int64_t size) {
  std::string content(static_cast<std::size_t>(size), '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>('A' + i % 23);
  return content;
}

// The real platform whose drive D: is a faulty medium.
class FaultyMediumTest : public ::testing::Test {
 protected:
  void Mount(const std::vector<FaultyFs::Entry>& tree) {
    fs_ = std::make_unique<FaultyFs>(tree);
    platform_ = std::make_unique<PosixPlatform>(std::vector{fs_->Drive('D')}, "D:\\");
  }

  std::unique_ptr<FaultyFs> fs_;
  std::unique_ptr<PosixPlatform> platform_;
};

// What the platform tells of one file when it is listed, opened and read to the end in
// blocks, as the check does.
struct FileReport {
  bool listed = false;
  bool exists_after_listing = false;
  int open_code = kNoError;
  std::int64_t size_at_open = 0;
  int full_blocks = 0;
  std::int64_t bytes_read = 0;
  int read_code = kNoError;  // of the read that ended the file
  std::int64_t size_at_end = 0;

  bool operator==(const FileReport&) const = default;
};

void PrintTo(const FileReport& r, std::ostream* out) {
  *out << "{listed " << r.listed << ", exists after listing " << r.exists_after_listing << ", open "
       << r.open_code << ", size at open " << r.size_at_open << ", full blocks " << r.full_blocks
       << ", bytes " << r.bytes_read << ", read " << r.read_code << ", size at end "
       << r.size_at_end << "}";
}

struct FileFaultCase {
  const char* name;
  std::int64_t size;
  FaultyFs::Faults faults;
  FileReport expected;
};

void PrintTo(const FileFaultCase& c, std::ostream* out) { *out << c.name; }

class FileFaultTest : public FaultyMediumTest,
                      public ::testing::WithParamInterface<FileFaultCase> {};

TEST_P(FileFaultTest, PlatformReportsTheFault) {
  const FileFaultCase& c = GetParam();
  const std::string content = Content(c.size);
  Mount({FaultyFs::File("DISC/DATA.BIN", content, c.faults)});

  FileReport report;
  const std::vector<FoundEntry> listed = platform_->FindFiles("D:\\DISC\\*", 0);
  report.listed = listed.size() == 1 && listed[0].name == "DATA.BIN";
  report.exists_after_listing = platform_->FileExists("D:\\DISC\\DATA.BIN");
  OwnedFile file(*platform_);
  report.open_code = platform_->OpenForReading("D:\\DISC\\DATA.BIN", file.Reset());
  std::string delivered;
  if (report.open_code == kNoError) {
    platform_->DropCachedPages(file.get());
    EXPECT_EQ(platform_->SizeOfOpenFile(file.get(), report.size_at_open), kNoError);
    std::vector<char> block(kBlock);
    for (;;) {
      std::size_t done = 0;
      report.read_code = platform_->Read(file.get(), block.data(), kBlock, done);
      delivered.append(block.data(), done);
      if (report.read_code != kNoError || done == 0) break;
      if (done == kBlock) ++report.full_blocks;
    }
    report.bytes_read = static_cast<std::int64_t>(delivered.size());
    EXPECT_EQ(platform_->SizeOfOpenFile(file.get(), report.size_at_end), kNoError);
  }
  EXPECT_EQ(report, c.expected);

  // Whatever was delivered is the file's content, bytes added by growing being zeros.
  std::string served = content;
  served.resize(static_cast<std::size_t>(c.faults.size_after_first_read.value_or(c.size)), '\0');
  served.resize(std::min(served.size(), delivered.size()));
  EXPECT_TRUE(delivered == served);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FileFaultTest,
    ::testing::Values(
        FileFaultCase{"sound", 5000, {}, {true, true, kNoError, 5000, 2, 5000, kNoError, 5000}},
        FileFaultCase{"eio_on_open",
                      5000,
                      FaultyFs::Faults().EioOnOpen(),
                      {true, true, kErrDataError, 0, 0, 0, kNoError, 0}},
        // Three good blocks, then the fourth read fails; the size stays what it was.
        FileFaultCase{"eio_at_block_4",
                      10000,
                      FaultyFs::Faults().EioFrom(3 * kBlock),
                      {true, true, kNoError, 10000, 3, 6144, kErrDataError, 10000}},
        // The bytes before the bad spot come with the failure of their block.
        FileFaultCase{"eio_inside_block_4",
                      10000,
                      FaultyFs::Faults().EioFrom(7000),
                      {true, true, kNoError, 10000, 3, 7000, kErrDataError, 10000}},
        FileFaultCase{"slow_reads",
                      5000,
                      FaultyFs::Faults().ReadDelay(std::chrono::milliseconds(20)),
                      {true, true, kNoError, 5000, 2, 5000, kNoError, 5000}},
        FileFaultCase{"grows_while_read",
                      8192,
                      FaultyFs::Faults().SizeAfterFirstRead(10000),
                      {true, true, kNoError, 8192, 4, 10000, kNoError, 10000}},
        FileFaultCase{"shrinks_while_read",
                      8192,
                      FaultyFs::Faults().SizeAfterFirstRead(5000),
                      {true, true, kNoError, 8192, 2, 5000, kNoError, 5000}},
        FileFaultCase{"vanishes_after_listing",
                      5000,
                      FaultyFs::Faults().VanishesAfterListing(),
                      {true, false, kErrFileNotFound, 0, 0, 0, kNoError, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DirectoryFaultCase {
  const char* name;
  bool holds_a_file;
  FaultyFs::Faults faults;
  std::uint32_t attributes_after_listing;
  std::vector<std::string> entries;
};

void PrintTo(const DirectoryFaultCase& c, std::ostream* out) { *out << c.name; }

class DirectoryFaultTest : public FaultyMediumTest,
                           public ::testing::WithParamInterface<DirectoryFaultCase> {};

constexpr std::uint32_t kEverything = kAttrHidden | kAttrSystem | kAttrDirectory;
constexpr std::uint32_t kReadOnlyDirectory = kAttrDirectory | kAttrReadOnly;

TEST_P(DirectoryFaultTest, PlatformReportsTheFault) {
  const DirectoryFaultCase& c = GetParam();
  std::vector<FaultyFs::Entry> tree = {FaultyFs::Dir("DISC/SUB", c.faults)};
  if (c.holds_a_file) tree.push_back(FaultyFs::File("DISC/SUB/A.TXT", "a"));
  Mount(tree);
  std::vector<std::string> in_parent;
  for (const FoundEntry& entry : platform_->FindFiles("D:\\DISC\\*", kEverything)) {
    in_parent.push_back(entry.name);
  }
  EXPECT_THAT(in_parent, ElementsAre(".", "..", "SUB"));
  EXPECT_EQ(platform_->FileAttributes("D:\\DISC\\SUB"), c.attributes_after_listing);
  std::vector<std::string> entries;
  for (const FoundEntry& entry : platform_->FindFiles("D:\\DISC\\SUB\\*", kEverything)) {
    entries.push_back(entry.name);
  }
  EXPECT_EQ(entries, c.entries);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DirectoryFaultTest,
    ::testing::Values(
        DirectoryFaultCase{"sound", true, {}, kReadOnlyDirectory, {".", "..", "A.TXT"}},
        DirectoryFaultCase{"empty", false, {}, kReadOnlyDirectory, {".", ".."}},
        // FindFiles cannot tell a listing that failed from an empty directory.
        DirectoryFaultCase{"listing_fails",
                           true,
                           FaultyFs::Faults().ListingFails(),
                           kReadOnlyDirectory,
                           {".", ".."}},
        // A directory that cannot even be opened gives nothing at all, not even "." and "..".
        DirectoryFaultCase{
            "eio_on_open", true, FaultyFs::Faults().EioOnOpen(), kReadOnlyDirectory, {}},
        DirectoryFaultCase{"vanishes_after_listing",
                           true,
                           FaultyFs::Faults().VanishesAfterListing(),
                           kInvalidAttributes,
                           {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A test that stops with a file still open must neither hang nor leave the mount behind.
TEST_F(FaultyMediumTest, EndsWithAFileLeftOpen) {
  Mount({FaultyFs::File("A.BIN", Content(100))});
  const std::string mount_point = fs_->mount_point();
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->OpenForReading("D:\\A.BIN", file), kNoError);
  fs_.reset();
  std::vector<char> block(kBlock);
  std::size_t done = 0;
  EXPECT_NE(platform_->Read(file, block.data(), kBlock, done), kNoError);
  platform_->Close(file);
  // The mount point could not have been removed while something was mounted on it.
  EXPECT_FALSE(std::filesystem::exists(mount_point));
}

// A read that the file system holds back does not hold back the end of the file system.
TEST_F(FaultyMediumTest, EndsDuringABlockedRead) {
  Mount({FaultyFs::File("HANG.BIN", Content(100),
                        FaultyFs::Faults().ReadDelay(std::chrono::hours(1)))});
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->OpenForReading("D:\\HANG.BIN", file), kNoError);
  std::atomic<int> read_code = -1;
  std::thread reader([&] {
    std::vector<char> block(kBlock);
    std::size_t done = 0;
    read_code = platform_->Read(file, block.data(), kBlock, done);
  });
  while (fs_->ReadsServed("HANG.BIN") == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  fs_.reset();
  reader.join();
  EXPECT_NE(read_code, -1);
  platform_->Close(file);
}

}  // namespace
}  // namespace tarvik
