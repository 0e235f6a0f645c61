#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tarvik {

// Passes every call to a real platform, counting the calls the lists' costs depend on, and adds
// what a fixed drive table cannot give: drives that appear later (hidden until then), network
// connections, and drives whose label cannot be read.
class RecordingPlatform : public Platform {
 public:
  explicit RecordingPlatform(Platform& inner) : inner_(inner) {}

  std::uint32_t hidden_drives = 0;          // bit i hides 'A' + i from LogicalDrives
  std::map<char, std::string> connections;  // upper-case letter -> remote name
  std::uint32_t unreadable_labels = 0;      // bit i fails VolumeInformation of 'A' + i
  std::vector<std::string> volume_queries;  // roots asked for their volume information
  int find_calls = 0;

  std::uint32_t LogicalDrives() override { return inner_.LogicalDrives() & ~hidden_drives; }
  unsigned DriveType(const std::string& root) override { return inner_.DriveType(root); }
  int VolumeInformation(const std::string& root, VolumeInfo& info) override;
  std::int64_t TotalCapacity(const std::string& root) override {
    return inner_.TotalCapacity(root);
  }
  int NetworkConnection(const std::string& local_name, std::string& remote_name) override;
  int SetCurrentDirectory(const std::string& path) override {
    return inner_.SetCurrentDirectory(path);
  }
  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  std::uint32_t FileAttributes(const std::string& path) override {
    return inner_.FileAttributes(path);
  }
  std::vector<FoundEntry> FindFiles(const std::string& pattern, std::uint32_t attributes) override {
    ++find_calls;
    return inner_.FindFiles(pattern, attributes);
  }
  bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
  int OpenForReading(const std::string& path, FileHandle& file) override {
    return inner_.OpenForReading(path, file);
  }
  void DropCachedPages(FileHandle file) override { inner_.DropCachedPages(file); }
  int SizeOfOpenFile(FileHandle file, std::int64_t& size) override {
    return inner_.SizeOfOpenFile(file, size);
  }
  int Read(FileHandle file, void* buffer, std::size_t size, std::size_t& done) override {
    return inner_.Read(file, buffer, size, done);
  }
  void Close(FileHandle file) override { inner_.Close(file); }
  int CreateTextFile(const std::string& path, FileHandle& file) override {
    return inner_.CreateTextFile(path, file);
  }
  int OpenForAppend(const std::string& path, FileHandle& file) override {
    return inner_.OpenForAppend(path, file);
  }
  int Write(FileHandle file, std::string_view bytes) override { return inner_.Write(file, bytes); }
  std::uint32_t TickCount() override { return inner_.TickCount(); }
  LocalDateTime Now() override { return inner_.Now(); }
  std::string ProgramPath() override { return inner_.ProgramPath(); }

 private:
  Platform& inner_;
};

}  // namespace tarvik
