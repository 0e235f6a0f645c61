#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <winnetwk.h>
// The Platform call of this name, not the process's own.
#undef SetCurrentDirectory

#include <algorithm>

#include "platform/ErrorCodes.h"
#include "platform/Pattern.h"
#include "platform/win32/ConnectCodes.h"
#include "platform/win32/DirectoryListing.h"
#include "platform/win32/NoCriticalErrorBox.h"
#include "platform/win32/SystemPath.h"
#include "platform/win32/Volumes.h"
#include "platform/win32/Wide.h"
#include "util/Path.h"
#include "util/Text.h"

namespace tarvik {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// FILETIME counts 100 ns from 1601; the program counts nanoseconds from 1970.
constexpr std::int64_t kFileTimeOf1970 = 116444736000000000;

int LastError() { return static_cast<int>(GetLastError()); }

// The attributes of one path, INVALID_FILE_ATTRIBUTES with the error as the last one.
DWORD AttributesOf(const std::wstring& system_path) {
  const NoCriticalErrorBox no_box;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(system_path.c_str(), GetFileExInfoStandard, &data)) {
    return INVALID_FILE_ATTRIBUTES;
  }
  return data.dwFileAttributes;
}

std::uint32_t LetterBit(char drive) { return std::uint32_t{1} << (drive - 'A'); }

// The drive letter of a local name "X:", 0 for another text.
char DriveOfLocalName(std::string_view local_name) {
  return local_name.size() == 2 ? DriveOfRoot(local_name) : 0;
}

// "\\COMPUTER\SHARE" with both names, optionally followed by directories.
bool IsRemoteName(std::string_view remote) {
  if (remote.size() < 5 || remote[0] != '\\' || remote[1] != '\\') return false;
  const std::size_t share = remote.find('\\', 2);
  return share != std::string_view::npos && share > 2 && share + 1 < remote.size() &&
         remote[share + 1] != '\\';
}

// A full path as a long system path: "\\?\C:\X", "\\?\UNC\SERVER\SHARE\X".
std::wstring WithLongPrefix(const std::wstring& full) {
  if (full.starts_with(L"\\\\?\\")) return full;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring FullPathOf(const std::string& system_path) {
  const std::wstring wide = Widen(system_path);
  std::wstring full(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return {};
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
}

// The sector size that unbuffered reads of a file must keep to: the larger of the volume's
// logical and physical sectors; 0 when it cannot be told.
std::uint32_t SectorOf(HANDLE file, char drive) {
  DWORD sectors_per_cluster = 0;
  DWORD sector = 0;
  DWORD free_clusters = 0;
  DWORD clusters = 0;
  if (!GetDiskFreeSpaceW(RootOf(drive).c_str(), &sectors_per_cluster, &sector, &free_clusters,
                         &clusters)) {
    sector = 0;
  }
  FILE_STORAGE_INFO storage{};
  if (GetFileInformationByHandleEx(file, FileStorageInfo, &storage, sizeof storage)) {
    sector = std::max<DWORD>(
        {sector, storage.LogicalBytesPerSector, storage.PhysicalBytesPerSectorForAtomicity});
  }
  // The reader's buffer is aligned to pages: larger or odd sizes are not sectors it can serve.
  const bool power_of_two = sector != 0 && (sector & (sector - 1)) == 0;
  return power_of_two && sector <= 65536 ? sector : 0;
}

// An open of a file for reading, run where it may wait, owning what it finds.
struct Opened {
  HANDLE handle = INVALID_HANDLE_VALUE;
  // The drive's sector size where known before the open, 0 where the open is to ask for it.
  std::uint32_t sector = 0;
  int error = kNoError;
  ~Opened() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }

  void Open(const std::wstring& path, char drive) {
    constexpr DWORD kFlags = FILE_FLAG_OVERLAPPED | FILE_FLAG_SEQUENTIAL_SCAN;
    handle = CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                         kFlags | FILE_FLAG_NO_BUFFERING, nullptr);
    // Some file systems (the shares of some servers) refuse unbuffered opens: the file is read
    // through the cache there, as nothing else could read it. (Wine takes the flag and reads
    // through Linux's cache all the same.)
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER) {
      handle = CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, kFlags,
                           nullptr);
      sector = 1;
    } else if (handle != INVALID_HANDLE_VALUE) {
      if (sector == 0) sector = SectorOf(handle, drive);
      if (sector == 0) {
        // Without its sector size an unbuffered handle cannot be read safely.
        CloseHandle(handle);
        handle = CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, kFlags,
                             nullptr);
        sector = 1;
      }
    }
    if (handle == INVALID_HANDLE_VALUE) {
      error = LastError();
    } else if (GetFileType(handle) != FILE_TYPE_DISK) {
      error = kErrFileNotFound;
    }
  }
};

}  // namespace

