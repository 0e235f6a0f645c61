#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/FailedListings.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/WindowsPath.h"
#include "platform/smb/LatestFinding.h"
#include "platform/smb/LatestRequest.h"
#include "platform/smb/ReadAhead.h"
#include "platform/smb/RemoteName.h"
#include "platform/smb/ShareListings.h"
#include "platform/smb/SmbShare.h"

namespace tarvik {

// The POSIX platform with network connections. A letter connected to a shared directory is a
// remote drive (type 4) for the whole program: every call on it goes to the server through
// libsmbclient, in-process; every other call goes to the POSIX platform. Connections last
// until they are cancelled or the platform goes.
//
// Logging on uses the user's login name with the password, or a guest logon when the password
// is empty. The server's port is TARVIK_SMB_PORT when that is set, otherwise the usual SMB
// ports. Each request waits at most 15 s for its answer (TARVIK_SMB_DEADLINE may make that
// fewer seconds); past that the connection is dead and its letter fails every call at once,
// until it is connected again, which a dead connection does not prevent. Failures of the
// connection calls, besides those of the logon (SmbErrors.h):
// a local name that is not one letter and a colon 1200, a remote name that is not
// "\\computer\share" 87, a letter that a connection or a mounted volume holds 85, a cancel
// of a letter without a connection 2250, a cancel without force while files are open 2401.
class SmbPlatform : public Platform {
 public:
  explicit SmbPlatform(PosixPlatform& local);
  ~SmbPlatform() override;

  std::uint32_t LogicalDrives() override;
  unsigned DriveType(const std::string& root) override;
  int VolumeInformation(const std::string& root, VolumeInfo& info) override;
  std::int64_t TotalCapacity(const std::string& root) override;
  // A connected share is known by its name, whatever letter it is connected to.
  std::string VolumeKey(const std::string& root, bool& ambiguous) override;
  int NetworkConnection(const std::string& local_name, std::string& remote_name) override;
  int AddConnection(const std::string& remote_name, const std::string& password,
                    const std::string& local_name) override;
  ConnectFailure LastConnectFailure() override { return last_failure_; }
  int CancelConnection(const std::string& local_name, bool force) override;
  // Shares come and go only through the commands: the watch is the local drives'.
  int DriveWatchDescriptor() override { return local_.DriveWatchDescriptor(); }
  bool DrivesChanged() override { return local_.DrivesChanged(); }

