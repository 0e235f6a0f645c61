#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ErrorCodes.h"

// The operating system as the program sees it: drives with letters, Windows-style paths
// ("C:\WORK\SUB", UTF-8) and file attributes. Relative and drive-relative paths resolve
// against the platform's own current directory. Operations that can fail return a
// Windows-style error code (kNoError on success, see ErrorCodes.h) unless noted otherwise;
// callers decide whether a failure ends the command (IoError) or is only tested.
namespace tarvik {

// File attribute bits, as the file lists filter them.
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrVolumeId = 0x08;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

// Drive types.
inline constexpr unsigned kDriveUnknown = 0;
inline constexpr unsigned kDriveNoRootDir = 1;
inline constexpr unsigned kDriveRemovable = 2;
inline constexpr unsigned kDriveFixed = 3;
inline constexpr unsigned kDriveRemote = 4;
inline constexpr unsigned kDriveCdrom = 5;
inline constexpr unsigned kDriveRamDisk = 6;

// Volume flags.
inline constexpr std::uint32_t kVolumeCaseSensitiveSearch = 0x1;
inline constexpr std::uint32_t kVolumeCasePreservedNames = 0x2;

struct VolumeInfo {
  std::string label;
  std::uint32_t flags = 0;
};

// Why a connection to a share failed, beyond its result code.
enum class ConnectFailure {
  kUnknown,
  kLocalDrive,      // a drive of this machine holds the letter
  kRefused,         // the computer refused the connection: nothing listens there
  kNoAnswer,        // the computer does not answer
  kUnreachable,     // no route to the computer
  kNoSuchComputer,  // its name does not resolve
  kNoSuchShare,
  kLogonDenied,  // the computer refused the user or the password
  kShareDenied,  // the share refused the user
};

// One entry found by FindFiles: its long name as stored, its attributes and its size.
struct FoundEntry {
  std::string name;
  std::uint32_t attributes = 0;
  std::int64_t size = 0;
};

// The local date and time of one clock reading, in the user's formats.
struct LocalDateTime {
  std::string short_date;
  std::string long_time;
  bool midnight = false;  // the time is exactly 00:00:00
};

// What a directory's own status says of its contents: equal stamps of a settled directory
// prove that no entry was added, removed or renamed in it between the two readings.
struct DirectoryStamp {
  std::uint64_t identity[2] = {0, 0};  // which directory (device and inode, or the like)
  std::uint64_t changed[2] = {0, 0};   // when its entries last changed, as it records that

  bool operator==(const DirectoryStamp&) const = default;
};

using FileHandle = int;
inline constexpr FileHandle kNoFile = -1;

class Platform {
 public:
  virtual ~Platform() = default;

  // Bit i set when drive letter 'A' + i exists.
  virtual std::uint32_t LogicalDrives() = 0;
  // Drive type (kDrive*) of a root such as "C:\".
  virtual unsigned DriveType(const std::string& root) = 0;
  // Label and file-system flags of the volume of a root; never shows a system prompt.
  virtual int VolumeInformation(const std::string& root, VolumeInfo& info) = 0;
  // Total capacity in bytes of the volume of a root, -1 when unknown.
  virtual std::int64_t TotalCapacity(const std::string& root) = 0;
  // What tells the volume of a root from every other across mounts and runs: its file
  // system's UUID; without one what does not change with its content (type, label, capacity
  // and source); "\\COMPUTER\SHARE" for a connected share. Empty when the volume cannot be
  // told, `ambiguous` when that is because another volume mounted now looks the same.
  virtual std::string VolumeKey(const std::string& root, bool& ambiguous) {
    (void)root;
    ambiguous = false;
    return "";
  }
  // Remote name ("\\server\share") connected to a local name such as "Z:".
  virtual int NetworkConnection(const std::string& local_name, std::string& remote_name) = 0;
  // Connects a local name ("Z:") to a remote name ("\\server\share"), logging on with the
  // password, or as a guest when it is empty. From then on the letter is a remote drive.
  virtual int AddConnection(const std::string& remote_name, const std::string& password,
                            const std::string& local_name) = 0;
  // Why the latest AddConnection that failed did, as far as the platform can tell.
  virtual ConnectFailure LastConnectFailure() { return ConnectFailure::kUnknown; }
  // Cancels the connection of a local name; with `force` also while files on it are open.
  virtual int CancelConnection(const std::string& local_name, bool force) = 0;
  // A descriptor that becomes readable when drives may have come or gone, for an event loop to
  // wait on; -1 when nothing tells. Drives are watched from the first call on.
  virtual int DriveWatchDescriptor() { return -1; }
  // True when the watch saw drives come or go since the last call; takes what made its
  // descriptor readable. LogicalDrives then gives the drives as they are now.
  virtual bool DrivesChanged() { return false; }