Win32Platform::Win32Platform() : directories_(WindowsPath{'C', {}}) {
  std::wstring current(MAX_PATH, L'\0');
  DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data());
  if (length >= current.size()) {
    current.resize(length);
    length = GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data());
  }
  current.resize(length < current.size() ? length : 0);
  WindowsPath start;
  if (ProgramPathOf(current, start)) directories_.Change(start);
}

Win32Platform::~Win32Platform() = default;

std::uint32_t Win32Platform::LogicalDrives() {
  ForgetDrives();
  return GetLogicalDrives();
}

void Win32Platform::ForgetDrives() {
  drive_types_.fill(kDriveUnknown);
  sectors_.fill(0);
  volumes_.fill(std::nullopt);
  stored_case_.Clear();
}

unsigned Win32Platform::DriveType(const std::string& root) {
  const char drive = DriveOfRoot(root);
  if (drive == 0) return kDriveNoRootDir;
  return drive_types_[static_cast<std::size_t>(drive - 'A')] = GetDriveTypeW(RootOf(drive).c_str());
}

unsigned Win32Platform::CachedDriveType(char drive) {
  unsigned& type = drive_types_[static_cast<std::size_t>(drive - 'A')];
  if (type == kDriveUnknown) type = GetDriveTypeW(RootOf(drive).c_str());
  return type;
}

int Win32Platform::VolumeInformation(const std::string& root, VolumeInfo& info) {
  const char drive = DriveOfRoot(root);
  if (drive == 0) return kErrInvalidDrive;
  std::optional<VolumeInfo>& known = volumes_[static_cast<std::size_t>(drive - 'A')];
  if (known) {
    info = *known;
    return kNoError;
  }
  if ((GetLogicalDrives() & LetterBit(drive)) == 0) return kErrInvalidDrive;
  const int code = VolumeInformationOf(drive, info);
  if (code == kNoError) known = info;
  return code;
}

std::int64_t Win32Platform::TotalCapacity(const std::string& root) {
  const char drive = DriveOfRoot(root);
  return drive == 0 ? -1 : CapacityOf(drive);
}

std::string Win32Platform::VolumeKey(const std::string& root, bool& ambiguous) {
  ambiguous = false;
  const char drive = DriveOfRoot(root);
  if (drive == 0) return "";
  const std::string key = VolumeKeyOf(drive);
  if (key.empty() || key.find("\nGUID=") != std::string::npos || !key.starts_with("SERIAL=")) {
    return key;
  }
  // Known only by what its file system says: another volume mounted now that says the same is
  // told from it by nothing.
  const std::uint32_t letters = GetLogicalDrives();
  const unsigned type = CachedDriveType(drive);
  for (char other = 'A'; other <= 'Z'; ++other) {
    if (other == drive || (letters & LetterBit(other)) == 0 || CachedDriveType(other) != type) {
      continue;
    }
    if (VolumeKeyOf(other) == key) {
      ambiguous = true;
      return "";
    }
  }
  return key;
}

int Win32Platform::NetworkConnection(const std::string& local_name, std::string& remote_name) {
  remote_name.clear();
  const std::wstring local = Widen(local_name);
  std::wstring remote(MAX_PATH, L'\0');
  DWORD length = static_cast<DWORD>(remote.size());
  DWORD result = WNetGetConnectionW(local.c_str(), remote.data(), &length);
  if (result == ERROR_MORE_DATA) {
    remote.resize(length);
    result = WNetGetConnectionW(local.c_str(), remote.data(), &length);
  }
  if (result != NO_ERROR) return static_cast<int>(result);
  remote_name = Narrow(remote.c_str());
  return kNoError;
}

