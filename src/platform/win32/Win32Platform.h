#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CallThread.h"
#include "platform/FailedListings.h"
#include "platform/Platform.h"
#include "platform/WindowsPath.h"
#include "platform/win32/DirectoryListing.h"
#include "platform/win32/FileTable.h"
#include "platform/win32/StoredCase.h"

namespace tarvik {

// Windows through its wide API: paths in the program are UTF-8, and become "\\?\" paths in
// UTF-16 at each call, so that no length limit applies. The current directories are the
// program's own (CurrentDirectories), one per drive; the process's own is never changed.
// Files are read unbuffered, from the medium, and opened so that other programs may go on
// reading, writing and deleting them.
class Win32Platform : public Platform {
 public:
  // The current directory starts as the process's, or C:\ where that is on no drive.
  Win32Platform();
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  std::uint32_t LogicalDrives() override;
  unsigned DriveType(const std::string& root) override;
  int VolumeInformation(const std::string& root, VolumeInfo& info) override;
  std::int64_t TotalCapacity(const std::string& root) override;
  std::string VolumeKey(const std::string& root, bool& ambiguous) override;
  int NetworkConnection(const std::string& local_name, std::string& remote_name) override;
  int AddConnection(const std::string& remote_name, const std::string& password,
                    const std::string& local_name) override;
  ConnectFailure LastConnectFailure() override { return last_failure_; }
  int CancelConnection(const std::string& local_name, bool force) override;

  int SetCurrentDirectory(const std::string& path) override;
  std::string CurrentDirectory() override;
  std::uint32_t FileAttributes(const std::string& path) override;
  std::vector<FoundEntry> FindFiles(const std::string& pattern, std::uint32_t attributes) override;
  int ReadListing(const std::string& directory) override;
  // A directory of a fixed drive, by its creation and last write times.
  bool StampDirectory(const std::string& directory, DirectoryStamp& stamp) override;
  bool FileExists(const std::string& path) override;
  bool NoFileAt(const std::string& path) override;

  // Opens and listings on drives other than fixed disks and RAM disks run on a helper thread
  // while `waiting` runs.
  void WaitWith(std::function<bool()> waiting) override { waiting_ = std::move(waiting); }

  int OpenForReading(const std::string& path, FileHandle& file) override;
  // Reads bypass the cache already: nothing to drop.
  void DropCachedPages(FileHandle /*file*/) override {}
  int SizeOfOpenFile(FileHandle file, std::int64_t& size) override;
  int ModifiedTimeOfOpenFile(FileHandle file, std::int64_t& nanoseconds) override;
  int Read(FileHandle file, void* buffer, std::size_t size, std::size_t& done) override;
  int ReadWaiting(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                  const std::function<bool()>& waiting) override;
  void Close(FileHandle file) override;
  int CreateTextFile(const std::string& path, FileHandle& file) override;
  int OpenForAppend(const std::string& path, FileHandle& file) override;
  int Write(FileHandle file, std::string_view bytes) override;

  std::uint32_t TickCount() override;
  LocalDateTime Now() override;
  std::string ProgramPath() override;
  // The drive path of a system path, made full against the process's current directory (a
  // "\\?\" path is taken as written); a share's path ("\\SERVER\SHARE\X") through the drive
  // connected to it.
  std::string FromSystemPath(const std::string& system_path) override;
  // The drive path with each name as stored: the system takes drive paths, a share's too. It
  // has the "\\?\" form where other programs would misread the short one: a name that ends
  // with a dot or a space, a path of MAX_PATH characters or more.
  std::string ToSystemPath(const std::string& path) override;
  std::string RealSystemPath(const std::string& system_path) override;

 private:
  // Resolves a path of the program and gives its system path, with its directories as stored
  // (the last name too for a directory).
  int Locate(const std::string& path, WindowsPath& full, std::wstring& system_path,
             bool directory = false);
  // The system path of a directory to list, as stored, and the key of its failed listings.
  int LocateListing(const WindowsPath& directory, std::wstring& system_path, std::string& key);
  // Takes in what a listing of a directory found (on any thread) and what it failed with.
  void TakeListing(const std::wstring& system_path, const std::string& key,
                   const DirectoryListing& listing);
  // Runs `call` on the helper thread when a waiting function is set and the drive may hang,
  // here otherwise; false when the waiting function gave it up. What `call` writes must be
  // its own.
  bool RunWaiting(char drive, std::function<void()> call);
  unsigned CachedDriveType(char drive);
  // Forgets what was learnt of the drives, for a new listing of them or a letter connected or
  // let go.
  void ForgetDrives();
  // A fixed disk or a RAM disk, whose calls do not hang.
  bool IsFixed(char drive);
  int OpenForWriting(const std::string& path, bool append, FileHandle& file);
  FileReader* ReaderOf(FileHandle file);

  CurrentDirectories directories_;
  // The helper thread of opens, listings and reads that may wait; what readers share.
  ReadingHelpers helpers_;
  FileTable files_;
  FailedListings failed_listings_;
  StoredCase stored_case_;
  std::function<bool()> waiting_;
  // Drive types by letter as last asked, kDriveUnknown where not asked since LogicalDrives.
  std::array<unsigned, 26> drive_types_{};
  // Sector sizes of fixed drives by letter as an open found them, 0 where not asked since
  // LogicalDrives.
  std::array<std::uint32_t, 26> sectors_{};
  // What volumes answered by letter, once per listing of the drives (each question costs Wine a
  // look at the device). One that did not answer is asked again: a disc may go in.
  std::array<std::optional<VolumeInfo>, 26> volumes_{};
  ConnectFailure last_failure_ = ConnectFailure::kUnknown;
};

}  // namespace tarvik
