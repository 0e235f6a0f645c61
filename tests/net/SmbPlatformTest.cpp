#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "SmbFixture.h"
#include "platform/ErrorCodes.h"
#include "platform/FileSizeOf.h"
#include "platform/smb/ServerClock.h"
#include "support/FaultyFs.h"

namespace tarvik {
namespace {

// The whole content of a file through the platform, in blocks of `block` bytes.
int ReadAll(Platform& platform, const std::string& path, std::string& content,
            std::size_t block = 2048) {
  FileHandle file = kNoFile;
  int code = platform.OpenForReading(path, file);
  if (code != kNoError) return code;
  std::string buffer(block, '\0');
  std::size_t done = 0;
  content.clear();
  bool ended = false;
  while ((code = platform.Read(file, buffer.data(), block, done)) == kNoError && done > 0) {
    if (ended) content += "<after a short block>";  // only the end makes a block short
    ended = done < block;
    content.append(buffer, 0, done);
  }
  platform.Close(file);
  return code;
}

std::vector<std::string> Names(const std::vector<FoundEntry>& entries) {
  std::vector<std::string> names;
  for (const FoundEntry& entry : entries) names.push_back(entry.name);
  return names;
}

TEST_F(SmbTest, LogonOutcomes) {
  struct Case {
    std::string remote, password, local;
    int code;
  };
  const Case cases[] = {
      {kDocs, "", "Z:", kNoError},
      {kSecret, SmbServer::kPassword, "y:", kNoError},
      {kDocs + "\\", "", "X:", kNoError},
      {kSecret, "wrong", "W:", kErrInvalidPassword},
      {kSecret, "", "W:", kErrAccessDenied},
      {"\\\\127.0.0.1\\NOSUCH", "", "W:", kErrBadNetName},
      {"\\\\127.0.0.1", "", "W:", kErrInvalidParameter},
      {"127.0.0.1\\DOCS", "", "W:", kErrInvalidParameter},
      {kDocs, "", "", kErrBadDevice},
      {kDocs, "", "ZX:", kErrBadDevice},
      {kDocs, "", " Z:", kErrBadDevice},
      {kDocs, "", "W", kErrBadDevice},
      {kDocs, "", "Z:", kErrAlreadyAssigned},
      {kDocs, "", "C:", kErrAlreadyAssigned},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform_.AddConnection(c.remote, c.password, c.local), c.code)
        << c.remote << " " << c.password << " " << c.local;
  }
  EXPECT_EQ(platform_.LogicalDrives(), (1u << 2) | (1u << 23) | (1u << 24) | (1u << 25));
}

TEST_F(SmbTest, TheServerTellsItsClock) {
  const std::optional<ServerClock> clock = AskServerClock("127.0.0.1", server_.port(), 5'000);
  ASSERT_TRUE(clock);
  // The server runs on this machine: its clock is ours, to the microseconds it sends.
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  const std::int64_t real = now.tv_sec * 1'000'000'000LL + now.tv_nsec;
  const std::int64_t earliest = clock->EarliestAt(MonotonicNanoseconds());
  EXPECT_LE(earliest, real + 1'000);
  EXPECT_GT(earliest, real - 1'000'000'000);
  // Nothing where nothing answers.
  EXPECT_FALSE(AskServerClock("127.0.0.1", 1, 5'000));
}

TEST_F(SmbTest, AStoppedServerGivesTheConnectionFailure) {
  server_.Stop();
  EXPECT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kErrNotConnected);
  EXPECT_EQ(platform_.LogicalDrives(), 1u << 2);
  server_.Start();
  EXPECT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kNoError);
}

TEST_F(SmbTest, AConnectedLetterIsARemoteDriveUntilCancelled) {
  ASSERT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kNoError);
  std::string remote;
  VolumeInfo volume;
  EXPECT_EQ(platform_.DriveType("Z:\\"), kDriveRemote);
  EXPECT_EQ(platform_.DriveType("C:\\"), kDriveFixed);
  EXPECT_EQ(platform_.NetworkConnection("Z:", remote), kNoError);
  EXPECT_EQ(remote, kDocs);
  EXPECT_EQ(platform_.VolumeInformation("z:\\", volume), kNoError);
  EXPECT_EQ(volume.label, "DOCS");
  EXPECT_EQ(volume.flags, kVolumeCasePreservedNames);
  EXPECT_GT(platform_.TotalCapacity("Z:\\"), 0);

  EXPECT_EQ(platform_.CancelConnection("z:", true), kNoError);
  EXPECT_EQ(platform_.LogicalDrives(), 1u << 2);
  EXPECT_EQ(platform_.DriveType("Z:\\"), kDriveNoRootDir);
  EXPECT_EQ(platform_.NetworkConnection("Z:", remote), kErrNotConnected);
  EXPECT_EQ(platform_.CancelConnection("Z:", true), kErrNotConnected);
  EXPECT_EQ(platform_.CancelConnection("C:", true), kErrNotConnected);
}

TEST_F(SmbTest, FilesOfTheShareAreListedAndReadThroughThePlatform) {
  const std::string big(100'000, 'x');
  MakeShared("Папка/Вложенная/глубоко.txt", "глубоко");
  MakeShared("Папка/файл.bin", big);
  MakeShared("Папка/пусто.txt");
  MakeShared("Папка/.скрытый", "h");
  MakeShared("имя с пробелом и %41.txt", "percent");
  MakeShared(".скрытая/внутри.txt");
  // Names Windows forbids, shown in the form of local drives; the server refuses to open them.
  MakeShared("Папка/Вложенная/co:lon.txt");
  MakeShared("Папка/Вложенная/line\nfeed?.txt");
  MakeShared("Папка/Вложенная/pu\uF02A.dat", "private use");
  ASSERT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kNoError);

  EXPECT_EQ(Names(platform_.FindFiles("Z:\\*.*", kAttrDirectory)),
            (std::vector<std::string>{"Папка", "имя с пробелом и %41.txt"}));
  ASSERT_EQ(platform_.SetCurrentDirectory("Z:\\ПАПКА"), kNoError);
  EXPECT_EQ(platform_.CurrentDirectory(), "Z:\\ПАПКА");
  std::vector<FoundEntry> found = platform_.FindFiles("*.*", kAttrDirectory | kAttrHidden);
  std::sort(found.begin(), found.end(),
            [](const FoundEntry& a, const FoundEntry& b) { return a.name < b.name; });
  ASSERT_EQ(Names(found), (std::vector<std::string>{".", "..", ".скрытый", "Вложенная", "пусто.txt",
                                                    "файл.bin"}));
  EXPECT_EQ(found[2].attributes & kAttrHidden, kAttrHidden);
  EXPECT_EQ(found[5].size, 100'000);
  EXPECT_EQ(Names(platform_.FindFiles("*.TXT", 0)), std::vector<std::string>{"пусто.txt"});
  std::vector<std::string> mapped = Names(platform_.FindFiles("Вложенная\\*n*", 0));
  std::sort(mapped.begin(), mapped.end());
  EXPECT_EQ(mapped, (std::vector<std::string>{"co\uF03Alon.txt", "line\uF00Afeed\uF03F.txt"}));

  struct Case {
    std::string path;
    bool exists;
    std::uint32_t attributes;
    int read_code;
    std::string content;
    std::size_t block = 4096;
  };
  std::vector<Case> cases = {
      {"Вложенная\\глубоко.txt", true, 0, kNoError, "глубоко"},
      {"z:\\папка\\ВЛОЖЕННАЯ\\ГЛУБОКО.TXT", true, 0, kNoError, "глубоко"},
      {"..\\имя с пробелом и %41.txt", true, 0, kNoError, "percent"},
      {"Z:файл.bin", true, 0, kNoError, big},
      {"пусто.txt", true, 0, kNoError, ""},
      {"Вложенная", false, kAttrDirectory, kErrAccessDenied, ""},
      {"Z:\\", false, kAttrDirectory, kErrAccessDenied, ""},
      {"нет.txt", false, kInvalidAttributes, kErrFileNotFound, ""},
      {"нет\\нет.txt", false, kInvalidAttributes, kErrPathNotFound, ""},
      {".скрытый", true, kAttrHidden, kNoError, "h"},
      {"Вложенная\\co\uF03Alon.txt", true, kInvalidAttributes, kErrInvalidParameter, ""},
      {"Вложенная\\line\uF00Afeed\uF03F.txt", true, kInvalidAttributes, kErrInvalidParameter, ""},
      {"Вложенная\\pu\uF0EF\uF080\uF0AA.dat", true, 0, kNoError, "private use"},
      {"Z:\\.СКРЫТАЯ", false, kAttrDirectory | kAttrHidden, kErrAccessDenied, ""},
  };
  // Around each block size and larger than a read ahead, of bytes that differ block to block.
  for (const std::size_t block : {2048u, 16384u, 32768u}) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, block - 1, block, block + 1,
                                   std::size_t{(3 << 20) + 7}}) {
      std::string content(size, '\0');
      for (std::size_t i = 0; i < size; ++i) content[i] = static_cast<char>((i * 131) ^ (i >> 11));
      const std::string name = std::to_string(block) + "-" + std::to_string(size) + ".bin";
      MakeShared("Папка/" + name, content);
      cases.push_back({name, true, 0, kNoError, content, block});
    }
  }
  for (const Case& c : cases) {
    std::string content;
    EXPECT_EQ(platform_.FileExists(c.path), c.exists) << c.path;
    const std::uint32_t attributes = platform_.FileAttributes(c.path);
    EXPECT_EQ(attributes == kInvalidAttributes ? attributes : attributes & ~kAttrArchive,
              c.attributes)
        << c.path;
    EXPECT_EQ(ReadAll(platform_, c.path, content, c.block), c.read_code) << c.path;
    EXPECT_TRUE(content == c.content) << c.path;
  }
  EXPECT_EQ(FileSizeOf(platform_, "файл.bin"), 100'000);

  ASSERT_EQ(platform_.SetCurrentDirectory("C:"), kNoError);
  EXPECT_EQ(platform_.CurrentDirectory(), "C:\\");
  EXPECT_TRUE(platform_.FindFiles("*.*", kAttrDirectory).empty());
  ASSERT_EQ(platform_.SetCurrentDirectory("Z:"), kNoError);
  EXPECT_EQ(platform_.CurrentDirectory(), "Z:\\ПАПКА");
  EXPECT_EQ(platform_.SetCurrentDirectory("пусто.txt"), kErrPathNotFound);
  EXPECT_EQ(platform_.SetCurrentDirectory("нет"), kErrPathNotFound);
}

// The platform spares requests by taking what the share said last as the answer to the next
// call; anything else asked of the share in between ends that.
TEST_F(SmbTest, WhatTheShareSaidLastHoldsOnlyUntilItIsAskedAgain) {
  MakeShared("a.txt", "a");
  ASSERT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kNoError);
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_.OpenForReading("Z:\\a.txt", file), kNoError);
  char buffer[16];
  std::size_t done = 0;
  ASSERT_EQ(platform_.Read(file, buffer, sizeof buffer, done), kNoError);
  EXPECT_EQ(done, 1u);
  server_.files().AppendToFile(std::string(SmbServer::kGuestFolder) + "/a.txt", "b");
  server_.files().Remove(std::string(SmbServer::kGuestFolder) + "/a.txt");
  EXPECT_EQ(Names(platform_.FindFiles("Z:\\*.*", 0)), std::vector<std::string>{});
  EXPECT_EQ(platform_.Read(file, buffer, sizeof buffer, done), kNoError);
  EXPECT_EQ(done, 1u);
  platform_.Close(file);
  EXPECT_FALSE(platform_.FileExists("Z:\\a.txt"));
}