  int SetCurrentDirectory(const std::string& path) override;
  std::string CurrentDirectory() override;
  std::uint32_t FileAttributes(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  std::vector<FoundEntry> FindFiles(const std::string& pattern, std::uint32_t attributes) override;
  std::vector<FoundEntry> FindDirectories(const std::string& pattern,
                                          std::uint32_t attributes) override;
  // Local directories only; a share's directories are not read twice, only a dead
  // connection's fail.
  int ReadListing(const std::string& directory) override;
  bool StampDirectory(const std::string& directory, DirectoryStamp& stamp) override;
  // Outside a command that keeps listings, every answer comes from the share afresh: what a
  // share said a while ago may no longer hold.
  void KeepListings(bool keep) override;
  bool FileExists(const std::string& path) override;
  // A share holds no FIFO or device the program could open.
  bool IsSpecialFile(const std::string& path) override;
  bool NoFileAt(const std::string& path) override;

  int OpenForReading(const std::string& path, FileHandle& file) override;
  void DropCachedPages(FileHandle file) override;
  int SizeOfOpenFile(FileHandle file, std::int64_t& size) override;
  // Only for local files: a share's times are not asked for.
  int ModifiedTimeOfOpenFile(FileHandle file, std::int64_t& nanoseconds) override;
  int Read(FileHandle file, void* buffer, std::size_t size, std::size_t& done) override;
  int ReadWaiting(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                  const std::function<bool()>& waiting) override;
  void WaitWith(std::function<bool()> waiting) override;
  void Close(FileHandle file) override;
  int CreateTextFile(const std::string& path, FileHandle& file) override;
  int OpenForAppend(const std::string& path, FileHandle& file) override;
  int Write(FileHandle file, std::string_view bytes) override;

  std::uint32_t TickCount() override { return local_.TickCount(); }
  LocalDateTime Now() override { return local_.Now(); }
  std::string ProgramPath() override { return local_.ProgramPath(); }
  std::string FromSystemPath(const std::string& system_path) override {
    return local_.FromSystemPath(system_path);
  }
  std::string ToSystemPath(const std::string& path) override { return local_.ToSystemPath(path); }
  std::string RealSystemPath(const std::string& system_path) override {
    return local_.RealSystemPath(system_path);
  }

 private:
  struct Connection {
    std::string remote_name;
    RemoteName remote;
    std::unique_ptr<SmbShare> share;
    ShareListings listings;
  };
  struct OpenFile {
    WindowsPath path;
    int flags;
    SmbFile* file;  // nullptr once the connection was cancelled under it
    // LatestFinding::calls() when a read of it last met the end, if one did.
    std::optional<std::uint64_t> ended_at;
    ReadAhead ahead;
    // SmbShare::PathRequestCount() right after the file was opened.
    std::uint64_t opened_at;
    // The size the share last gave, while nothing was read or written since, and
    // SmbShare::PathRequestCount() right after.
    std::optional<std::int64_t> size;
    std::uint64_t size_at;
  };

  // Bit i set for each letter 'A' + i that a connection holds.
  std::uint32_t ConnectedLetters() const;
  // The connection of a drive root ("Z:\" or "Z:"), nullptr for any other text.
  Connection* ConnectionOfRoot(const std::string& root);
  // The connection of the drive a path lies on, with the path made full; nullptr for a path
  // that is not on a connected drive. Counts the call as one that asks a share about a path.
  Connection* RemotePath(const std::string& path, WindowsPath& full);
  // RemotePath of a listing pattern's directory ("." when it names none), and its name part.
  Connection* RemotePattern(const std::string& pattern, WindowsPath& directory,
                            std::string_view& name_pattern);
  // The open file of a handle this platform gave, nullptr for one of the POSIX platform.
  OpenFile* RemoteFile(FileHandle file);
  // Whether a path of a connection is a directory or a file: the latest finding, else what the
  // latest request showed, else the share's answer, which becomes the latest finding.
  int Probe(Connection& connection, const WindowsPath& full, bool& directory);
  // What the latest request showed, while a command keeps listings and a request to the
  // connection would go out; nullptr otherwise.
  const LatestRequest* Latest(const Connection& connection) const;
  // The requests about paths, each recording what it showed as the latest request's.
  int ProbeShare(Connection& connection, const WindowsPath& full, bool& directory);
  // The entries of a directory, kept while a command keeps listings; nullptr when it cannot be
  // listed.
  LatestRequest::Entries ListShare(Connection& connection, const WindowsPath& directory);
  // What FailedListings knows a remote directory by.
  static std::string ListingKey(const WindowsPath& directory);
  int OpenRemote(Connection& connection, const WindowsPath& full, int flags, FileHandle& file);
  // Takes over the POSIX platform's current directory after it changed, and follows it from
  // then on until a remote directory is made current.
  void FollowLocalDirectory();
  // The current directories, the local one taken over first where it is followed and changed.
  CurrentDirectories& Directories();
  // Whether the parked file is `full`, opened while no path was asked about since; if so, it is
  // moved back to its start.
  bool ParkedIs(Connection& connection, const WindowsPath& full);
  // Closes the parked file, if there is one.
  void CloseParked();

  PosixPlatform& local_;
  std::uint16_t port_;
  int deadline_ms_;
  std::function<bool()> waiting_;
  std::string user_;
  std::map<char, Connection> connections_;
  ConnectFailure last_failure_ = ConnectFailure::kUnknown;
  FailedListings failed_listings_;
  std::map<FileHandle, OpenFile> files_;
  FileHandle next_handle_;
  LatestFinding latest_;
  LatestRequest latest_request_;
  // While a command keeps listings, a file opened for reading that is closed stays open until
  // the program opens or closes another: opened again while no path was asked about since its
  // opening, it is taken up again from its start, as nothing the program saw could tell that
  // from a close and a fresh open.
  std::optional<OpenFile> parked_;
  bool keeping_listings_ = false;
  // The current directory across local and remote drives; the POSIX platform keeps the same
  // for its own drives.
  CurrentDirectories directories_;
  // Whether the current directory is the POSIX platform's, and its CurrentChanges when it was
  // last taken over.
  bool following_local_ = false;
  std::optional<std::uint64_t> followed_changes_;
};

}  // namespace tarvik