int Win32Platform::AddConnection(const std::string& remote_name, const std::string& password,
                                 const std::string& local_name) {
  last_failure_ = ConnectFailure::kUnknown;
  const char drive = DriveOfLocalName(local_name);
  if (drive == 0) return kErrBadDevice;
  if (!IsRemoteName(remote_name)) return kErrInvalidParameter;
  if ((GetLogicalDrives() & LetterBit(drive)) != 0) {
    if (GetDriveTypeW(RootOf(drive).c_str()) != DRIVE_REMOTE)
      last_failure_ = ConnectFailure::kLocalDrive;
    return kErrAlreadyAssigned;
  }
  std::wstring local = Widen(local_name);
  std::wstring remote = Widen(remote_name);
  const std::wstring secret = Widen(password);
  NETRESOURCEW resource{};
  resource.dwType = RESOURCETYPE_DISK;
  resource.lpLocalName = local.data();
  resource.lpRemoteName = remote.data();
  // Without a password the share is asked for with the user's own logon, as Windows itself
  // connects a share typed as \\SERVER\SHARE; a password is the user's for that share.
  const DWORD result =
      WNetAddConnection2W(&resource, password.empty() ? nullptr : secret.c_str(), nullptr, 0);
  if (result != NO_ERROR) return ConnectCode(result, last_failure_);
  // A new connection starts at its root, whatever an earlier one on the letter left.
  const WindowsPath current = directories_.current();
  directories_.Change(WindowsPath{drive, {}});
  if (current.drive != drive) directories_.Change(current);
  ForgetDrives();
  return kNoError;
}

int Win32Platform::CancelConnection(const std::string& local_name, bool force) {
  if (DriveOfLocalName(local_name) == 0) return kErrBadDevice;
  const DWORD result = WNetCancelConnection2W(Widen(local_name).c_str(), 0, force ? TRUE : FALSE);
  ForgetDrives();
  return static_cast<int>(result);
}

bool Win32Platform::IsFixed(char drive) {
  const unsigned type = CachedDriveType(drive);
  return type == kDriveFixed || type == kDriveRamDisk;
}

int Win32Platform::Locate(const std::string& path, WindowsPath& full, std::wstring& system_path,
                          bool directory) {
  int code = directories_.Resolve(path, full);
  if (code == kNoError) code = Utf8Path(full, system_path);
  // Looking names up may wait as long as the call itself: done only where that cannot hang.
  if (code == kNoError && IsFixed(full.drive)) stored_case_.Apply(system_path, directory);
  return code;
}

int Win32Platform::LocateListing(const WindowsPath& directory, std::wstring& system_path,
                                 std::string& key) {
  const int code = Utf8Path(directory, system_path);
  if (code != kNoError) return code;
  if (IsFixed(directory.drive)) stored_case_.Apply(system_path, true);
  key = Narrow(system_path);
  return kNoError;
}

void Win32Platform::TakeListing(const std::wstring& system_path, const std::string& key,
                                const DirectoryListing& listing) {
  failed_listings_.Read(key,
                        listing.open_error != kNoError ? listing.open_error : listing.read_error);
  stored_case_.Learn(system_path, listing.subdirectories);
}

bool Win32Platform::RunWaiting(char drive, std::function<void()> call) {
  if (!waiting_ || IsFixed(drive)) {
    const NoCriticalErrorBox no_box;
    call();
    return true;
  }
  std::unique_ptr<CallThread>& helper = helpers_.thread;
  if (!helper) helper = std::make_unique<CallThread>();
  const auto without_box = [call = std::move(call)] {
    const NoCriticalErrorBox no_box;
    call();
  };
  if (helper->Run(without_box, waiting_)) return true;
  helper.reset();
  return false;
}

int Win32Platform::SetCurrentDirectory(const std::string& path) {
  WindowsPath full;
  std::wstring system_path;
  const int code = Locate(path, full, system_path, true);
  if (code != kNoError) return code;
  auto look = std::make_shared<std::pair<DWORD, DWORD>>(INVALID_FILE_ATTRIBUTES, ERROR_SUCCESS);
  if (!RunWaiting(full.drive, [look, system_path] {
        look->first = AttributesOf(system_path);
        look->second = GetLastError();
      })) {
    return kErrOperationAborted;
  }
  if (look->first == INVALID_FILE_ATTRIBUTES) {
    // The list of drives is asked only then: it costs more than the look at the path.
    if ((GetLogicalDrives() & LetterBit(full.drive)) == 0) return kErrInvalidDrive;
    return static_cast<int>(look->second);
  }
  if ((look->first & FILE_ATTRIBUTE_DIRECTORY) == 0) return kErrPathNotFound;
  directories_.Change(full);
  return kNoError;
}

