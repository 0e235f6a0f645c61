#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "digest/ChecksumLines.h"
#include "platform/Platform.h"

namespace tarvik {

// The names that a start directory's own checksum file may have, looked for in this order.
inline constexpr const char* kChecksumFileNames[] = {"SHA256SUMS", "sha256sum.txt", "MD5SUMS",
                                                     "md5sum.txt"};

// The checksum file in `directory` (drive form, ending in "\"), in drive form; empty for none.
std::string ChecksumFileIn(Platform& platform, const std::string& directory);

// A checksum file to verify the files of checks against: what digest each file it names
// should have, and which of them a check has met.
class ExpectedSums {
 public:
  // Reads the checksum file at `path` (drive form) through the platform: kNoError, or the code
  // of what failed. Names compare by `case_sensitive`, the case rule of the folder's volume.
  int Load(Platform& platform, const std::string& path, bool case_sensitive);

  const std::string& Path() const { return path_; }
  // Lines that name no file; the first of them, counted from 1.
  int Malformed() const { return malformed_; }
  int FirstMalformed() const { return first_malformed_; }

  // Starts a check: no file met yet.
  void BeginCheck();
  // The digest the file at `path` (drive form) should have, noting the file as met; nothing
  // when the checksum file does not name it.
  std::optional<Digest> Expected(const std::string& path);
  // The drive paths of the files named that no check met since BeginCheck, in file order.
  std::vector<std::string> NotMet() const;

 private:
  std::string Key(std::string name) const;

  std::string path_;
  // The checksum file's folder, ending in "\".
  std::string folder_;
  bool case_sensitive_ = true;
  std::vector<ChecksumEntry> entries_;
  std::vector<bool> met_;
  std::unordered_map<std::string, std::size_t> index_;
  int malformed_ = 0;
  int first_malformed_ = 0;
};

}  // namespace tarvik
