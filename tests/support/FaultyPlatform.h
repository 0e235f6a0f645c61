#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace tarvik {

// The calls of Platform that FaultyPlatform can make fail or follow with an action.
enum class PlatformCall {
  kFileExists,
  kFileAttributes,
  kFindFiles,
  kSetCurrentDirectory,
  kOpenForReading,
  kSizeOfOpenFile,
  kRead,
  kClose,
  kCreateTextFile,
  kOpenForAppend,
  kWrite,
};

// A decorator of a Platform for faults a real file system does not produce on demand. Calls
// are counted per kind and path (calls on a handle count for the path it was opened with);
// a rule fires at the n-th matching call (from 1). A failing call does not reach the inner
// platform: it returns the chosen code, or false, kInvalidAttributes or no entries for the
// calls that return no code. Everything else passes through.
//
//   FaultyPlatform faulty(platform);
//   faulty.Fail(PlatformCall::kOpenForReading, "C:\\A.BIN", 2, kErrSharingViolation);
//   faulty.Fail(PlatformCall::kRead, "C:\\A.BIN", 3, 23);           // third read fails
//   faulty.After(PlatformCall::kFileExists, "C:\\A.BIN", 1, [&] { dir.Remove("A.BIN"); });
class FaultyPlatform : public Platform {
 public:
  // Any path.
  static inline const std::string kAnyPath;

  explicit FaultyPlatform(Platform& inner) : inner_(inner) {}

  // The `nth` call of `call` on `path` fails with `code`; with `times` > 1 the calls after
  // it fail too, 0 meaning every later call.
  void Fail(PlatformCall call, const std::string& path, int nth, int code, int times = 1);
  // Runs `action` right after the `nth` call of `call` on `path` has returned (for
  // example, to delete or grow the real file at that point).
  void After(PlatformCall call, const std::string& path, int nth, std::function<void()> action);
  // Forgets every rule and every count.
  void Reset() {
    rules_.clear();
    calls_.clear();
  }
  // Calls of `call` on `path` so far.
  int Calls(PlatformCall call, const std::string& path) const;

  std::uint32_t LogicalDrives() override { return inner_.LogicalDrives(); }
  unsigned DriveType(const std::string& root) override { return inner_.DriveType(root); }
  int VolumeInformation(const std::string& root, VolumeInfo& info) override {
    return inner_.VolumeInformation(root, info);
  }
  std::int64_t TotalCapacity(const std::string& root) override {
    return inner_.TotalCapacity(root);
  }
  std::string VolumeKey(const std::string& root, bool& ambiguous) override {
    return inner_.VolumeKey(root, ambiguous);
  }
  int NetworkConnection(const std::string& local_name, std::string& remote_name) override {
    return inner_.NetworkConnection(local_name, remote_name);
  }
  int AddConnection(const std::string& remote_name, const std::string& password,
                    const std::string& local_name) override {
    return inner_.AddConnection(remote_name, password, local_name);
  }
  ConnectFailure LastConnectFailure() override { return inner_.LastConnectFailure(); }
  int CancelConnection(const std::string& local_name, bool force) override {
    return inner_.CancelConnection(local_name, force);
  }

  int SetCurrentDirectory(const std::string& path) override;
  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  std::uint32_t FileAttributes(const std::string& path) override;
  std::vector<FoundEntry> FindFiles(const std::string& pattern, std::uint32_t attributes) override;
  int ReadListing(const std::string& directory) override { return inner_.ReadListing(directory); }
  bool StampDirectory(const std::string& directory, DirectoryStamp& stamp) override {
    return inner_.StampDirectory(directory, stamp);
  }
  void KeepListings(bool keep) override { inner_.KeepListings(keep); }
  bool FileExists(const std::string& path) override;

  int OpenForReading(const std::string& path, FileHandle& file) override;
  void DropCachedPages(FileHandle file) override { inner_.DropCachedPages(file); }
  int SizeOfOpenFile(FileHandle file, std::int64_t& size) override;
  int ModifiedTimeOfOpenFile(FileHandle file, std::int64_t& nanoseconds) override {
    return inner_.ModifiedTimeOfOpenFile(file, nanoseconds);
  }
  // Both count as kRead.
  int Read(FileHandle file, void* buffer, std::size_t size, std::size_t& done) override;
  int ReadWaiting(FileHandle file, void* buffer, std::size_t size, std::size_t& done,
                  const std::function<bool()>& waiting) override;
  void Close(FileHandle file) override;
  int CreateTextFile(const std::string& path, FileHandle& file) override;
  int OpenForAppend(const std::string& path, FileHandle& file) override;
  int Write(FileHandle file, std::string_view bytes) override;

  std::uint32_t TickCount() override { return inner_.TickCount(); }
  LocalDateTime Now() override { return inner_.Now(); }
  std::string ProgramPath() override { return inner_.ProgramPath(); }
  std::string FromSystemPath(const std::string& system_path) override {
    return inner_.FromSystemPath(system_path);
  }
  std::string ToSystemPath(const std::string& path) override { return inner_.ToSystemPath(path); }
  std::string RealSystemPath(const std::string& system_path) override {
    return inner_.RealSystemPath(system_path);
  }
  bool IsSpecialFile(const std::string& path) override { return inner_.IsSpecialFile(path); }
  bool NoFileAt(const std::string& path) override { return inner_.NoFileAt(path); }

 private:
  struct Rule {
    PlatformCall call;
    std::string path;
    int first;
    int last;  // 0: no end
    int code;
    std::function<void()> action;
  };

  // Counts a call and returns the code of the rule that makes it fail, kNoError if none.
  int Enter(PlatformCall call, const std::string& path);
  // Runs the actions due after the call that Enter counted last.
  void Leave(PlatformCall call, const std::string& path);
  const std::string& PathOf(FileHandle file) const;
  // Remembers the path of a handle that an open gave.
  void Remember(int code, const std::string& path, FileHandle file);

  Platform& inner_;
  std::vector<Rule> rules_;
  std::map<std::pair<PlatformCall, std::string>, int> calls_;
  std::map<FileHandle, std::string> open_paths_;
};

}  // namespace tarvik
