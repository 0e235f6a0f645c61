#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/CallThread.h"
#include "platform/FailedListings.h"
#include "platform/MappedPrefix.h"
#include "platform/Platform.h"
#include "platform/WindowsPath.h"
#include "platform/posix/DirectoryAnchor.h"
#include "platform/posix/DirectoryStamper.h"
#include "platform/posix/DirectoryView.h"
#include "platform/posix/DriveTable.h"
#include "platform/posix/LatestLook.h"
#include "platform/posix/MountWatch.h"
#include "platform/posix/WaitingReader.h"

namespace tarvik {

// Linux in the shape of drives, Windows-style paths and attributes. File handles are file
// descriptors.
class PosixPlatform : public Platform {
 public:
  // Drives from the machine's mount table (FollowMountsBelow "/"); the current directory
  // starts as the process's working directory.
  PosixPlatform();
  // A fixed drive table; `current_directory` is a full path in Windows form on one of its
  // drives. Throws std::invalid_argument when it names no directory on them.
  PosixPlatform(std::vector<DriveSpec> drives, std::string current_directory);
  ~PosixPlatform() override;
  PosixPlatform(const PosixPlatform&) = delete;
  PosixPlatform& operator=(const PosixPlatform&) = delete;

  std::uint32_t LogicalDrives() override;
  unsigned DriveType(const std::string& root) override;
  int VolumeInformation(const std::string& root, VolumeInfo& info) override;
  std::int64_t TotalCapacity(const std::string& root) override;
  std::string VolumeKey(const std::string& root, bool& ambiguous) override;
  int NetworkConnection(const std::string& local_name, std::string& remote_name) override;
  // This platform has no network of its own.
  int AddConnection(const std::string& remote_name, const std::string& password,
                    const std::string& local_name) override;
  int CancelConnection(const std::string& local_name, bool force) override;
  // Letters (bit i for 'A' + i) that network connections hold: never given to mounts.
  void HoldLetters(std::uint32_t letters) { drives_.Hold(letters); }
  // From now on the volumes mounted at or below a directory are drives besides the fixed ones,
  // read from the mount table whenever the drives are asked for.
  void FollowMountsBelow(std::string directory);
  int DriveWatchDescriptor() override;
  bool DrivesChanged() override;

