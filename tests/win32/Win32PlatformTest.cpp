#include <windows.h>
// The Platform call, not the process's.
#undef SetCurrentDirectory

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/win32/FileReader.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"

namespace tarvik {
namespace {

std::string Pattern(std::size_t size, std::size_t seed = 0) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + seed + i / 251) & 0xFF);
  return bytes;
}

// A folder of its own in the prefix's temporary folder, current for the platform.
class Win32PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"tarvik-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(GetTickCount());
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    ASSERT_EQ(platform_.SetCurrentDirectory(Narrow(folder_)), kNoError);
  }
  void TearDown() override {
    // A skipped test made no folder.
    if (folder_.empty()) return;
    const std::filesystem::path long_form = L"\\\\?\\" + folder_;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(long_form)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(long_form);
  }
  std::wstring SystemPath(const std::string& relative) {
    return L"\\\\?\\" + folder_ + L"\\" + Widen(relative);
  }
  void MakeFile(const std::string& name, const std::string& content) {
    FileHandle file = kNoFile;
    ASSERT_EQ(platform_.CreateTextFile(name, file), kNoError) << name;
    EXPECT_EQ(platform_.Write(file, content), kNoError);
    platform_.Close(file);
  }
  // The whole file read in blocks of `block` bytes, by ReadWaiting where `waiting`.
  int ReadAll(const std::string& path, std::size_t block, bool waiting, std::string& content) {
    content.clear();
    FileHandle file = kNoFile;
    int code = platform_.OpenForReading(path, file);
    std::string buffer(block, '\0');
    const std::function<bool()> keep_waiting = [] { return true; };
    for (std::size_t done = 1; code == kNoError && done > 0;) {
      code = waiting ? platform_.ReadWaiting(file, buffer.data(), block, done, keep_waiting)
                     : platform_.Read(file, buffer.data(), block, done);
      content.append(buffer, 0, done);
    }
    platform_.Close(file);
    return code;
  }

  Win32Platform platform_;
  std::wstring folder_;
};

TEST_F(Win32PlatformTest, NamesOfEveryFormAndLengthAreListedOpenedAndRead) {
  const std::string long_directory(150, 'd');
  ASSERT_TRUE(CreateDirectoryW(SystemPath(long_directory).c_str(), nullptr));
  const std::string names[] = {
      "plain.txt", "Пример файла.txt",
      long_directory + "\\" + std::string(150, 'f') + ".bin",  // beyond MAX_PATH
      "ends with a dot\xEF\x80\xAE",  // "ends with a dot." as the program shows it
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    MakeFile(name, name);
    const auto found = platform_.FindFiles(name, 0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, name.substr(name.rfind('\\') + 1));
    EXPECT_EQ(found[0].size, static_cast<std::int64_t>(name.size()));
    EXPECT_TRUE(platform_.FileExists(name));
    std::string content;
    EXPECT_EQ(ReadAll(name, 2048, false, content), kNoError);
    EXPECT_EQ(content, name);
    EXPECT_EQ(platform_.FromSystemPath(platform_.ToSystemPath(name)),
              platform_.CurrentDirectory() + "\\" + name);
  }
  EXPECT_EQ(platform_.SetCurrentDirectory(long_directory), kNoError);
  EXPECT_EQ(platform_.CurrentDirectory(), Narrow(folder_) + "\\" + long_directory);
}

TEST_F(Win32PlatformTest, AttributesAreReportedAndFilterListings) {
  struct Row {
    const char* name;
    DWORD native;
    std::uint32_t asked;
    bool listed;
    std::uint32_t shown;
  };
  const Row rows[] = {
      {"READONLY.TXT", FILE_ATTRIBUTE_READONLY, 0, true, kAttrReadOnly},
      {"HIDDEN.TXT", FILE_ATTRIBUTE_HIDDEN, 0, false, kAttrHidden},
      {"HIDDEN.TXT", FILE_ATTRIBUTE_HIDDEN, kAttrHidden, true, kAttrHidden},
      {"SYSTEM.TXT", FILE_ATTRIBUTE_SYSTEM, kAttrHidden, false, kAttrSystem},
      {"SUB", FILE_ATTRIBUTE_DIRECTORY, 0, false, kAttrDirectory},
      {"SUB", FILE_ATTRIBUTE_DIRECTORY, kAttrDirectory, true, kAttrDirectory},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.name) + " asked " + std::to_string(row.asked));
    if (row.native == FILE_ATTRIBUTE_DIRECTORY) {
      CreateDirectoryW(SystemPath(row.name).c_str(), nullptr);
    } else {
      SetFileAttributesW(SystemPath(row.name).c_str(), FILE_ATTRIBUTE_NORMAL);
      MakeFile(row.name, "x");
      ASSERT_TRUE(SetFileAttributesW(SystemPath(row.name).c_str(), row.native));
    }
    constexpr std::uint32_t kTold = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory;
    EXPECT_EQ(platform_.FileAttributes(row.name) & kTold, row.shown);
    const auto found = platform_.FindFiles(row.name, row.asked);
    ASSERT_EQ(found.size(), row.listed ? 1u : 0u);
    if (row.listed) {
      EXPECT_EQ(found[0].attributes & kTold, row.shown);
    }
  }
  FileHandle file = kNoFile;
  EXPECT_EQ(platform_.CreateTextFile("READONLY.TXT", file), kErrAccessDenied);
  platform_.Close(file);
}

