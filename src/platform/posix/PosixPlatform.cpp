#include "platform/posix/PosixPlatform.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "platform/ErrorCodes.h"
#include "platform/Pattern.h"
#include "platform/WindowsName.h"
#include "platform/posix/DirectoryView.h"
#include "platform/posix/ErrnoCodes.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PathAt.h"
#include "util/Path.h"

namespace tarvik {

namespace {

std::int64_t ModifiedNanoseconds(const struct stat& status) {
  return status.st_mtim.tv_sec * std::int64_t{1'000'000'000} + status.st_mtim.tv_nsec;
}

// What OpenRegularFile returns for a file that is not the one seen at the path before.
constexpr int kOtherFileFound = -1;

// Appends `name` to the POSIX path `path` in place: a copy per name would cost the square of
// the depth where names are appended one after the other.
void AppendPosix(std::string& path, const std::string& name) {
  if (path != "/") path += '/';
  path += name;
}

std::string JoinPosix(const std::string& directory, const std::string& name) {
  std::string joined = directory;
  AppendPosix(joined, name);
  return joined;
}

bool IsCaseInsensitive(const Drive& drive) {
  return (drive.entry.flags & kVolumeCaseSensitiveSearch) == 0;
}

// On a case-insensitive drive, the stored spelling of a name written in another case.
void FindStoredSpelling(const std::string& directory, std::string& name) {
  struct stat status;
  const PathAt at(JoinPosix(directory, name));
  if (fstatat(at.directory(), at.path(), &status, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT) {
    return;
  }
  const DirectoryView view(directory);
  int listing_error = 0;
  for (const ListedName& stored : view.Names(listing_error)) {
    if (EqualIgnoringCase(stored.name, name)) {
      name = stored.name;
      return;
    }
  }
}

int OpenPath(const std::string& posix_path, int flags, DirectoryAnchor* anchor) {
  const PathAt at(posix_path, anchor);
  if (at.error() != 0) {
    errno = at.error();
    return -1;
  }
  int fd;
  do {
    fd = openat(at.directory(), at.path(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Opened with O_NONBLOCK so that a FIFO put in place of the file cannot hang the program;
// blocking mode comes back once the descriptor is known to be a regular file.
int KeepRegularFile(int fd, int refusal, FileHandle& file) {
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return refusal;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file = fd;
  return kNoError;
}

}  // namespace

PosixPlatform::PosixPlatform() : drives_({}, IdentifyVolume), directories_(WindowsPath{'C', {}}) {
  FollowMountsBelow("/");
  std::error_code error;
  const std::string start = WindowsPathOf(std::filesystem::current_path(error).string());
  WindowsPath path;
  if (!error && !start.empty() && directories_.Resolve(start, path) == kNoError) {
    directories_.Change(path);
  }
  current_text_ = FormatWindowsPath(directories_.current());
}

PosixPlatform::PosixPlatform(std::vector<DriveSpec> drives, std::string current_directory)
    : drives_(std::move(drives), IdentifyVolume),
      directories_(WindowsPath{'C', {}}),
      current_text_(FormatWindowsPath(directories_.current())) {
  if (SetCurrentDirectory(current_directory) != kNoError) {
    throw std::invalid_argument("no such directory: " + current_directory);
  }
}

PosixPlatform::~PosixPlatform() { ForgetLatestLook(); }

std::uint32_t PosixPlatform::LogicalDrives() {
  ForgetLatestLook();
  drives_known_ready_ = 0;
  // A letter may stand for another mount point now.
  current_posix_.clear();
  previous_posix_.clear();
  if (!followed_mounts_.empty()) drives_.Update(ReadMountTable(followed_mounts_));
  return drives_.Mask();
}

void PosixPlatform::FollowMountsBelow(std::string directory) {
  current_posix_.clear();
  previous_posix_.clear();
  followed_mounts_ = std::move(directory);
  drives_.Update(ReadMountTable(followed_mounts_));
}

int PosixPlatform::DriveWatchDescriptor() {
  if (!mount_watch_) mount_watch_ = std::make_unique<MountWatch>();
  return mount_watch_->descriptor();
}

bool PosixPlatform::DrivesChanged() { return mount_watch_ && mount_watch_->TakeChanges(); }

Drive* PosixPlatform::DriveOfRoot(const std::string& root) {
  if (root.size() < 2 || root.size() > 3 || root[1] != ':') return nullptr;
  if (root.size() == 3 && root[2] != '\\' && root[2] != '/') return nullptr;
  return drives_.Find(UpCaseDrive(root[0]));
}

unsigned PosixPlatform::DriveType(const std::string& root) {
  const Drive* drive = DriveOfRoot(root);
  return drive != nullptr ? drive->entry.type : kDriveNoRootDir;
}

int PosixPlatform::VolumeInformation(const std::string& root, VolumeInfo& info) {
  Drive* drive = DriveOfRoot(root);
  if (drive == nullptr) return kErrInvalidDrive;
  const std::uint32_t bit = std::uint32_t{1} << (UpCaseDrive(root[0]) - 'A');
  if ((drives_known_ready_ & bit) == 0) {
    ForgetLatestLook();
    struct statvfs status;
    if (statvfs(drive->entry.mount_point.c_str(), &status) != 0) return kErrNotReady;
    if (keeping_listings_) drives_known_ready_ |= bit;
  }
  info.label = drive->entry.label;
  info.flags = drive->entry.flags;
  return kNoError;
}

std::string PosixPlatform::MountPointOf(const std::string& root) {
  const Drive* drive = DriveOfRoot(root);
  return drive != nullptr ? drive->entry.mount_point : "";
}

std::int64_t PosixPlatform::TotalCapacity(const std::string& root) {
  ForgetLatestLook();
  const Drive* drive = DriveOfRoot(root);
  struct statvfs status;
  if (drive == nullptr || statvfs(drive->entry.mount_point.c_str(), &status) != 0) return -1;
  return static_cast<std::int64_t>(status.f_blocks) * static_cast<std::int64_t>(status.f_frsize);
}

std::string PosixPlatform::VolumeKey(const std::string& root, bool& ambiguous) {
  ambiguous = false;
  const Drive* drive = DriveOfRoot(root);
  if (drive == nullptr) return "";
  const VolumeIdentity identity = IdentifyVolume(drive->source);
  // A mount of a subfolder shows paths that the whole volume's mount shows below that folder:
  // its files are another set, kept apart.
  const std::string part = drive->fs_root == "/" ? "" : "\nIN=" + drive->fs_root;
  if (!identity.uuid.empty()) return "UUID=" + identity.uuid + part;
  // A drive the table was made with is known by the label it was given.
  const auto key_of = [this](const Drive& of, const std::string& probed_label) {
    const std::string& label = of.mount_id ? probed_label : of.entry.label;
    return "TYPE=" + of.fs_type + "\nLABEL=" + label +
           "\nSIZE=" + std::to_string(TotalCapacity(std::string(1, of.entry.letter) + ":\\")) +
           "\nSOURCE=" + StableSource(of.source);
  };
  const std::string key = key_of(*drive, identity.label);
  struct stat status;
  if (stat(drive->entry.mount_point.c_str(), &status) != 0) return "";
  // Another volume mounted now that these tell from this one by nothing: neither is known.
  const std::uint32_t letters = drives_.Mask();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const Drive* other = (letters >> (letter - 'A')) & 1 ? drives_.Find(letter) : nullptr;
    struct stat other_status;
    if (other == nullptr || other == drive || other->fs_type != drive->fs_type ||
        stat(other->entry.mount_point.c_str(), &other_status) != 0 ||
        other_status.st_dev == status.st_dev) {
      continue;
    }
    const VolumeIdentity other_identity = IdentifyVolume(other->source);
    if (other_identity.uuid.empty() && key_of(*other, other_identity.label) == key) {
      ambiguous = true;
      return "";
    }
  }
  return key + part;
}

int PosixPlatform::NetworkConnection(const std::string& /*local_name*/, std::string& remote_name) {
  remote_name.clear();
  return kErrNotConnected;
}

int PosixPlatform::AddConnection(const std::string& /*remote_name*/,
                                 const std::string& /*password*/,
                                 const std::string& /*local_name*/) {
  return kErrNotSupported;
}

int PosixPlatform::CancelConnection(const std::string& /*local_name*/, bool /*force*/) {
  return kErrNotConnected;
}

int PosixPlatform::PosixPathOf(char drive_letter, std::string_view names, std::string& posix_path) {
  const Drive* drive = drives_.Find(drive_letter);
  if (drive == nullptr) return kErrPathNotFound;
  const bool case_insensitive = IsCaseInsensitive(*drive);
  if (case_insensitive) ForgetLatestLook();
  // Where names are taken as written, the names that the last path began with are mapped already.
  std::size_t at = 0;
  if (!case_insensitive) {
    const std::string root = drive_letter + drive->entry.mount_point;
    if (root != mapped_root_) {
      mapped_names_.Clear();
      mapped_root_ = root;
    }
    at = mapped_names_.Reuse(names, posix_path, [](char ch) { return ch == '\\'; });
  }
  if (at == 0) posix_path = drive->entry.mount_point;
  std::string stored;
  while (at < names.size()) {
    if (names[at] == '\\') ++at;
    const std::size_t end = std::min(names.find('\\', at), names.size());
    if (!ToPosixName(names.substr(at, end - at), stored)) {
      mapped_names_.Clear();
      return kErrInvalidName;
    }
    if (case_insensitive) FindStoredSpelling(posix_path, stored);
    AppendPosix(posix_path, stored);
    if (!case_insensitive) mapped_names_.Add(end, posix_path.size());
    at = end;
  }
  if (!case_insensitive) mapped_names_.Keep(names, posix_path);
  return kNoError;
}

int PosixPlatform::Locate(const std::string& path, Located& located) {
  WindowsPath full;
  const int code = directories_.Resolve(path, full);
  if (code != kNoError) return code;
  return Locate(std::move(full), located);
}

int PosixPlatform::Locate(WindowsPath full, Located& located) {
  located.path = std::move(full);
  located.name.clear();
  const int code = PosixPathOf(located.path.drive, located.path.ParentNames(), located.directory);
  if (code != kNoError || located.path.IsRoot()) return code;
  if (!ToPosixName(located.path.LastName(), located.name)) return kErrInvalidName;
  if (IsCaseInsensitive(*drives_.Find(located.path.drive))) {
    ForgetLatestLook();
    FindStoredSpelling(located.directory, located.name);
  }
  return kNoError;
}

int PosixPlatform::LookUp(const std::string& path, Entry& entry, EntryDetail detail) {
  ForgetLatestLook();
  const int code = Locate(path, entry.located);
  if (code != kNoError) return code;
  const Located& located = entry.located;
  if (!located.name.empty()) {
    entry.status = StatEntry(located.directory, located.name, detail, &anchor_);
    if (entry.status.kind == EntryStatus::Kind::kFile && !entry.status.dangling) {
      last_file_ = {JoinPosix(located.directory, located.name), entry.status};
    }
    if (entry.status.kind != EntryStatus::Kind::kMissing) return kNoError;
  }
  // A drive's root, or a name that is missing, perhaps because its directory is.
  const DirectoryView parent(located.directory, &anchor_);
  if (parent.error() != 0) return ErrnoToCode(parent.error(), ErrnoUse::kDirectory);
  if (located.name.empty()) {
    entry.status.kind = EntryStatus::Kind::kDirectory;
    entry.status.attributes = parent.attributes();
  }
  return kNoError;
}

int PosixPlatform::SetCurrentDirectory(const std::string& path) {
  // The lists enter the directory they show before each of their steps, and step back to the
  // one they showed before: for either, the POSIX path is known, and only whether it may still
  // be searched is looked at. Most often the text is the one CurrentDirectory gave, so not even
  // the path is resolved.
  bool current = (path.size() == 2 && path[1] == ':' && path.front() == current_text_.front()) ||
                 Spells(path, current_text_);
  bool previous = !current && Spells(path, previous_text_);
  std::string* known = current ? &current_posix_ : previous ? &previous_posix_ : nullptr;
  WindowsPath full;
  int code = kNoError;
  if (known == nullptr || known->empty()) {
    code = directories_.Resolve(path, full);
    if (code != kNoError) return code;
    if (drives_.Find(full.drive) == nullptr) return kErrInvalidDrive;
    current = full == directories_.current();
    previous = !current && full == previous_;
    known = current ? &current_posix_ : previous ? &previous_posix_ : nullptr;
  }
  if (known != nullptr && !known->empty()) {
    if (StillSearchable(*known)) {
      if (previous) ExchangeWithPrevious();
      return kNoError;
    }
    // Only the look that tells why is left.
    known->clear();
  } else {
    // "X/." can be looked at only when X is a directory that may be searched: the usual case
    // costs that one call, and only a failure needs the look that tells why.
    Located quick;
    if (Locate(std::move(full), quick) == kNoError && !quick.name.empty()) {
      std::string directory = std::move(quick.directory);
      AppendPosix(directory, quick.name);
      if (StillSearchable(directory)) {
        MakeCurrent(std::move(quick.path), std::move(directory));
        return kNoError;
      }
    }
  }
  Entry entry;
  code = LookUp(path, entry);
  if (code != kNoError) return code;
  const Located& located = entry.located;
  if (!located.name.empty()) {
    if (entry.status.kind == EntryStatus::Kind::kMissing) {
      return ErrnoToCode(entry.status.error, ErrnoUse::kFile);
    }
    if (entry.status.kind != EntryStatus::Kind::kDirectory) return kErrPathNotFound;
    const PathAt at(JoinPosix(located.directory, located.name), &anchor_);
    if (at.error() != 0) return ErrnoToCode(at.error(), ErrnoUse::kDirectory);
    if (faccessat(at.directory(), at.path(), X_OK, 0) != 0) {
      return ErrnoToCode(errno, ErrnoUse::kDirectory);
    }
  }
  MakeCurrent(located.path, located.name.empty() ? located.directory
                                                 : JoinPosix(located.directory, located.name));
  return kNoError;
}

void PosixPlatform::MakeCurrent(WindowsPath directory, std::string posix_directory) {
  previous_ = std::move(directory);
  FormatWindowsPath(previous_, previous_text_);
  previous_posix_ = std::move(posix_directory);
  ExchangeWithPrevious();
}

bool PosixPlatform::StillSearchable(std::string& directory) {
  if (latest_look_.ShowsSearchable(directory)) return true;
  ForgetLatestLook();
  struct stat status;
  directory += "/.";
  bool searchable;
  {
    const PathAt at(directory, &anchor_);
    searchable = fstatat(at.directory(), at.path(), &status, 0) == 0;
  }
  directory.resize(directory.size() - 2);
  if (searchable && keeping_listings_) latest_look_.Searchable(directory);
  return searchable;
}

void PosixPlatform::ExchangeWithPrevious() {
  directories_.Exchange(previous_);
  std::swap(current_text_, previous_text_);
  std::swap(current_posix_, previous_posix_);
  ++current_changes_;
}

std::optional<PosixPlatform::KnownDirectory> PosixPlatform::Known(std::string_view path) const {
  for (const auto& [text, posix] :
       {std::pair{&current_text_, &current_posix_}, std::pair{&previous_text_, &previous_posix_}}) {
    if (!posix->empty() && Spells(path, *text)) {
      return KnownDirectory{text->front(), text->size() == 3, posix};
    }
  }
  return std::nullopt;
}

bool PosixPlatform::Spells(std::string_view path, const std::string& text) const {
  if (path.empty() || text.empty()) return false;
  if (path.front() == '\\') {
    // On the current drive; "\\" starts a network path.
    return text.front() == current_text_.front() && path.size() + 2 == text.size() &&
           path.size() > 1 && path[1] != '\\' && text.ends_with(path);
  }
  return path == text;
}

std::string PosixPlatform::CurrentDirectory() { return current_text_; }

std::uint32_t PosixPlatform::FileAttributes(const std::string& path) {
  Entry entry;
  if (LookUp(path, entry, EntryDetail::kAttributes) != kNoError) return kInvalidAttributes;
  const EntryStatus::Kind kind = entry.status.kind;
  if (kind == EntryStatus::Kind::kMissing || kind == EntryStatus::Kind::kInvisible) {
    return kInvalidAttributes;
  }
  return entry.status.attributes;
}

bool PosixPlatform::IsDirectory(const std::string& path) {
  Entry entry;
  return LookUp(path, entry) == kNoError && entry.status.kind == EntryStatus::Kind::kDirectory;
}

std::vector<FoundEntry> PosixPlatform::FindFiles(const std::string& pattern,
                                                 std::uint32_t attributes) {
  return Find(pattern, attributes, false);
}

std::vector<FoundEntry> PosixPlatform::FindDirectories(const std::string& pattern,
                                                       std::uint32_t attributes) {
  return Find(pattern, attributes | kAttrDirectory, true);
}

std::vector<FoundEntry> PosixPlatform::Find(const std::string& pattern, std::uint32_t attributes,
                                            bool directories_only) {
  std::vector<FoundEntry> found;
  std::string_view directory_text;
  std::string_view name_pattern;
  SplitDirectoryAndName(pattern, directory_text, name_pattern);
  if (name_pattern.empty()) return found;
  // The lists list the directory they entered: its POSIX path is known.
  if (directory_text.size() > 3 && directory_text.ends_with('\\')) directory_text.remove_suffix(1);
  std::optional<KnownDirectory> known =
      Known(directory_text.empty() ? current_text_ : directory_text);
  std::string mapped;
  if (!known) {
    WindowsPath directory = directories_.current();
    if (!directory_text.empty() &&
        directories_.Resolve(std::string(directory_text), directory) != kNoError) {
      return found;
    }
    if (PosixPathOf(directory.drive, directory.text, mapped) != kNoError) return found;
    known = KnownDirectory{directory.drive, directory.IsRoot(), &mapped};
  }
  Listing fresh;
  int error = 0;
  Listing* listing = ListingOf(known->drive, *known->posix, !known->root, fresh, error);
  if (listing == nullptr) return found;

  const std::uint32_t excluded =
      (kAttrHidden | kAttrSystem | kAttrVolumeId | kAttrDirectory) & ~attributes;
  for (std::size_t index = 0; index < listing->names.size(); ++index) {
    const std::string& name = listing->names[index].name;
    const std::optional<EntryStatus::Kind> kind = listing->names[index].kind;
    // What is known without a stat decides first, so that entries left out cost none: the
    // kind the directory gives, and hidden, which a name alone makes.
    if (kind == EntryStatus::Kind::kInvisible) continue;
    if (kind == EntryStatus::Kind::kFile && directories_only) continue;
    if (kind == EntryStatus::Kind::kDirectory && (excluded & kAttrDirectory) != 0) continue;
    if ((excluded & kAttrHidden) != 0 && IsHiddenName(name)) continue;
    std::string shown = ToWindowsName(name);
    if (!MatchesPattern(name_pattern, shown)) continue;
    const EntryStatus& entry = StatusAt(*listing, index);
    // A name listed that cannot be looked at (a damaged medium) is missing from the list as a
    // failed reading misses it; one removed since the reading is simply gone.
    if (entry.kind == EntryStatus::Kind::kMissing && entry.error != 0 && entry.error != ENOENT) {
      failed_listings_.Read(*known->posix, entry.error);
    }
    if (entry.kind == EntryStatus::Kind::kMissing || entry.kind == EntryStatus::Kind::kInvisible) {
      continue;
    }
    if ((entry.attributes & excluded) != 0) continue;
    if (directories_only && entry.kind != EntryStatus::Kind::kDirectory) continue;
    found.push_back(FoundEntry{std::move(shown), entry.attributes, entry.size});
  }
  return found;
}

void PosixPlatform::KeepListings(bool keep) {
  keeping_listings_ = keep;
  drives_known_ready_ = 0;
  anchor_.Enable(keep);
  kept_listing_ = Listing{};
  ForgetLatestLook();
}

bool PosixPlatform::KeptListingHolds(const std::string& posix_directory, DirectoryStamp& stamp,
                                     bool& settled) {
  settled = keeping_listings_ && StampOnce(posix_directory, stamp);
  return settled && kept_listing_.view != nullptr &&
         kept_listing_.posix_directory == posix_directory && kept_listing_.stamp == stamp;
}

bool PosixPlatform::WaitsFor(char drive) {
  const Drive* found = drives_.Find(drive);
  const bool may_hang =
      found != nullptr && found->entry.type != kDriveFixed && found->entry.type != kDriveRamDisk;
  return waiting_ && may_hang;
}

bool PosixPlatform::RunWaiting(char drive, std::function<void()> call) {
  if (!WaitsFor(drive)) {
    call();
    return true;
  }
  if (!helper_) helper_ = std::make_unique<CallThread>();
  if (helper_->Run(std::move(call), waiting_)) return true;
  helper_.reset();
  return false;
}

bool PosixPlatform::ReadDirectory(char drive, const std::string& posix_directory,
                                  DirectoryReading& reading) {
  ForgetLatestLook();
  auto outcome = std::make_shared<DirectoryReading>();
  if (!RunWaiting(drive, [outcome, posix_directory, anchor = AnchorFor(drive)] {
        outcome->view = std::make_unique<DirectoryView>(posix_directory, anchor);
        if (outcome->view->error() == 0) outcome->names = outcome->view->Names(outcome->error);
      })) {
    return false;
  }
  reading = std::move(*outcome);
  return true;
}

PosixPlatform::Listing* PosixPlatform::ListingOf(char drive, const std::string& posix_directory,
                                                 bool with_dots, Listing& fresh, int& error) {
  error = 0;
  DirectoryStamp stamp;
  bool settled = false;
  if (KeptListingHolds(posix_directory, stamp, settled)) return &kept_listing_;
  // The stamp above was taken before this reading, so a change made during it shows later.
  DirectoryReading reading;
  const bool read = ReadDirectory(drive, posix_directory, reading);
  const bool opened = read && reading.view->error() == 0;
  error = !read ? ECANCELED : opened ? reading.error : reading.view->error();
  failed_listings_.Read(posix_directory, error);
  if (!opened) return nullptr;
  Listing listing{posix_directory, stamp, std::move(reading.view), {}, {}};
  if (with_dots) listing.names = {{".", std::nullopt}, {"..", std::nullopt}};
  for (ListedName& name : reading.names) listing.names.push_back(std::move(name));
  listing.statuses.resize(listing.names.size());
  // A listing that failed part way is never served again: the next one reads anew.
  Listing& kept = settled && error == 0 ? kept_listing_ : fresh;
  kept = std::move(listing);
  return &kept;
}

const EntryStatus& PosixPlatform::StatusAt(Listing& listing, std::size_t index) {
  std::optional<EntryStatus>& status = listing.statuses[index];
  if (!status) {
    ForgetLatestLook();
    status = listing.view->Stat(listing.names[index].name);
  }
  return *status;
}

int PosixPlatform::ReadListing(const std::string& directory) {
  WindowsPath full;
  if (directories_.Resolve(directory, full) != kNoError) return kErrPathNotFound;
  std::string posix_directory;
  const int code = PosixPathOf(full.drive, full.text, posix_directory);
  if (code != kNoError) return code;
  // The lists may hold a reading that failed although the directory reads well now.
  if (const int owed = failed_listings_.Report(posix_directory); owed != 0) {
    return ErrnoToCode(owed, ErrnoUse::kDirectory);
  }
  // A kept reading was read to its end, and nothing was added, removed or renamed since; a
  // new one is kept for the opens of the files that follow.
  Listing fresh;
  int error = 0;
  ListingOf(full.drive, posix_directory, !full.IsRoot(), fresh, error);
  return ErrnoToCode(failed_listings_.Report(posix_directory), ErrnoUse::kDirectory);
}

bool PosixPlatform::StampDirectory(const std::string& directory, DirectoryStamp& stamp) {
  // The current or previous directory's POSIX path is kept; any other is mapped, once its drive
  // is known to be one of this platform's.
  const std::optional<KnownDirectory> known = Known(directory);
  WindowsPath full;
  if (!known && directories_.Resolve(directory, full) != kNoError) return false;
  const Drive* drive = drives_.Find(known ? known->drive : full.drive);
  if (drive == nullptr || drive->entry.type == kDriveRemote) return false;
  if (known) return StampOnce(*known->posix, stamp);
  std::string posix_directory;
  return PosixPathOf(full.drive, full.text, posix_directory) == kNoError &&
         StampOnce(posix_directory, stamp);
}

bool PosixPlatform::StampOnce(const std::string& posix_directory, DirectoryStamp& stamp) {
  bool settled = false;
  if (latest_look_.ShowsStamp(posix_directory, stamp, settled)) return settled;
  ForgetLatestLook();
  settled = stamper_.Stamp(posix_directory, stamp, &anchor_);
  if (keeping_listings_) latest_look_.Stamped(posix_directory, stamp, settled);
  return settled;
}

bool PosixPlatform::FileExists(const std::string& path) {
  Entry entry;
  if ((parked_ != kNoFile || latest_look_.ShowsFailedOpen()) &&
      Locate(path, entry.located) == kNoError && !entry.located.name.empty()) {
    const std::string posix_path = JoinPosix(entry.located.directory, entry.located.name);
    // Right after an open found a regular file there, a look would find it still; after an
    // open that failed on what it found (access denied, a damaged medium), it is there too.
    if (parked_ != kNoFile && latest_look_.ShowsFile(posix_path)) return true;
    const int failure = latest_look_.FailureAt(posix_path);
    if (failure != 0 && failure != ENOENT && failure != ENOTDIR) return true;
  }
  return LookUp(path, entry) == kNoError && entry.status.kind == EntryStatus::Kind::kFile;
}

bool PosixPlatform::IsSpecialFile(const std::string& path) {
  Entry entry;
  return LookUp(path, entry) == kNoError && entry.status.kind == EntryStatus::Kind::kInvisible;
}

bool PosixPlatform::NoFileAt(const std::string& path) {
  Entry entry;
  const int code = LookUp(path, entry);
  if (code != kNoError) return code == kErrFileNotFound || code == kErrPathNotFound;
  const int error = entry.status.error;
  switch (entry.status.kind) {
    case EntryStatus::Kind::kDirectory:
      return true;
    case EntryStatus::Kind::kMissing:
      return error == 0 || error == ENOENT || error == ENOTDIR;
    default:
      return false;
  }
}

std::string PosixPlatform::RealSystemPath(const std::string& system_path) {
  const std::unique_ptr<char, decltype(&std::free)> real(realpath(system_path.c_str(), nullptr),
                                                         &std::free);
  return real != nullptr ? std::string(real.get()) : std::string();
}

int PosixPlatform::OpenRegularFile(char drive, const std::string& posix_path,
                                   const EntryStatus* expected, int refusal, FileHandle& file) {
  ForgetLatestLook();
  // An open given up closes the file it gets on the helper.
  struct Opened {
    int fd = -1;
    int error = 0;
    int flags = 0;
    struct stat status {};
    ~Opened() {
      if (fd >= 0) close(fd);
    }
  };
  auto opened = std::make_shared<Opened>();
  if (!RunWaiting(drive, [opened, posix_path, anchor = AnchorFor(drive)] {
        constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
        opened->flags = kFlags | O_NOATIME;
        opened->fd = OpenPath(posix_path, opened->flags, anchor);
        // O_NOATIME is refused for files that the user does not own.
        if (opened->fd < 0 && errno == EPERM) {
          opened->fd = OpenPath(posix_path, opened->flags = kFlags, anchor);
        }
        opened->error = errno;
        if (opened->fd >= 0 && fstat(opened->fd, &opened->status) != 0) {
          close(opened->fd);
          opened->fd = -1;
          opened->error = 0;
        }
      })) {
    return kErrOperationAborted;
  }
  if (opened->fd < 0) {
    if (opened->error == 0) return refusal;
    // Until the next look, opening the path again gives this failure again, without a call.
    if (keeping_listings_) latest_look_.Failed(posix_path, opened->error);
    return ErrnoToCode(opened->error, ErrnoUse::kFile);
  }
  const struct stat& status = opened->status;
  if (!S_ISREG(status.st_mode) || (expected != nullptr && (status.st_dev != expected->device ||
                                                           status.st_ino != expected->inode))) {
    return refusal;
  }
  // The kept listing's directory holds its file system: a file on the same device is on it.
  bool blocking_needed = true;
  bool reopens_alike = false;
  if (kept_listing_.view != nullptr && status.st_dev == kept_listing_.view->device()) {
    const FileSystemKind kind = kept_listing_.view->file_system();
    waiting_reader_.Learn(opened->fd, kind);
    blocking_needed = !IgnoresNonBlocking(kind);
    reopens_alike = ReopensAlike(kind);
  }
  unread_[opened->fd] =
      UnreadFile{blocking_needed ? opened->flags & ~O_NONBLOCK : -1,
                 static_cast<std::int64_t>(status.st_size), ModifiedNanoseconds(status)};
  file = std::exchange(opened->fd, -1);
  if (keeping_listings_ && reopens_alike) latest_look_.Opened(posix_path, file);
  return kNoError;
}

bool PosixPlatform::TakeParked(const std::string& posix_path, FileHandle& file) {
  if (!latest_look_.ShowsOpened(parked_) || !latest_look_.ShowsFile(posix_path)) return false;
  file = std::exchange(parked_, kNoFile);
  unread_[file] = parked_file_;
  return true;
}

void PosixPlatform::ForgetLatestLook() {
  latest_look_.Forget();
  if (parked_ == kNoFile) return;
  // Unread: no read of it can have been given up.
  waiting_reader_.Release(parked_);
  close(std::exchange(parked_, kNoFile));
}

void PosixPlatform::MakeBlocking(FileHandle file) {
  // Costs the hot loop one test: nothing is unread once the file read has had its first read.
  if (unread_.empty()) return;
  const auto found = unread_.find(file);
  if (found == unread_.end()) return;
  if (found->second.flags >= 0) fcntl(file, F_SETFL, found->second.flags);
  unread_.erase(found);
}

std::optional<EntryStatus> PosixPlatform::ListedFile(const Located& located) {
  if (!keeping_listings_ || kept_listing_.view == nullptr ||
      kept_listing_.posix_directory != located.directory) {
    return std::nullopt;
  }
  const std::vector<ListedName>& names = kept_listing_.names;
  // Past "." and "..", the names are in byte order.
  const auto sorted = std::find_if(names.begin(), names.end(), [](const ListedName& listed) {
    return listed.name != "." && listed.name != "..";
  });
  const auto found = std::lower_bound(
      sorted, names.end(), located.name,
      [](const ListedName& listed, const std::string& name) { return listed.name < name; });
  if (found == names.end() || found->name != located.name) return std::nullopt;
  const std::optional<EntryStatus>& status =
      kept_listing_.statuses[static_cast<std::size_t>(found - names.begin())];
  if (status) {
    if (status->kind != EntryStatus::Kind::kFile || status->dangling) return std::nullopt;
    return status;
  }
  if (found->kind != EntryStatus::Kind::kFile) return std::nullopt;
  EntryStatus listed;
  listed.kind = EntryStatus::Kind::kFile;
  listed.device = kept_listing_.view->device();
  listed.inode = found->inode;
  return listed;
}

int PosixPlatform::OpenForReading(const std::string& path, FileHandle& file) {
  file = kNoFile;
  Located located;
  if (Locate(path, located) == kNoError && !located.name.empty()) {
    const std::string posix_path = JoinPosix(located.directory, located.name);
    if (TakeParked(posix_path, file)) return kNoError;
    // A failed open is never tried again: it is the failure of that file as it stands.
    const int failure = latest_look_.FailureAt(posix_path);
    if (failure != 0) return ErrnoToCode(failure, ErrnoUse::kFile);
    // Opened without a second look when the name was just seen as a regular file, or is one
    // in the kept listing of its directory. Only another file found there now takes the whole
    // way below; an open that failed or was given up gives its own code.
    const std::optional<EntryStatus> seen = posix_path == last_file_.posix_path
                                                ? std::optional(last_file_.status)
                                                : ListedFile(located);
    if (seen) {
      const int code =
          OpenRegularFile(located.path.drive, posix_path, &*seen, kOtherFileFound, file);
      if (code != kOtherFileFound) return code;
    }
  }
  Entry entry;
  const int code = LookUp(path, entry);
  if (code != kNoError) return code;
  switch (entry.status.kind) {
    case EntryStatus::Kind::kMissing:
      return ErrnoToCode(entry.status.error, ErrnoUse::kFile);
    case EntryStatus::Kind::kInvisible:
      return kErrFileNotFound;
    case EntryStatus::Kind::kDirectory:
      return kErrAccessDenied;
    case EntryStatus::Kind::kFile:
      if (entry.status.dangling) return kErrFileNotFound;
      break;
  }
  return OpenRegularFile(entry.located.path.drive,
                         JoinPosix(entry.located.directory, entry.located.name), nullptr,
                         kErrFileNotFound, file);
}

void PosixPlatform::DropCachedPages(FileHandle file) {
  ForgetLatestLook();
  posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED);
}

int PosixPlatform::SizeOfOpenFile(FileHandle file, std::int64_t& size) {
  const auto unread = unread_.find(file);
  if (unread != unread_.end()) {
    size = unread->second.size;
    return kNoError;
  }
  ForgetLatestLook();
  struct stat status;
  if (fstat(file, &status) != 0) return ErrnoToCode(errno, ErrnoUse::kFile);
  size = status.st_size;
  return kNoError;
}

int PosixPlatform::ModifiedTimeOfOpenFile(FileHandle file, std::int64_t& nanoseconds) {
  const auto unread = unread_.find(file);
  if (unread != unread_.end()) {
    nanoseconds = unread->second.modified;
    return kNoError;
  }
  struct stat status;
  if (fstat(file, &status) != 0) return ErrnoToCode(errno, ErrnoUse::kFile);
  nanoseconds = ModifiedNanoseconds(status);
  return kNoError;
}

template <typename ReadSome>
int PosixPlatform::FillBlock(void* buffer, std::size_t size, std::size_t& done,
                             ReadSome read_some) {
  done = 0;
  auto* bytes = static_cast<char*>(buffer);
  // A block is filled as far as the file goes, so that only the end of the file gives a
  // short block, whatever the file system hands out per call.
  while (done < size) {
    const ssize_t got = read_some(bytes + done, size - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return ErrnoToCode(errno, ErrnoUse::kFile);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return kNoError;
}

template <typename ReadSome>
int PosixPlatform::ReadBlock(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                             ReadSome read_some) {
  // Right after a read that met the end of the file, the file still ends there.
  if (latest_look_.ShowsEnd(file)) {
    done = 0;
    return kNoError;
  }
  ForgetLatestLook();
  MakeBlocking(file);
  const int code = FillBlock(buffer, size, done, read_some);
  if (code == kNoError && done < size && keeping_listings_) latest_look_.Ended(file);
  return code;
}

int PosixPlatform::Read(FileHandle file, void* buffer, std::size_t size, std::size_t& done) {
  return ReadBlock(file, buffer, size, done,
                   [file](char* at, std::size_t left) { return read(file, at, left); });
}

int PosixPlatform::ReadWaiting(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                               const std::function<bool()>& waiting) {
  return ReadBlock(file, buffer, size, done, [this, file, &waiting](char* at, std::size_t left) {
    return waiting_reader_.Read(file, at, left, waiting);
  });
}

void PosixPlatform::Close(FileHandle file) {
  if (file == kNoFile) return;
  const auto unread = unread_.find(file);
  if (unread != unread_.end() && latest_look_.ShowsOpened(file)) {
    parked_ = file;
    parked_file_ = unread->second;
    unread_.erase(unread);
    return;
  }
  ForgetLatestLook();
  if (unread != unread_.end()) unread_.erase(unread);
  if (waiting_reader_.Release(file)) close(file);
}

int PosixPlatform::OpenForWriting(const std::string& path, bool append, FileHandle& file) {
  file = kNoFile;
  Entry found;
  const int code = LookUp(path, found, EntryDetail::kAttributes);
  if (code != kNoError) return code;
  const EntryStatus& entry = found.status;
  if (entry.kind == EntryStatus::Kind::kMissing) {
    if (entry.error != ENOENT || append) return ErrnoToCode(entry.error, ErrnoUse::kFile);
  } else if (entry.kind != EntryStatus::Kind::kFile || entry.dangling ||
             (entry.attributes & kAttrReadOnly) != 0) {
    // The read-only attribute protects a file also from root, as it does on Windows.
    return kErrAccessDenied;
  }
  const int flags =
      O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (append ? O_APPEND : O_CREAT | O_TRUNC);
  const int fd = OpenPath(JoinPosix(found.located.directory, found.located.name), flags, &anchor_);
  if (fd < 0) return ErrnoToCode(errno, ErrnoUse::kFile);
  return KeepRegularFile(fd, kErrAccessDenied, file);
}

int PosixPlatform::CreateTextFile(const std::string& path, FileHandle& file) {
  return OpenForWriting(path, false, file);
}

int PosixPlatform::OpenForAppend(const std::string& path, FileHandle& file) {
  return OpenForWriting(path, true, file);
}

int PosixPlatform::Write(FileHandle file, std::string_view bytes) {
  ForgetLatestLook();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(file, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      // Nothing written without an error: the medium is full.
      const int code = written == 0 ? kErrDiskFull : ErrnoToCode(errno, ErrnoUse::kWrite);
      // A full medium takes part of a line: cut it off again, so that a text file ends in whole
      // lines.
      const off_t end = done == 0 ? -1 : lseek(file, 0, SEEK_CUR);
      if (end >= static_cast<off_t>(done)) {
        const off_t start = end - static_cast<off_t>(done);
        if (ftruncate(file, start) == 0) lseek(file, start, SEEK_SET);
      }
      return code;
    }
    done += static_cast<std::size_t>(written);
  }
  return kNoError;
}

std::uint32_t PosixPlatform::TickCount() {
  return static_cast<std::uint32_t>(MonotonicNanoseconds() / 1'000'000);
}

LocalDateTime PosixPlatform::Now() {
  // The user's time formats, as setlocale(LC_TIME, "") would give them, without changing the
  // locale of the whole process.
  static const locale_t user_time = [] {
    locale_t user = newlocale(LC_TIME_MASK, "", locale_t{});
    return user != locale_t{} ? user : newlocale(LC_TIME_MASK, "C", locale_t{});
  }();
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[128];
  LocalDateTime result;
  if (strftime_l(text, sizeof text, "%x", &local, user_time) > 0) result.short_date = text;
  if (strftime_l(text, sizeof text, "%X", &local, user_time) > 0) result.long_time = text;
  result.midnight = local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0;
  return result;
}

std::string PosixPlatform::ProgramPath() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : WindowsPathOf(program.string());
}

std::string PosixPlatform::PosixPathFor(const std::string& path) {
  Located located;
  if (Locate(path, located) != kNoError) return "";
  return located.name.empty() ? located.directory : JoinPosix(located.directory, located.name);
}

std::string PosixPlatform::WindowsPathOf(const std::string& posix_path) const {
  const Drive* drive = drives_.Holding(posix_path);
  if (drive == nullptr) return "";
  WindowsPath path{drive->entry.letter, {}};
  std::string_view rest(posix_path);
  rest.remove_prefix(drive->entry.mount_point == "/" ? 0 : drive->entry.mount_point.size());
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('/'), rest.size());
    if (end > 0) path.Append(ToWindowsName(rest.substr(0, end)));
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
  }
  return FormatWindowsPath(path);
}

}  // namespace tarvik