// While a command keeps listings, what the latest request showed of a folder, and a file closed
// then, serve the calls after it; any other request ends that.
TEST_F(SmbTest, DuringACommandWhatTheLatestRequestShowedHoldsOnlyUntilTheNextOne) {
  ASSERT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kNoError);
  const auto read_and_close = [this] {
    std::string content;
    ReadAll(platform_, "Z:\\D\\S\\f", content);
  };
  const struct {
    const char* shown_by;
    std::function<void()> show;
    const char* removed;
    int enter_code, open_code;
  } cases[] = {
      {"a listing of its parent", [this] { platform_.FindFiles("Z:\\D\\*.*", kAttrDirectory); },
       "D/S", kErrPathNotFound, kErrPathNotFound},
      {"its stamp",
       [this] {
         DirectoryStamp stamp;
         platform_.StampDirectory("Z:\\D\\S", stamp);
       },
       "D/S", kErrPathNotFound, kErrPathNotFound},
      {"a file in it", read_and_close, "D/S", kErrPathNotFound, kErrPathNotFound},
      {"the file itself", read_and_close, "D/S/f", kNoError, kErrFileNotFound},
  };
  platform_.KeepListings(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown_by);
    MakeShared("D/S/f", "f");
    c.show();
    server_.files().Remove(std::string(SmbServer::kGuestFolder) + "/" + c.removed);
    EXPECT_EQ(Names(platform_.FindFiles("Z:\\*.*", kAttrDirectory)), std::vector<std::string>{"D"});
    EXPECT_EQ(platform_.SetCurrentDirectory("Z:\\D\\S"), c.enter_code);
    EXPECT_EQ(Names(platform_.FindFiles("Z:\\D\\*.*", kAttrDirectory)).size(),
              c.enter_code == kNoError ? 3u : 2u);
    FileHandle file = kNoFile;
    EXPECT_EQ(platform_.OpenForReading("Z:\\D\\S\\f", file), c.open_code);
    ASSERT_EQ(platform_.SetCurrentDirectory("Z:\\"), kNoError);
  }
  platform_.KeepListings(false);
}