TEST_F(Win32PlatformTest, EveryBlockSizeReadsEveryFileSizeExactly) {
  const std::size_t sizes[] = {0, 1, 511, 2048, 4097, 70001};
  const std::size_t blocks[] = {2048, 4096, 6144, 32768};
  // 0: through the platform, with the volume's own sector; the others: a reader told that
  // sector size, reading by ReadWaiting for every other block size.
  const std::uint32_t sectors[] = {0, 512, 2048, 4096};
  for (const std::size_t size : sizes) {
    const std::string name = "SIZE" + std::to_string(size);
    MakeFile(name, Pattern(size, size));
    for (const std::size_t block : blocks) {
      for (const std::uint32_t sector : sectors) {
        SCOPED_TRACE(name + " in blocks of " + std::to_string(block) + ", sector " +
                     std::to_string(sector));
        std::string content;
        const bool waiting = block % 4096 != 0;
        if (sector == 0) {
          EXPECT_EQ(ReadAll(name, block, waiting, content), kNoError);
        } else {
          ReadingHelpers helpers;
          FileReader reader(
              CreateFileW(SystemPath(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED | FILE_FLAG_NO_BUFFERING, nullptr),
              sector, helpers);
          std::string buffer(block, '\0');
          const std::function<bool()> keep_waiting = [] { return true; };
          int code = kNoError;
          for (std::size_t done = 1; code == kNoError && done > 0;
               content.append(buffer, 0, done)) {
            code = reader.Read(buffer.data(), block, done, waiting ? &keep_waiting : nullptr);
          }
          EXPECT_EQ(code, kNoError);
        }
        EXPECT_TRUE(content == Pattern(size, size));
      }
    }
  }
}

TEST_F(Win32PlatformTest, DrivesHaveTheirTypesAndADiscDriveItsFiles) {
  struct Row {
    const char* root;
    unsigned type;
  };
  // X: is a folder that the test's Wine prefix declares a CD-ROM drive (wine-media).
  const Row rows[] = {{"C:\\", kDriveFixed},
                      {"x:", kDriveCdrom},
                      {"Q:\\", kDriveNoRootDir},
                      {"1:\\", kDriveNoRootDir}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.root);
    EXPECT_EQ(platform_.DriveType(row.root), row.type);
    const bool exists = row.type != kDriveNoRootDir;
    const unsigned letter = static_cast<unsigned>((row.root[0] & ~0x20) - 'A');
    EXPECT_EQ(letter < 26 && ((platform_.LogicalDrives() >> letter) & 1) != 0, exists);
    VolumeInfo info;
    EXPECT_EQ(platform_.VolumeInformation(row.root, info) == kNoError, exists);
    bool ambiguous = true;
    EXPECT_EQ(platform_.VolumeKey(row.root, ambiguous).empty(), !exists);
    EXPECT_FALSE(ambiguous);
  }
  const auto found = platform_.FindFiles("X:\\*.TXT", 0);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].name, "DISC.TXT");
}

TEST_F(Win32PlatformTest, AppendWritesAtTheEndAndPathsOfTheSystemResolve) {
  MakeFile("LOG.TXT", "first");
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_.OpenForAppend("LOG.TXT", file), kNoError);
  EXPECT_EQ(platform_.Write(file, ", second"), kNoError);
  platform_.Close(file);
  std::string content;
  EXPECT_EQ(ReadAll("LOG.TXT", 2048, false, content), kNoError);
  EXPECT_EQ(content, "first, second");

  const std::string folder = Narrow(folder_);
  ASSERT_TRUE(CreateDirectoryW(SystemPath("SUB").c_str(), nullptr));
  EXPECT_EQ(platform_.RealSystemPath(folder + "\\SUB\\..\\LOG.TXT"), folder + "\\LOG.TXT");
  EXPECT_EQ(platform_.RealSystemPath(folder + "\\MISSING\\LOG.TXT"), "");
  EXPECT_TRUE(platform_.ProgramPath().ends_with("\\tarvik_win32_tests.exe"));
  const LocalDateTime now = platform_.Now();
  EXPECT_FALSE(now.short_date.empty() || now.long_time.empty());
}