  int SetCurrentDirectory(const std::string& path) override;
  std::string CurrentDirectory() override;
  // The current directory as the platform holds it, for a layer that follows it.
  const WindowsPath& CurrentPath() const { return directories_.current(); }
  // Grows with every change of the current directory: what follows it copies it only then.
  std::uint64_t CurrentChanges() const { return current_changes_; }
  std::uint32_t FileAttributes(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  std::vector<FoundEntry> FindFiles(const std::string& pattern, std::uint32_t attributes) override;
  int ReadListing(const std::string& directory) override;
  // Remote volumes are never settled: the server's clock is not this machine's.
  bool StampDirectory(const std::string& directory, DirectoryStamp& stamp) override;
  // Keeps the last directory listed, with what was learnt of its entries.
  void KeepListings(bool keep) override;
  std::vector<FoundEntry> FindDirectories(const std::string& pattern,
                                          std::uint32_t attributes) override;
  bool FileExists(const std::string& path) override;
  bool IsSpecialFile(const std::string& path) override;
  bool NoFileAt(const std::string& path) override;

  int OpenForReading(const std::string& path, FileHandle& file) override;
  void DropCachedPages(FileHandle file) override;
  int SizeOfOpenFile(FileHandle file, std::int64_t& size) override;
  int ModifiedTimeOfOpenFile(FileHandle file, std::int64_t& nanoseconds) override;
  int Read(FileHandle file, void* buffer, std::size_t size, std::size_t& done) override;
  int ReadWaiting(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                  const std::function<bool()>& waiting) override;
  void Close(FileHandle file) override;
  // Readings of directories and opens of files on drives other than fixed disks and RAM disks
  // run on a helper thread while `waiting` runs.
  void WaitWith(std::function<bool()> waiting) override { waiting_ = std::move(waiting); }
  int CreateTextFile(const std::string& path, FileHandle& file) override;
  int OpenForAppend(const std::string& path, FileHandle& file) override;
  int Write(FileHandle file, std::string_view bytes) override;

  std::uint32_t TickCount() override;
  LocalDateTime Now() override;
  std::string ProgramPath() override;
  std::string FromSystemPath(const std::string& system_path) override {
    return WindowsPathOf(system_path);
  }
  std::string ToSystemPath(const std::string& path) override { return PosixPathFor(path); }
  std::string RealSystemPath(const std::string& system_path) override;

  // The path in Windows form of an absolute POSIX path, empty when no drive holds it.
  std::string WindowsPathOf(const std::string& posix_path) const;
  // The POSIX path of a path in Windows form (relative ones resolve against the current
  // directory), empty when no drive holds it or a name cannot be mapped.
  std::string PosixPathFor(const std::string& path);
  // Where the drive of a root ("D:\") is mounted, empty when there is no such drive.
  std::string MountPointOf(const std::string& root);

 private:
  // A path resolved down to the directory that holds its last name.
  struct Located {
    WindowsPath path;
    std::string directory;  // POSIX path of the directory holding the last name
    std::string name;       // the last name on disk, empty for a drive's root
  };

  // A path's last name looked at through its full path.
  struct Entry {
    Located located;
    EntryStatus status;  // for a drive's root: a directory with the root's attributes
  };

  // The drive of a root text such as "C:\" or "C:", nullptr when there is none.
  Drive* DriveOfRoot(const std::string& root);
  // Resolves a path text; kErrPathNotFound for an unknown drive, kErrInvalidName for a
  // forbidden character.
  int Locate(const std::string& path, Located& located);
  // Locates a path resolved already.
  int Locate(WindowsPath full, Located& located);
  // Makes a directory found to be searchable current; the one current before becomes previous_.
  void MakeCurrent(WindowsPath directory, std::string posix_directory);
  // Whether the directory `directory` (a POSIX path) may be searched, as the latest look shows
  // or as a look at "directory/." finds.
  bool StillSearchable(std::string& directory);
  // Makes the previous directory current again, and the current one previous.
  void ExchangeWithPrevious();
  // Whether `path` names the directory whose text is `text` as the lists give it: that text,
  // or the same without its drive when the drive is the current one.
  bool Spells(std::string_view path, const std::string& text) const;
  // The current or the previous directory, where `path` spells it and its POSIX path is known.
  struct KnownDirectory {
    char drive;
    bool root;
    const std::string* posix;
  };
  std::optional<KnownDirectory> Known(std::string_view path) const;
  // Locates a path and looks at its last name (its read-only attribute only when `detail`
  // asks for attributes); the codes of Locate, or, for a name that is missing, the code of a
  // parent that cannot be opened.
  int LookUp(const std::string& path, Entry& entry, EntryDetail detail = EntryDetail::kKind);
  // The POSIX path of the names (a WindowsPath's text) on a drive. On a case-insensitive drive,
  // a name that does not exist as written is looked for ignoring case.
  int PosixPathOf(char drive, std::string_view names, std::string& posix_path);
  int OpenForWriting(const std::string& path, bool append, FileHandle& file);
  // FindFiles, or with `directories_only` FindDirectories, which skips files by the type the
  // directory gives for them, without a stat.
  std::vector<FoundEntry> Find(const std::string& pattern, std::uint32_t attributes,
                               bool directories_only);

  // One reading of a directory: its names ("." and ".." first where they exist) and, as they
  // are asked for, their statuses.
  struct Listing {
    std::string posix_directory;
    DirectoryStamp stamp;
    std::unique_ptr<DirectoryView> view;
    std::vector<ListedName> names;
    std::vector<std::optional<EntryStatus>> statuses;
  };
  // The kept listing of a directory when it is provably unchanged, else a new reading: kept
  // when listings are kept, the directory had settled and it was read to its end, in `fresh`
  // otherwise; nullptr when the directory cannot be opened. `error` is the errno of that, or
  // of a reading that failed part way, ECANCELED when the waiting function gave it up.
  Listing* ListingOf(char drive, const std::string& posix_directory, bool with_dots, Listing& fresh,
                     int& error);
  // The status of a regular file as the kept listing of its directory gives it, where it has
  // one: what the directory says of the name, or what a look at it found.
  std::optional<EntryStatus> ListedFile(const Located& located);
  // An open directory and its names (`error` of a listing that failed part way).
  struct DirectoryReading {
    std::unique_ptr<DirectoryView> view;
    std::vector<ListedName> names;
    int error = 0;
  };
  // Opens a directory of a drive and reads its names; false when the waiting function gave
  // that up.
  bool ReadDirectory(char drive, const std::string& posix_directory, DirectoryReading& reading);
  // Runs `call` on the helper thread when a waiting function is set and the drive may hang
  // (a disc, a removable or a network drive), here otherwise. False when the waiting function
  // gave it up: it runs on alone, and the next call gets a new helper. What `call` writes must
  // be its own.
  bool RunWaiting(char drive, std::function<void()> call);
  // Whether RunWaiting runs calls for the drive on the helper thread.
  bool WaitsFor(char drive);
  // The anchor for calls that run on this thread about the drive, nullptr for those that may
  // run on the helper thread.
  DirectoryAnchor* AnchorFor(char drive) { return WaitsFor(drive) ? nullptr : &anchor_; }
  const EntryStatus& StatusAt(Listing& listing, std::size_t index);
  // Stamps a directory while listings are kept (`settled` as StampDirectory says) and tells
  // whether the kept listing is of it and provably still holds.
  bool KeptListingHolds(const std::string& posix_directory, DirectoryStamp& stamp, bool& settled);
  // Stamps a directory, or takes the stamp that the latest look took of it.
  bool StampOnce(const std::string& posix_directory, DirectoryStamp& stamp);

  // Fills a block with reads of `read_some`, retrying EINTR.
  template <typename ReadSome>
  static int FillBlock(void* buffer, std::size_t size, std::size_t& done, ReadSome read_some);
  // A block of an open file, read with `read_some`: Read and ReadWaiting.
  template <typename ReadSome>
  int ReadBlock(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                ReadSome read_some);

  // Opens a file for reading in non-blocking mode and keeps it only if it is a regular file
  // and, when `expected` is given, that very file; kNoError, the open's code, or `refusal`.
  int OpenRegularFile(char drive, const std::string& posix_path, const EntryStatus* expected,
                      int refusal, FileHandle& file);
  // Blocking mode comes back before the first read of a file opened for reading (and the
  // file's size is no longer the one its open found).
  void MakeBlocking(FileHandle file);
  // The parked file of `posix_path`, taken up where the latest look still is its open.
  bool TakeParked(const std::string& posix_path, FileHandle& file);
  // Before any look: what the latest one showed no longer holds, and a parked file is closed.
  void ForgetLatestLook();

  // The regular file that a look at a path found last: opening that path again needs no
  // second look, only the proof that the file opened is the one seen.
  struct LastFile {
    std::string posix_path;
    EntryStatus status;
  };

  // Where the drives follow the mount table, empty while they do not.
  std::string followed_mounts_;
  DriveTable drives_;
  std::unique_ptr<MountWatch> mount_watch_;
  CurrentDirectories directories_;
  // The current directory's text as CurrentDirectory gives it, and its POSIX path, empty where
  // it is not known.
  std::string current_text_;
  std::string current_posix_;
  // The directory current before it, with its text and POSIX path: a list steps between a
  // directory and the one it showed before.
  WindowsPath previous_;
  std::string previous_text_;
  std::string previous_posix_;
  // How many times the current directory has changed.
  std::uint64_t current_changes_ = 0;
  WaitingReader waiting_reader_;
  std::function<bool()> waiting_;
  std::unique_ptr<CallThread> helper_;
  DirectoryStamper stamper_;
  // While listings are kept, the directories the latest paths were reached in.
  DirectoryAnchor anchor_;
  // The drive letter and mount point of the last path mapped by PosixPathOf on a drive whose
  // names are taken as written, and its names.
  std::string mapped_root_;
  MappedPrefix mapped_names_;
  bool keeping_listings_ = false;
  // While listings are kept, the drives (bit 0 for A:) whose volume answered once: a command
  // asks again for each directory, and only the calls that follow can tell it went away.
  std::uint32_t drives_known_ready_ = 0;
  Listing kept_listing_;
  FailedListings failed_listings_;
  LastFile last_file_;
  LatestLook latest_look_;
  // A file opened for reading and not read yet: the flags its first read sets, and its size
  // and modification time as the open found them, which are those asked for right after an
  // open.
  struct UnreadFile {
    int flags;
    std::int64_t size;
    std::int64_t modified;
  };
  std::unordered_map<FileHandle, UnreadFile> unread_;
  // A file closed unread right after the open that gave it stays open until the next look,
  // as if closed then: opened again meanwhile, it is taken up instead of opened anew. Its path
  // is the one the latest look opened.
  FileHandle parked_ = kNoFile;
  UnreadFile parked_file_{};
};

}  // namespace tarvik