TEST_F(SmbTest, APasswordShareIsReadWithItsPassword) {
  server_.files().MakeFile(std::string(SmbServer::kSecretFolder) + "/Отчёт.txt", "тайна");
  ASSERT_EQ(platform_.AddConnection(kSecret, SmbServer::kPassword, "S:"), kNoError);
  std::string content;
  EXPECT_EQ(ReadAll(platform_, "S:\\Отчёт.txt", content), kNoError);
  EXPECT_EQ(content, "тайна");
}

TEST_F(SmbTest, TheListFileCanBeWrittenToAShare) {
  ASSERT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kNoError);
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_.CreateTextFile("Z:\\!ListFiles.txt", file), kNoError);
  EXPECT_EQ(platform_.Write(file, "first\r\n"), kNoError);
  platform_.Close(file);
  ASSERT_EQ(platform_.OpenForAppend("Z:\\!ListFiles.txt", file), kNoError);
  EXPECT_EQ(platform_.Write(file, "second\r\n"), kNoError);
  platform_.Close(file);
  EXPECT_EQ(server_.files().ReadFile(std::string(SmbServer::kGuestFolder) + "/!ListFiles.txt"),
            "first\r\nsecond\r\n");
  EXPECT_EQ(platform_.OpenForAppend("Z:\\нет.txt", file), kErrFileNotFound);
}