std::string Win32Platform::CurrentDirectory() { return FormatWindowsPath(directories_.current()); }

std::uint32_t Win32Platform::FileAttributes(const std::string& path) {
  WindowsPath full;
  std::wstring system_path;
  if (Locate(path, full, system_path) != kNoError) return kInvalidAttributes;
  const DWORD attributes = AttributesOf(system_path);
  return attributes == INVALID_FILE_ATTRIBUTES ? kInvalidAttributes : ShownAttributes(attributes);
}

std::vector<FoundEntry> Win32Platform::FindFiles(const std::string& pattern,
                                                 std::uint32_t attributes) {
  std::vector<FoundEntry> found;
  std::string_view directory_text;
  std::string_view name_pattern;
  SplitDirectoryAndName(pattern, directory_text, name_pattern);
  if (name_pattern.empty()) return found;
  WindowsPath directory = directories_.current();
  std::wstring system_path;
  std::string key;
  if ((!directory_text.empty() &&
       directories_.Resolve(std::string(directory_text), directory) != kNoError) ||
      LocateListing(directory, system_path, key) != kNoError) {
    return found;
  }
  auto listing = std::make_shared<DirectoryListing>();
  if (!RunWaiting(directory.drive,
                  [listing, system_path] { *listing = ListDirectory(system_path); })) {
    failed_listings_.Read(key, kErrOperationAborted);
    return found;
  }
  TakeListing(system_path, key, *listing);
  const std::uint32_t excluded =
      (kAttrHidden | kAttrSystem | kAttrVolumeId | kAttrDirectory) & ~attributes;
  for (FoundEntry& entry : listing->entries) {
    if ((entry.attributes & excluded) != 0 || !MatchesPattern(name_pattern, entry.name)) continue;
    found.push_back(std::move(entry));
  }
  return found;
}

int Win32Platform::ReadListing(const std::string& directory) {
  WindowsPath full;
  std::wstring system_path;
  std::string key;
  if (directories_.Resolve(directory, full) != kNoError) return kErrPathNotFound;
  if (const int code = LocateListing(full, system_path, key); code != kNoError) return code;
  if (const int owed = failed_listings_.Report(key); owed != kNoError) return owed;
  auto listing = std::make_shared<DirectoryListing>();
  if (!RunWaiting(full.drive, [listing, system_path] { *listing = ListDirectory(system_path); })) {
    return kErrOperationAborted;
  }
  TakeListing(system_path, key, *listing);
  return failed_listings_.Report(key);
}