// A file named like a device is read like any other; an output never takes a device's name.
TEST_F(Win32PlatformTest, FilesNamedLikeDevicesAreFiles) {
  for (const char* name : {"NUL", "con.txt", "COM1", "lpt9.log"}) {
    const HANDLE made = CreateFileW(SystemPath(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(made, INVALID_HANDLE_VALUE) << name;
    DWORD written = 0;
    WriteFile(made, "device?", 7, &written, nullptr);
    CloseHandle(made);
    std::string content;
    EXPECT_FALSE(platform_.IsSpecialFile(name)) << name;
    EXPECT_EQ(ReadAll(name, 2048, false, content), kNoError) << name;
    EXPECT_EQ(content, "device?") << name;
    FileHandle file = kNoFile;
    EXPECT_EQ(platform_.CreateTextFile(name, file), kErrAccessDenied) << name;
  }
}

TEST_F(Win32PlatformTest, ConnectionsRefuseBadNamesAndLocalLetters) {
  struct Row {
    const char* remote;
    const char* local;
    int code;
    ConnectFailure failure;
  };
  const Row rows[] = {
      {"\\\\SERVER\\SHARE", "1:", kErrBadDevice, ConnectFailure::kUnknown},
      {"SERVER", "Y:", kErrInvalidParameter, ConnectFailure::kUnknown},
      {"\\\\SERVER\\SHARE", "C:", kErrAlreadyAssigned, ConnectFailure::kLocalDrive}};
  for (const Row& row : rows) {
    EXPECT_EQ(platform_.AddConnection(row.remote, "", row.local), row.code) << row.remote;
    EXPECT_EQ(platform_.LastConnectFailure(), row.failure) << row.remote;
  }
  std::string remote;
  EXPECT_NE(platform_.NetworkConnection("C:", remote), kNoError);
  EXPECT_EQ(remote, "");
}

// The faulty medium of tarvik-faulty-mount, seen through Wine's Z: drive.
class FaultyMediumTest : public Win32PlatformTest {
 protected:
  void SetUp() override {
    const char* directory = std::getenv("TARVIK_FAULTY_DIR");
    if (directory == nullptr) GTEST_SKIP() << "no faulty medium: tarvik-faulty-mount not built";
    medium_ = directory;
    Win32PlatformTest::SetUp();
  }
  std::string medium_;
};

TEST_F(FaultyMediumTest, AFileThatFailsPartWayReadsUpToTheFailure) {
  std::string content;
  EXPECT_EQ(ReadAll(medium_ + "\\GOOD.BIN", 4096, true, content), kNoError);
  EXPECT_EQ(content.size(), 20000u);
  const int code = ReadAll(medium_ + "\\BAD.BIN", 4096, true, content);
  EXPECT_NE(code, kNoError);
  EXPECT_NE(code, kErrOperationAborted);
  EXPECT_EQ(content.size(), 8192u);
  EXPECT_EQ(platform_.ReadListing(medium_), kNoError);
}

TEST_F(FaultyMediumTest, AHangingReadIsGivenUpAtOnceAndNeverFillsTheBuffer) {
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_.OpenForReading(medium_ + "\\HANG.BIN", file), kNoError);
  // Its first MiB reads; the medium holds each read after it for 1.5 s.
  std::string buffer(32768, '#');
  std::size_t done = 0;
  int code = kNoError;
  std::chrono::steady_clock::time_point start;
  const auto waited = [&start] { return std::chrono::steady_clock::now() - start; };
  for (std::size_t read = 0; code == kNoError && read <= (1 << 20); read += done) {
    std::fill(buffer.begin(), buffer.end(), '#');
    start = std::chrono::steady_clock::now();
    code = platform_.ReadWaiting(file, buffer.data(), buffer.size(), done,
                                 [&] { return waited() < std::chrono::milliseconds(200); });
  }
  EXPECT_EQ(code, kErrOperationAborted);
  EXPECT_LT(waited(), std::chrono::seconds(1));
  // The bytes of the read given up, which come later, must not arrive here.
  std::this_thread::sleep_for(std::chrono::milliseconds(2000));
  EXPECT_EQ(buffer, std::string(buffer.size(), '#'));
  platform_.Close(file);
}

}  // namespace
}  // namespace tarvik