TEST_F(SmbTest, CancellingUnderAnOpenFileNeedsForceAndFailsItsReads) {
  MakeShared("a.bin", std::string(10'000, 'a'));
  ASSERT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kNoError);
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_.OpenForReading("Z:\\a.bin", file), kNoError);
  ASSERT_EQ(platform_.SetCurrentDirectory("Z:\\"), kNoError);
  EXPECT_EQ(platform_.CancelConnection("Z:", false), kErrOpenFiles);
  EXPECT_EQ(platform_.CancelConnection("Z:", true), kNoError);
  EXPECT_EQ(platform_.CurrentDirectory(), "C:\\");
  char buffer[2048];
  std::size_t done = 1;
  std::int64_t size = 0;
  EXPECT_EQ(platform_.Read(file, buffer, sizeof buffer, done), kErrUnexpectedNetError);
  EXPECT_EQ(done, 0u);
  EXPECT_EQ(platform_.SizeOfOpenFile(file, size), kErrUnexpectedNetError);
  platform_.Close(file);
  // A reconnection starts at the share's root.
  ASSERT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kNoError);
  ASSERT_EQ(platform_.SetCurrentDirectory("Z:"), kNoError);
  EXPECT_EQ(platform_.CurrentDirectory(), "Z:\\");
}