bool Win32Platform::StampDirectory(const std::string& directory, DirectoryStamp& stamp) {
  WindowsPath full;
  std::wstring system_path;
  // Asked only of drives whose calls do not hang, where a look costs far less than a listing.
  if (directories_.Resolve(directory, full) != kNoError || !IsFixed(full.drive) ||
      Locate(directory, full, system_path, true) != kNoError) {
    return false;
  }
  WIN32_FILE_ATTRIBUTE_DATA data;
  {
    const NoCriticalErrorBox no_box;
    if (!GetFileAttributesExW(system_path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      return false;
    }
  }
  const auto ticks = [](const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
  };
  // A directory's last write time changes when an entry is added, removed or renamed, but only
  // as finely as its file system keeps times: FAT keeps two seconds. A directory written since
  // could show the same time after another change.
  constexpr std::uint64_t kCoarsest = 2 * 10'000'000;
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const std::uint64_t written = ticks(data.ftLastWriteTime);
  stamp.identity[0] = ticks(data.ftCreationTime);
  stamp.identity[1] = static_cast<std::uint64_t>(full.drive);
  stamp.changed[0] = written;
  stamp.changed[1] = 0;
  return written + kCoarsest < ticks(now);
}

bool Win32Platform::FileExists(const std::string& path) {
  const std::uint32_t attributes = FileAttributes(path);
  return attributes != kInvalidAttributes && (attributes & kAttrDirectory) == 0 &&
         !IsSpecialFile(path);
}

bool Win32Platform::NoFileAt(const std::string& path) {
  WindowsPath full;
  std::wstring system_path;
  const int code = Locate(path, full, system_path);
  if (code != kNoError) return code == kErrPathNotFound;
  const DWORD attributes = AttributesOf(system_path);
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

int Win32Platform::OpenForReading(const std::string& path, FileHandle& file) {
  file = kNoFile;
  WindowsPath full;
  std::wstring system_path;
  const int code = Locate(path, full, system_path);
  if (code != kNoError) return code;
  // A file named like a device (AUX, CON, NUL.TXT) is read like any other: the \\?\ form
  // that every call takes is never a device.
  if (full.IsRoot()) return kErrAccessDenied;
  auto opened = std::make_shared<Opened>();
  // A fixed volume keeps its sector size: asked once per listing of the drives, not per file.
  const bool fixed = IsFixed(full.drive);
  std::uint32_t& known_sector = sectors_[static_cast<std::size_t>(full.drive - 'A')];
  if (fixed) opened->sector = known_sector;
  if (!RunWaiting(full.drive, [opened, system_path, drive = full.drive] {
        opened->Open(system_path, drive);
      })) {
    return kErrOperationAborted;
  }
  if (opened->error != kNoError) return opened->error;
  if (fixed && opened->sector > 1) known_sector = opened->sector;
  OpenFile open;
  open.reader = std::make_unique<FileReader>(std::exchange(opened->handle, INVALID_HANDLE_VALUE),
                                             opened->sector, helpers_);
  file = files_.Add(std::move(open));
  return kNoError;
}

FileReader* Win32Platform::ReaderOf(FileHandle file) {
  OpenFile* open = files_.Find(file);
  return open != nullptr ? open->reader.get() : nullptr;
}

int Win32Platform::SizeOfOpenFile(FileHandle file, std::int64_t& size) {
  const OpenFile* open = files_.Find(file);
  LARGE_INTEGER length{};
  if (open == nullptr) return ERROR_INVALID_HANDLE;
  if (!GetFileSizeEx(open->handle(), &length)) return LastError();
  size = length.QuadPart;
  return kNoError;
}

int Win32Platform::ModifiedTimeOfOpenFile(FileHandle file, std::int64_t& nanoseconds) {
  const OpenFile* open = files_.Find(file);
  FILETIME written{};
  if (open == nullptr) return ERROR_INVALID_HANDLE;
  if (!GetFileTime(open->handle(), nullptr, nullptr, &written)) return LastError();
  const auto ticks = static_cast<std::int64_t>((std::uint64_t{written.dwHighDateTime} << 32) |
                                               written.dwLowDateTime);
  nanoseconds = (ticks - kFileTimeOf1970) * 100;
  return kNoError;
}

int Win32Platform::Read(FileHandle file, void* buffer, std::size_t size, std::size_t& done) {
  done = 0;
  FileReader* reader = ReaderOf(file);
  return reader != nullptr ? reader->Read(buffer, size, done, nullptr) : ERROR_INVALID_HANDLE;
}

int Win32Platform::ReadWaiting(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                               const std::function<bool()>& waiting) {
  done = 0;
  FileReader* reader = ReaderOf(file);
  return reader != nullptr ? reader->Read(buffer, size, done, &waiting) : ERROR_INVALID_HANDLE;
}

void Win32Platform::Close(FileHandle file) { files_.Remove(file); }

int Win32Platform::OpenForWriting(const std::string& path, bool append, FileHandle& file) {
  file = kNoFile;
  WindowsPath full;
  std::wstring system_path;
  const int code = Locate(path, full, system_path);
  if (code != kNoError) return code;
  if (full.IsRoot() || IsDeviceName(full.LastName())) return kErrAccessDenied;
  // The system refuses to write a read-only file, except Wine to root: asked first, so that
  // the program writes no such file anywhere.
  const DWORD attributes = AttributesOf(system_path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return kErrAccessDenied;
  }
  // OPEN_ALWAYS and an emptying rather than CREATE_ALWAYS, which refuses a hidden file.
  const HANDLE handle =
      CreateFileW(system_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                  append ? OPEN_EXISTING : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastError();
  const LARGE_INTEGER start{};
  int error = GetFileType(handle) != FILE_TYPE_DISK ? kErrAccessDenied : kNoError;
  if (error == kNoError &&
      (!SetFilePointerEx(handle, start, nullptr, append ? FILE_END : FILE_BEGIN) ||
       (!append && !SetEndOfFile(handle)))) {
    error = LastError();
  }
  if (error != kNoError) {
    CloseHandle(handle);
    return error;
  }
  OpenFile open;
  open.writer = handle;
  file = files_.Add(std::move(open));
  return kNoError;
}

int Win32Platform::CreateTextFile(const std::string& path, FileHandle& file) {
  return OpenForWriting(path, false, file);
}

int Win32Platform::OpenForAppend(const std::string& path, FileHandle& file) {
  return OpenForWriting(path, true, file);
}

int Win32Platform::Write(FileHandle file, std::string_view bytes) {
  const OpenFile* open = files_.Find(file);
  if (open == nullptr || open->writer == nullptr) return ERROR_INVALID_HANDLE;
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(open->writer, LARGE_INTEGER{}, &start, FILE_CURRENT)) return LastError();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(open->writer, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      const int error =
          written == 0 && GetLastError() == ERROR_SUCCESS ? kErrDiskFull : LastError();
      // What was written of them goes again: all of the bytes or none.
      if (SetFilePointerEx(open->writer, start, nullptr, FILE_BEGIN)) SetEndOfFile(open->writer);
      return error == ERROR_DISK_FULL ? kErrDiskFull : error;
    }
    done += written;
  }
  return kNoError;
}

std::uint32_t Win32Platform::TickCount() { return GetTickCount(); }

LocalDateTime Win32Platform::Now() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  LocalDateTime now;
  wchar_t text[128];
  if (GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, text, 128,
                      nullptr) > 0) {
    now.short_date = Narrow(text);
  }
  if (GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &local, nullptr, text, 128) > 0) {
    now.long_time = Narrow(text);
  }
  now.midnight = local.wHour == 0 && local.wMinute == 0 && local.wSecond == 0;
  return now;
}