  // Changes the current directory; "X:" alone goes to the directory last current on X.
  virtual int SetCurrentDirectory(const std::string& path) = 0;
  // The current directory in Windows form ("C:\", "C:\WORK").
  virtual std::string CurrentDirectory() = 0;
  // Attributes of a path, kInvalidAttributes when it does not exist.
  virtual std::uint32_t FileAttributes(const std::string& path) = 0;
  // True when the path exists and is a directory; a platform may answer without the
  // attributes, which can cost more to learn than the kind.
  virtual bool IsDirectory(const std::string& path) {
    const std::uint32_t attributes = FileAttributes(path);
    return attributes != kInvalidAttributes && (attributes & kAttrDirectory) != 0;
  }
  // Entries matching a pattern ("C:\WORK\*.TXT", "*.*"); entries that are hidden, system,
  // volume labels or directories are skipped unless `attributes` asks for that bit. A
  // pattern whose directory cannot be read gives no entries.
  virtual std::vector<FoundEntry> FindFiles(const std::string& pattern,
                                            std::uint32_t attributes) = 0;
  // FindFiles(pattern, attributes | kAttrDirectory) without the entries that are not
  // directories, for listings of directories only; a platform may skip the files without
  // looking at each.
  virtual std::vector<FoundEntry> FindDirectories(const std::string& pattern,
                                                  std::uint32_t attributes) {
    std::vector<FoundEntry> found = FindFiles(pattern, attributes | kAttrDirectory);
    std::erase_if(found,
                  [](const FoundEntry& entry) { return (entry.attributes & kAttrDirectory) == 0; });
    return found;
  }
  // Reads the whole listing of a directory: kNoError, or the code of what made it fail part
  // way (a damaged medium). The listings above cannot tell that from an empty directory.
  virtual int ReadListing(const std::string& directory) {
    (void)directory;
    return kNoError;
  }
  // Stamps a directory, for a caller that keeps what it read of it. False when the directory
  // cannot be stamped or changed too recently for its times to tell a later change apart;
  // the caller then reads the directory again. By default no directory can be stamped.
  virtual bool StampDirectory(const std::string& directory, DirectoryStamp& stamp) {
    (void)directory;
    (void)stamp;
    return false;
  }
  // While on, a platform may serve the listings of one directory that follow each other from
  // one reading of it, as long as StampDirectory proves the directory unchanged; off forgets
  // what was kept. By default every listing reads the directory.
  virtual void KeepListings(bool keep) { (void)keep; }
  // True when a regular file (not a directory) exists at the path.
  virtual bool FileExists(const std::string& path) = 0;
  // True when the path names something that is neither a regular file nor a directory (a
  // FIFO, a socket, a device node, or a link to one): it exists, but opening it for reading
  // could block or never end.
  virtual bool IsSpecialFile(const std::string& path) {
    (void)path;
    return false;
  }
  // True when one look at the path finds nothing there, or a directory; false when it finds a
  // file of any kind, and when the look itself fails for another reason than an absence (a
  // damaged medium), since then something may be there.
  virtual bool NoFileAt(const std::string& path) {
    return !FileExists(path) && !IsSpecialFile(path);
  }

  // While set, calls that may wait long for a medium or a server (listings, opens, requests to
  // a share) run `waiting` on the calling thread about every 40 ms as ReadWaiting does, and
  // fail with kErrOperationAborted when it gives them up. An empty function clears it. By
  // default calls just wait.
  virtual void WaitWith(std::function<bool()> waiting) { (void)waiting; }

  // Opens an existing file for reading only; others may go on reading and writing it.
  virtual int OpenForReading(const std::string& path, FileHandle& file) = 0;
  // Drops the cached pages of an open file so that the next reads come from the medium.
  virtual void DropCachedPages(FileHandle file) = 0;
  // Size in bytes of an open file.
  virtual int SizeOfOpenFile(FileHandle file, std::int64_t& size) = 0;
  // Modification time of an open file in nanoseconds since 1970.
  virtual int ModifiedTimeOfOpenFile(FileHandle file, std::int64_t& nanoseconds) {
    (void)file;
    (void)nanoseconds;
    return kErrNotSupported;
  }
  // Reads up to `size` bytes at the file position; `done` is 0 at the end of the file.
  virtual int Read(FileHandle file, void* buffer, std::size_t size, std::size_t& done) = 0;
  // Reads like Read, for a caller that must stay responsive: a read that has to wait for the
  // medium may run on a helper thread while `waiting` runs on the calling thread about every
  // 40 ms. When `waiting` returns false, the read is given up: ReadWaiting returns
  // kErrOperationAborted at once, and nothing the read brings later reaches `buffer`; the file
  // can only be closed after that. One read at a time, in order, as with Read. By default it
  // is Read.
  virtual int ReadWaiting(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                          const std::function<bool()>& waiting) {
    (void)waiting;
    return Read(file, buffer, size, done);
  }
  // Closes a file; a failure is of no interest to any caller.
  virtual void Close(FileHandle file) = 0;
  // Creates a file, or empties an existing one, for writing.
  virtual int CreateTextFile(const std::string& path, FileHandle& file) = 0;
  // Opens an existing file for writing at its end.
  virtual int OpenForAppend(const std::string& path, FileHandle& file) = 0;
  // Writes all of `bytes` at the file position, or, when that fails, none of them.
  virtual int Write(FileHandle file, std::string_view bytes) = 0;

  // Milliseconds of a monotonic clock, wrapping at 32 bits.
  virtual std::uint32_t TickCount() = 0;
  // The current local date and time.
  virtual LocalDateTime Now() = 0;
  // Full path of the program's own file in Windows form.
  virtual std::string ProgramPath() = 0;

  // The drive path of an absolute path in the system's own form ("/media/cd/A" on Linux), as
  // other programs name files; empty when no drive holds it.
  virtual std::string FromSystemPath(const std::string& system_path) {
    (void)system_path;
    return {};
  }
  // The system's own absolute path of a drive path; empty when there is none (a share).
  virtual std::string ToSystemPath(const std::string& path) {
    (void)path;
    return {};
  }
  // An absolute system path with every link and ".." taken as the kernel takes them; empty
  // when a part of it is missing or is no directory. A system without links gives it back.
  virtual std::string RealSystemPath(const std::string& system_path) { return system_path; }
};

}  // namespace tarvik