// Failing in the first large read, past the first block of a later one, at a block's start.
TEST_F(SmbTest, FaultsOfTheServerFallWhereAPlainReadMeetsThem) {
  const std::pair<std::size_t, std::int64_t> cases[] = {
      {2048, 100'000}, {16384, (1 << 20) + 100'000}, {32768, 2 * 32768}};
  std::vector<FaultyFs::Entry> files;
  for (const auto& [block, at] : cases)
    files.push_back(FaultyFs::File(std::to_string(at), std::string(3 << 20, 'f'),
                                   FaultyFs::Faults().EioFrom(at)));
  files.push_back(FaultyFs::File("shrinks", std::string(3 << 20, 's'),
                                 FaultyFs::Faults().SizeAfterFirstRead(100'000)));
  FaultyFs faulty(files);
  // Into the share, for a server started again in this mount namespace to see.
  const std::string folder = server_.files().MakeDir(std::string(SmbServer::kGuestFolder) + "/f");
  ASSERT_EQ(mount(faulty.mount_point().c_str(), folder.c_str(), nullptr, MS_BIND, nullptr), 0);
  server_.Stop();
  server_.Start();
  EXPECT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kNoError);
  for (const auto& [block, at] : cases) {
    std::string content;
    EXPECT_EQ(ReadAll(platform_, "Z:\\f\\" + std::to_string(at), content, block),
              kErrInvalidParameter);  // as a plain read of the block fails
    EXPECT_EQ(content.size(), at / block * block) << at;
  }
  // A file cut short while it is read ends where a plain reader finds its end.
  std::string content;
  EXPECT_EQ(ReadAll(platform_, "Z:\\f\\shrinks", content, 16384), kNoError);
  EXPECT_EQ(content.size(), 100'000u);
  umount2(folder.c_str(), MNT_DETACH);
}

TEST_F(SmbTest, AServerKilledDuringARead) {
  MakeShared("large.bin", std::string(4'000'000, 'L'));
  ASSERT_EQ(platform_.AddConnection(kDocs, "", "Z:"), kNoError);
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_.OpenForReading("Z:\\large.bin", file), kNoError);
  std::string buffer(32768, '\0');
  std::size_t done = 0;
  ASSERT_EQ(platform_.Read(file, buffer.data(), buffer.size(), done), kNoError);
  EXPECT_EQ(done, buffer.size());
  server_.Stop();
  std::int64_t total = 0;
  int code = kNoError;
  while ((code = platform_.Read(file, buffer.data(), buffer.size(), done)) == kNoError &&
         done > 0) {
    total += static_cast<std::int64_t>(done);
  }
  EXPECT_NE(code, kNoError);
  EXPECT_LT(total, 4'000'000 - 32768);
  platform_.Close(file);
}

// How long each request waits is measured by the walk of tarvik-check over a frozen share.
TEST_F(SmbTest, AFrozenServerLeavesADeadLetterThatCanBeConnectedAgain) {
  MakeShared("small.bin", "s");
  setenv("TARVIK_SMB_DEADLINE", "1", 1);
  SmbPlatform platform(local_);
  unsetenv("TARVIK_SMB_DEADLINE");
  ASSERT_EQ(platform.AddConnection(kDocs, "", "Z:"), kNoError);
  server_.Freeze();
  FileHandle file = kNoFile;
  EXPECT_EQ(platform.OpenForReading("Z:\\small.bin", file), kErrUnexpectedNetError);
  EXPECT_EQ(platform.ReadListing("Z:\\"), kErrUnexpectedNetError);
  server_.Thaw();
  EXPECT_EQ(platform.OpenForReading("Z:\\small.bin", file), kErrUnexpectedNetError);
  ASSERT_EQ(platform.AddConnection(kDocs, "", "Z:"), kNoError);
  std::string content;
  EXPECT_EQ(ReadAll(platform, "Z:\\small.bin", content), kNoError);
  EXPECT_EQ(content, "s");
}

}  // namespace
}  // namespace tarvik