std::string Win32Platform::ProgramPath() {
  std::wstring module(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (length == 0) return "";
    if (length < module.size()) {
      module.resize(length);
      break;
    }
    module.resize(module.size() * 2);
  }
  WindowsPath path;
  return ProgramPathOf(module, path) ? FormatWindowsPath(path) : "";
}

std::string Win32Platform::FromSystemPath(const std::string& system_path) {
  // A long path is taken as it is written, a trailing dot too.
  const std::wstring full = WithoutLongPrefix(
      system_path.starts_with("\\\\?\\") ? Widen(system_path) : FullPathOf(system_path));
  WindowsPath path;
  if (ProgramPathOf(full, path)) return FormatWindowsPath(path);
  if (!full.starts_with(L"\\\\")) return "";
  // A share's path: through the drive connected to it, if any.
  std::string upper = Narrow(full);
  UpperCase1251(upper);
  const std::uint32_t letters = GetLogicalDrives();
  for (char drive = 'A'; drive <= 'Z'; ++drive) {
    if ((letters & LetterBit(drive)) == 0 || CachedDriveType(drive) != kDriveRemote) continue;
    const std::string share = ConnectedShareOf(drive);
    if (share.empty() || !upper.starts_with(share) ||
        (upper.size() > share.size() && upper[share.size()] != '\\')) {
      continue;
    }
    std::wstring on_drive =
        RootOf(drive) + full.substr(std::min(full.size(), Widen(share).size() + 1));
    if (ProgramPathOf(on_drive, path)) return FormatWindowsPath(path);
  }
  return "";
}

std::string Win32Platform::ToSystemPath(const std::string& path) {
  WindowsPath full;
  std::wstring system_path;
  if (Locate(path, full, system_path) != kNoError) return "";
  // Other programs take the short form of the path, unless a name in it ends with a dot or a
  // space (which they would drop) or it is too long for them.
  const std::wstring plain = WithoutLongPrefix(system_path);
  const bool needs_long = plain.size() >= MAX_PATH || plain.find(L".\\") != std::wstring::npos ||
                          plain.find(L" \\") != std::wstring::npos || plain.ends_with(L'.') ||
                          plain.ends_with(L' ');
  return Narrow(needs_long ? system_path : plain);
}

std::string Win32Platform::RealSystemPath(const std::string& system_path) {
  const std::wstring full = FullPathOf(system_path);
  if (full.empty()) return "";
  const HANDLE handle = CreateFileW(WithLongPrefix(full).c_str(), 0, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return "";
  std::wstring real(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(handle, real.data(), static_cast<DWORD>(real.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length >= real.size()) {
    real.resize(length);
    length = GetFinalPathNameByHandleW(handle, real.data(), static_cast<DWORD>(real.size()),
                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  }
  CloseHandle(handle);
  if (length == 0 || length >= real.size()) return "";
  real.resize(length);
  return Narrow(WithoutLongPrefix(real));
}

}  // namespace tarvik
