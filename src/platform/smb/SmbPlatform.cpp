#include "platform/smb/SmbPlatform.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <string_view>

#include "platform/ErrorCodes.h"
#include "platform/posix/ErrnoCodes.h"
#include "platform/Pattern.h"
#include "util/Text.h"

namespace tarvik {

namespace {

// Handles of remote files start far above any file descriptor, so both kinds can be told
// apart by their value alone.
constexpr FileHandle kFirstRemoteHandle = 1 << 30;

// A whole number from the environment, `otherwise` when it is not set or not a number.
template <class Number>
Number Setting(const char* name, Number otherwise) {
  const char* text = std::getenv(name);
  if (text == nullptr) return otherwise;
  const std::string_view value(text);
  Number number = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
  return error == std::errc() && end == value.data() + value.size() ? number : otherwise;
}

// The longest wait for one answer of a server, in seconds.
constexpr int kDeadlineSeconds = 15;

std::string LoginName() {
  const passwd* user = getpwuid(geteuid());
  return user != nullptr ? user->pw_name : "";
}

// The upper-case letter of "X:", or of "X:\" when `root` allows it; 0 for anything else.
char DriveLetterOf(std::string_view text, bool root) {
  const bool separator = text.size() == 3 && (text[2] == '\\' || text[2] == '/');
  if (text.size() < 2 || text[1] != ':' || (text.size() > 2 && !(root && separator))) return 0;
  const char letter = text[0];
  if (letter >= 'a' && letter <= 'z') return static_cast<char>(letter - 'a' + 'A');
  return letter >= 'A' && letter <= 'Z' ? letter : 0;
}

std::uint32_t LetterBit(char letter) { return 1u << (letter - 'A'); }

// Listings this short come in one answer of the server, and cost it little more to make than
// the directory's own status.
constexpr std::size_t kShortListing = 32;

}  // namespace

SmbPlatform::SmbPlatform(PosixPlatform& local)
    : local_(local),
      port_(Setting<std::uint16_t>("TARVIK_SMB_PORT", 0)),
      deadline_ms_(
          std::clamp(Setting("TARVIK_SMB_DEADLINE", kDeadlineSeconds), 1, kDeadlineSeconds) * 1000),
      user_(LoginName()),
      next_handle_(kFirstRemoteHandle),
      directories_(WindowsPath{}) {
  // A server that goes away leaves a closed socket; writing to it must fail the call, not
  // end the program.
  std::signal(SIGPIPE, SIG_IGN);
  FollowLocalDirectory();
}

SmbPlatform::~SmbPlatform() = default;

void SmbPlatform::FollowLocalDirectory() {
  if (following_local_) return;
  following_local_ = true;
  followed_changes_.reset();
}

CurrentDirectories& SmbPlatform::Directories() {
  if (following_local_ && followed_changes_ != local_.CurrentChanges()) {
    directories_.Change(local_.CurrentPath());
    followed_changes_ = local_.CurrentChanges();
  }
  return directories_;
}

SmbPlatform::Connection* SmbPlatform::ConnectionOfRoot(const std::string& root) {
  const auto found = connections_.find(DriveLetterOf(root, true));
  return found != connections_.end() ? &found->second : nullptr;
}

SmbPlatform::Connection* SmbPlatform::RemotePath(const std::string& path, WindowsPath& full) {
  if (connections_.empty() || Directories().Resolve(path, full) != kNoError) return nullptr;
  const auto found = connections_.find(full.drive);
  if (found == connections_.end()) return nullptr;
  latest_.NextCall();
  return &found->second;
}

SmbPlatform::OpenFile* SmbPlatform::RemoteFile(FileHandle file) {
  const auto found = files_.find(file);
  return found != files_.end() ? &found->second : nullptr;
}

std::uint32_t SmbPlatform::ConnectedLetters() const {
  std::uint32_t letters = 0;
  for (const auto& [letter, connection] : connections_) letters |= LetterBit(letter);
  return letters;
}

std::uint32_t SmbPlatform::LogicalDrives() { return local_.LogicalDrives() | ConnectedLetters(); }

unsigned SmbPlatform::DriveType(const std::string& root) {
  return ConnectionOfRoot(root) != nullptr ? kDriveRemote : local_.DriveType(root);
}

int SmbPlatform::VolumeInformation(const std::string& root, VolumeInfo& info) {
  const Connection* connection = ConnectionOfRoot(root);
  if (connection == nullptr) return local_.VolumeInformation(root, info);
  // Shares find names regardless of case and keep the case they were given.
  info.label = connection->remote.share;
  info.flags = kVolumeCasePreservedNames;
  return kNoError;
}

std::int64_t SmbPlatform::TotalCapacity(const std::string& root) {
  Connection* connection = ConnectionOfRoot(root);
  return connection != nullptr ? connection->share->Capacity() : local_.TotalCapacity(root);
}

std::string SmbPlatform::VolumeKey(const std::string& root, bool& ambiguous) {
  const Connection* connection = ConnectionOfRoot(root);
  if (connection == nullptr) return local_.VolumeKey(root, ambiguous);
  ambiguous = false;
  std::string key = connection->remote_name;
  UpperCase1251(key);
  return key;
}

int SmbPlatform::NetworkConnection(const std::string& local_name, std::string& remote_name) {
  const auto found = connections_.find(DriveLetterOf(local_name, false));
  if (found == connections_.end()) return local_.NetworkConnection(local_name, remote_name);
  remote_name = found->second.remote_name;
  return kNoError;
}

int SmbPlatform::AddConnection(const std::string& remote_name, const std::string& password,
                               const std::string& local_name) {
  last_failure_ = ConnectFailure::kUnknown;
  const char letter = DriveLetterOf(local_name, false);
  if (letter == 0) return kErrBadDevice;
  RemoteName remote;
  if (!ParseRemoteName(remote_name, remote)) return kErrInvalidParameter;
  const auto held = connections_.find(letter);
  const bool dead = held != connections_.end() && held->second.share->Dead();
  if ((held != connections_.end() && !dead) || (local_.LogicalDrives() & LetterBit(letter)) != 0) {
    if (held == connections_.end()) last_failure_ = ConnectFailure::kLocalDrive;
    return kErrAlreadyAssigned;
  }
  std::unique_ptr<SmbShare> share;
  const int code =
      SmbShare::Connect(remote, user_, password, port_, deadline_ms_, share, last_failure_);
  if (code != kNoError) return code;
  // A dead connection gives its letter up to the new one, as a forced cancel would.
  if (dead) CancelConnection(local_name, true);
  share->WaitWith(waiting_);
  connections_.emplace(letter, Connection{remote_name, std::move(remote), std::move(share), {}});
  latest_.Forget();
  latest_request_.Forget();
  local_.HoldLetters(ConnectedLetters());
  // A new connection starts at its root, whatever an earlier one on the letter left.
  const WindowsPath current = Directories().current();
  directories_.Change(WindowsPath{letter, {}});
  if (current.drive != letter) {
    directories_.Change(current);
  } else {
    following_local_ = false;
  }
  return kNoError;
}

int SmbPlatform::CancelConnection(const std::string& local_name, bool force) {
  const char letter = DriveLetterOf(local_name, false);
  const auto found = connections_.find(letter);
  if (found == connections_.end()) return local_.CancelConnection(local_name, force);
  const auto open = [letter](const auto& entry) {
    return entry.second.path.drive == letter && entry.second.file != nullptr;
  };
  if (!force && std::any_of(files_.begin(), files_.end(), open)) return kErrOpenFiles;
  // The connection closes its files as it goes; their handles fail from now on.
  for (auto& [handle, file] : files_) {
    if (file.path.drive != letter) continue;
    file.file = nullptr;
    file.ahead.Drop();
  }
  // The connection closes a parked file of its own as it goes.
  if (parked_ && parked_->path.drive == letter) parked_.reset();
  connections_.erase(found);
  latest_.Forget();
  latest_request_.Forget();
  local_.HoldLetters(ConnectedLetters());
  // Paths relative to a drive that is gone would quietly reach the POSIX platform's current
  // directory; the current directory says so.
  if (Directories().current().drive == letter) FollowLocalDirectory();
  return kNoError;
}

int SmbPlatform::SetCurrentDirectory(const std::string& path) {
  WindowsPath full;
  Connection* connection = RemotePath(path, full);
  if (connection == nullptr) {
    const int code = local_.SetCurrentDirectory(path);
    if (code == kNoError) FollowLocalDirectory();
    return code;
  }
  bool directory = false;
  const int error_number = Probe(*connection, full, directory);
  if (error_number != 0) return ErrnoToCode(error_number, ErrnoUse::kDirectory);
  if (!directory) return kErrPathNotFound;
  Directories().Change(full);
  following_local_ = false;
  return kNoError;
}

std::string SmbPlatform::CurrentDirectory() {
  return following_local_ ? local_.CurrentDirectory() : FormatWindowsPath(directories_.current());
}

std::uint32_t SmbPlatform::FileAttributes(const std::string& path) {
  WindowsPath full;
  Connection* connection = RemotePath(path, full);
  if (connection == nullptr) return local_.FileAttributes(path);
  if (full.IsRoot()) {
    bool directory = false;
    return Probe(*connection, full, directory) == 0 && directory ? kAttrDirectory
                                                                 : kInvalidAttributes;
  }
  bool directory = false;
  if (const LatestFinding::Finding* latest = keeping_listings_ ? latest_.Of(full) : nullptr) {
    if (latest->all_attributes) return latest->attributes;
    directory = (latest->attributes & kAttrDirectory) != 0;
  } else if (ProbeShare(*connection, full, directory) != 0) {
    return kInvalidAttributes;
  }
  // The share says whether the name is there and what it is; only a listing of its directory
  // carries all its attribute bits. A kept listing serves as long as it agrees on the kind: a
  // change of the bits alone would not show in the directory's own status either.
  // Listings are kept only while a command keeps them; outside one none is found here.
  const WindowsPath parent = full.Parent();
  const std::string name(full.LastName());
  std::uint32_t attributes = 0;
  const FoundEntry* kept = connection->listings.Find(parent.NameList(), name);
  if (kept != nullptr && ((kept->attributes & kAttrDirectory) != 0) == directory) {
    attributes = kept->attributes;
  } else {
    const LatestRequest::Entries entries = ListShare(*connection, parent);
    const FoundEntry* listed = entries ? EntryNamed(*entries, name) : nullptr;
    if (listed == nullptr) return kInvalidAttributes;
    attributes = listed->attributes;
  }
  latest_.Found(full, attributes, true);
  return attributes;
}

void SmbPlatform::KeepListings(bool keep) {
  CloseParked();
  local_.KeepListings(keep);
  keeping_listings_ = keep;
  latest_.Forget();
  latest_request_.Forget();
  for (auto& [letter, connection] : connections_) connection.listings.Clear();
}

bool SmbPlatform::IsDirectory(const std::string& path) {
  WindowsPath full;
  Connection* connection = RemotePath(path, full);
  if (connection == nullptr) return local_.IsDirectory(path);
  bool directory = false;
  return Probe(*connection, full, directory) == 0 && directory;
}

SmbPlatform::Connection* SmbPlatform::RemotePattern(const std::string& pattern,
                                                    WindowsPath& directory,
                                                    std::string_view& name_pattern) {
  std::string_view directory_text;
  SplitDirectoryAndName(pattern, directory_text, name_pattern);
  return RemotePath(directory_text.empty() ? "." : std::string(directory_text), directory);
}

std::vector<FoundEntry> SmbPlatform::FindFiles(const std::string& pattern,
                                               std::uint32_t attributes) {
  WindowsPath directory;
  std::string_view name_pattern;
  Connection* connection = RemotePattern(pattern, directory, name_pattern);
  if (connection == nullptr) return local_.FindFiles(pattern, attributes);
  std::vector<FoundEntry> found;
  if (name_pattern.empty()) return found;
  // The lists of a directory read it one after the other: the first reading serves them all.
  const LatestRequest* latest = Latest(*connection);
  const LatestRequest::Shown* shown = latest != nullptr ? latest->Of(directory) : nullptr;
  const LatestRequest::Entries listed =
      shown != nullptr && shown->entries ? shown->entries : ListShare(*connection, directory);
  if (!listed) return found;
  const std::uint32_t excluded =
      (kAttrHidden | kAttrSystem | kAttrVolumeId | kAttrDirectory) & ~attributes;
  const auto take = [&](const FoundEntry& entry) {
    if (MatchesPattern(name_pattern, entry.name) && (entry.attributes & excluded) == 0) {
      found.push_back(entry);
    }
  };
  // Servers report "." and ".." also in a share's root; a drive's root has none.
  if (!directory.IsRoot()) {
    take(FoundEntry{".", kAttrDirectory, 0});
    take(FoundEntry{"..", kAttrDirectory, 0});
  }
  for (const FoundEntry& entry : *listed) take(entry);
  return found;
}

std::vector<FoundEntry> SmbPlatform::FindDirectories(const std::string& pattern,
                                                     std::uint32_t attributes) {
  WindowsPath directory;
  std::string_view name_pattern;
  // A local directory's files are skipped by their kind, without a look at each.
  if (RemotePattern(pattern, directory, name_pattern) == nullptr) {
    return local_.FindDirectories(pattern, attributes);
  }
  return Platform::FindDirectories(pattern, attributes);
}

int SmbPlatform::ReadListing(const std::string& directory) {
  WindowsPath full;
  const Connection* connection = RemotePath(directory, full);
  if (connection == nullptr) return local_.ReadListing(directory);
  // The lists may hold a listing that failed.
  if (const int owed = failed_listings_.Report(ListingKey(full)); owed != kNoError) return owed;
  // A dead connection lists nothing, which must not pass for an empty directory.
  return connection->share->Dead() ? kErrUnexpectedNetError : kNoError;
}

bool SmbPlatform::StampDirectory(const std::string& directory, DirectoryStamp& stamp) {
  WindowsPath full;
  Connection* connection = RemotePath(directory, full);
  if (connection == nullptr) return local_.StampDirectory(directory, stamp);
  // A stamp costs three requests, and pays only when it spares a reading. A directory whose
  // latest listing was short is read again in four, whatever it holds; stamped, it costs
  // three every time and the four again whenever it changed or had not settled. One not read
  // yet in this command is read now in any case, and a walk comes back to few of them.
  const std::optional<std::size_t> entries = connection->listings.EntryCount(full.NameList());
  if (!entries || *entries < kShortListing) return false;
  const LatestRequest* latest = Latest(*connection);
  const LatestRequest::Shown* shown = latest != nullptr ? latest->Of(full) : nullptr;
  if (shown != nullptr && shown->stamp) {
    stamp = shown->stamp->stamp;
    return shown->stamp->settled;
  }
  bool settled = false;
  if (connection->share->Stamp(full.NameList(), stamp, settled) != 0) {
    latest_request_.Forget();
    return false;
  }
  // The stamp the kept listing was read under shows its entries as they stand.
  LatestRequest::Entries unchanged =
      settled ? connection->listings.Unchanged(full.NameList(), stamp) : nullptr;
  latest_request_.Show({full, true, std::move(unchanged), LatestRequest::Stamp{stamp, settled}});
  return settled;
}

bool SmbPlatform::IsSpecialFile(const std::string& path) {
  WindowsPath full;
  return RemotePath(path, full) == nullptr && local_.IsSpecialFile(path);
}

bool SmbPlatform::NoFileAt(const std::string& path) {
  WindowsPath full;
  if (RemotePath(path, full) == nullptr) return local_.NoFileAt(path);
  return Platform::NoFileAt(path);
}

bool SmbPlatform::FileExists(const std::string& path) {
  WindowsPath full;
  Connection* connection = RemotePath(path, full);
  if (connection == nullptr) return local_.FileExists(path);
  if (full.IsRoot()) return false;
  bool directory = true;
  const int error_number = Probe(*connection, full, directory);
  // Only the share's word that nothing is there makes a file missing. A name it refuses (one
  // that Windows forbids) or a request that got no answer leaves the file to its opening,
  // which reports what failed.
  if (error_number != 0) return error_number != ENOENT && error_number != ENOTDIR;
  return !directory;
}

int SmbPlatform::Probe(Connection& connection, const WindowsPath& full, bool& directory) {
  if (const LatestFinding::Finding* latest = keeping_listings_ ? latest_.Of(full) : nullptr) {
    directory = (latest->attributes & kAttrDirectory) != 0;
    return 0;
  }
  const LatestRequest* latest = Latest(connection);
  directory = latest != nullptr && latest->ShowsDirectory(full);
  const int error_number = directory ? 0 : ProbeShare(connection, full, directory);
  if (error_number == 0) latest_.Found(full, directory ? kAttrDirectory : 0, false);
  return error_number;
}

const LatestRequest* SmbPlatform::Latest(const Connection& connection) const {
  return keeping_listings_ && connection.share->CanAsk() ? &latest_request_ : nullptr;
}

int SmbPlatform::ProbeShare(Connection& connection, const WindowsPath& full, bool& directory) {
  const int error_number = connection.share->Probe(full.NameList(), directory);
  if (error_number == 0) {
    latest_request_.Show({full, directory, {}, {}});
  } else {
    latest_request_.Forget();
  }
  return error_number;
}

std::string SmbPlatform::ListingKey(const WindowsPath& directory) {
  return std::string(1, directory.drive) + ":\\" + directory.text;
}

LatestRequest::Entries SmbPlatform::ListShare(Connection& connection,
                                              const WindowsPath& directory) {
  // A listing read right after a settled stamp of its directory is kept with that stamp.
  const LatestRequest::Shown* stamped = latest_request_.Of(directory);
  std::optional<DirectoryStamp> stamp;
  if (stamped != nullptr && stamped->stamp && stamped->stamp->settled) {
    stamp = stamped->stamp->stamp;
  }
  std::vector<FoundEntry> entries;
  const int code = connection.share->List(directory.NameList(), entries);
  failed_listings_.Read(ListingKey(directory), code);
  if (code != kNoError) {
    latest_request_.Forget();
    return nullptr;
  }
  auto listed = std::make_shared<const std::vector<FoundEntry>>(std::move(entries));
  latest_request_.Show({directory, true, listed, {}});
  if (keeping_listings_) connection.listings.Keep(directory.NameList(), listed, stamp);
  return listed;
}

int SmbPlatform::OpenRemote(Connection& connection, const WindowsPath& full, int flags,
                            FileHandle& file) {
  file = kNoFile;
  if (full.IsRoot()) return kErrAccessDenied;
  std::optional<OpenFile> opened;
  if (flags == O_RDONLY && ParkedIs(connection, full)) {
    opened.emplace(std::move(*parked_));
    parked_.reset();
    opened->ended_at.reset();
    // The size the file was measured at still stands when nothing was asked since.
    if (opened->size && opened->size_at == SmbShare::PathRequestCount()) {
      opened->ahead.KnowSize(*opened->size);
    }
  }
  CloseParked();
  if (!opened) {
    SmbFile* remote = nullptr;
    const int error_number = connection.share->Open(full.NameList(), flags, remote);
    if (error_number == 0 || error_number == EISDIR) {
      latest_request_.Show({full, error_number == EISDIR, {}, {}});
    } else {
      latest_request_.Forget();
    }
    // Opened as a file, a directory is refused; the program may only open files.
    if (error_number == EISDIR) return kErrAccessDenied;
    if (error_number == ENOENT && !full.ParentNames().empty()) {
      // The server names a missing file and a missing directory on the way alike.
      const WindowsPath parent = full.Parent();
      bool directory = false;
      const int parent_missing = ProbeShare(connection, parent, directory);
      if (parent_missing != 0) return ErrnoToCode(parent_missing, ErrnoUse::kDirectory);
    }
    if (error_number != 0) return ErrnoToCode(error_number, ErrnoUse::kFile);
    opened = OpenFile{full, flags, remote, {}, {}, SmbShare::PathRequestCount(), {}, 0};
  }
  // Opened, it is a file; a test of its existence right after adds nothing.
  if (flags == O_RDONLY) latest_.Found(full, 0, false);
  file = next_handle_++;
  files_.emplace(file, std::move(*opened));
  return kNoError;
}

bool SmbPlatform::ParkedIs(Connection& connection, const WindowsPath& full) {
  return parked_ && parked_->path.drive == full.drive &&
         SameRemoteNames(parked_->path.NameList(), full.NameList()) &&
         parked_->opened_at == SmbShare::PathRequestCount() &&
         connection.share->Rewind(parked_->file) == 0;
}

int SmbPlatform::OpenForReading(const std::string& path, FileHandle& file) {
  WindowsPath full;
  Connection* connection = RemotePath(path, full);
  if (connection == nullptr) return local_.OpenForReading(path, file);
  return OpenRemote(*connection, full, O_RDONLY, file);
}

int SmbPlatform::CreateTextFile(const std::string& path, FileHandle& file) {
  WindowsPath full;
  Connection* connection = RemotePath(path, full);
  if (connection == nullptr) return local_.CreateTextFile(path, file);
  return OpenRemote(*connection, full, O_WRONLY | O_CREAT | O_TRUNC, file);
}

int SmbPlatform::OpenForAppend(const std::string& path, FileHandle& file) {
  WindowsPath full;
  Connection* connection = RemotePath(path, full);
  if (connection == nullptr) return local_.OpenForAppend(path, file);
  return OpenRemote(*connection, full, O_WRONLY | O_APPEND, file);
}

void SmbPlatform::DropCachedPages(FileHandle file) {
  // libsmbclient keeps no cache of file data: remote reads always reach the server.
  if (RemoteFile(file) == nullptr) local_.DropCachedPages(file);
}

int SmbPlatform::ModifiedTimeOfOpenFile(FileHandle file, std::int64_t& nanoseconds) {
  return RemoteFile(file) == nullptr ? local_.ModifiedTimeOfOpenFile(file, nanoseconds)
                                     : kErrNotSupported;
}

int SmbPlatform::SizeOfOpenFile(FileHandle file, std::int64_t& size) {
  OpenFile* remote = RemoteFile(file);
  if (remote == nullptr) return local_.SizeOfOpenFile(file, size);
  if (remote->file == nullptr) return kErrUnexpectedNetError;
  // Nothing the program saw since the share gave the size could tell a change of it.
  if (keeping_listings_ && remote->size && remote->size_at == SmbShare::PathRequestCount()) {
    size = *remote->size;
    return kNoError;
  }
  const int error_number = connections_.at(remote->path.drive).share->SizeOf(remote->file, size);
  if (error_number == 0) {
    remote->size = size;
    remote->size_at = SmbShare::PathRequestCount();
    remote->ahead.KnowSize(size);
  }
  return ErrnoToCode(error_number, ErrnoUse::kFile);
}

void SmbPlatform::WaitWith(std::function<bool()> waiting) {
  for (auto& [letter, connection] : connections_) connection.share->WaitWith(waiting);
  local_.WaitWith(waiting);
  waiting_ = std::move(waiting);
}

int SmbPlatform::Read(FileHandle file, void* buffer, std::size_t size, std::size_t& done) {
  if (RemoteFile(file) == nullptr) return local_.Read(file, buffer, size, done);
  return ReadWaiting(file, buffer, size, done, waiting_);
}

int SmbPlatform::ReadWaiting(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                             const std::function<bool()>& waiting) {
  OpenFile* remote = RemoteFile(file);
  if (remote == nullptr) return local_.ReadWaiting(file, buffer, size, done, waiting);
  done = 0;
  if (remote->file == nullptr) return kErrUnexpectedNetError;
  // A read that met the end of the file is the latest word on where it ends, as long as
  // nothing else was asked of a share since (LatestFinding).
  if (remote->ended_at == latest_.calls()) return kNoError;
  remote->size.reset();
  const int error_number =
      remote->ahead.Read(*connections_.at(remote->path.drive).share, remote->file,
                         static_cast<char*>(buffer), size, done, waiting);
  if (error_number == 0 && done < size) remote->ended_at = latest_.calls();
  return ErrnoToCode(error_number, ErrnoUse::kFile);
}

int SmbPlatform::Write(FileHandle file, std::string_view bytes) {
  OpenFile* remote = RemoteFile(file);
  if (remote == nullptr) return local_.Write(file, bytes);
  if (remote->file == nullptr) return kErrUnexpectedNetError;
  remote->size.reset();
  const int error_number = connections_.at(remote->path.drive).share->Write(remote->file, bytes);
  return ErrnoToCode(error_number, ErrnoUse::kWrite);
}

void SmbPlatform::Close(FileHandle file) {
  const auto found = files_.find(file);
  if (found == files_.end()) {
    local_.Close(file);
    return;
  }
  CloseParked();
  OpenFile& closed = found->second;
  if (closed.file != nullptr) {
    SmbShare& share = *connections_.at(closed.path.drive).share;
    if (keeping_listings_ && closed.flags == O_RDONLY && share.CanAsk()) {
      closed.ahead.Drop();
      parked_ = std::move(closed);
    } else {
      share.Close(closed.file);
    }
  }
  files_.erase(found);
}

void SmbPlatform::CloseParked() {
  if (!parked_) return;
  connections_.at(parked_->path.drive).share->Close(parked_->file);
  parked_.reset();
}

}  // namespace tarvik
