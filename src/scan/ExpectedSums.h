#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "digest/ChecksumLines.h"
#include "platform/Platform.h"

namespace tarvik {

// The names that a start directory's own checksum files may have, in the order they are read.
inline constexpr const char* kChecksumFileNames[] = {"SHA256SUMS", "sha256sum.txt", "MD5SUMS",
                                                     "md5sum.txt"};

// The checksum files in `directory` (drive form, ending in "\"), in drive form: every name of
// kChecksumFileNames there, also one that is no regular file, which a check must not pass over.
std::vector<std::string> ChecksumFilesIn(Platform& platform, const std::string& directory);

// A checksum file to verify the files of checks against: what digests each file it names
// should have, and which of them a check has met. Every line counts: a file named by several
// lines (also as "./a", "sub/../a" or by its absolute path) must match each of their digests.
class ExpectedSums {
 public:
  // Reads the checksum file at `path` (drive form) through the platform, piece by piece:
  // kNoError, or the code of what failed (kErrNotEnoughMemory when its names do not fit in
  // memory, kErrBadFileType for a FIFO or a device, which is never opened). Names resolve as
  // sha256sum -c run in the file's folder resolves them; they compare by `case_sensitive`, the case
  // rule of the folder's volume.
  int Load(Platform& platform, const std::string& path, bool case_sensitive);

  const std::string& Path() const { return path_; }
  // What Load returned.
  int LoadError() const { return load_error_; }
  // Read, but not a single line names a file: the file proves nothing.
  bool NamesNothing() const {
    return load_error_ == kNoError && files_.empty() && unreachable_.empty();
  }
  // Lines not understood; the first of them, counted from 1.
  int Malformed() const { return malformed_; }
  int FirstMalformed() const { return first_malformed_; }
  // Lines too long to name a file that opens; the first of them, counted from 1.
  int Overlong() const { return overlong_; }
  int FirstOverlong() const { return first_overlong_; }
  // The names, as written (WrittenName), of lines that reach no file (ResolveName).
  const std::vector<std::string>& Unreachable() const { return unreachable_; }

  // Starts a check: no file met yet.
  void BeginCheck();
  // The digests the file at `path` (drive form) should have, one per line that names it, noting
  // the file as met; null when the checksum file does not name it.
  const std::vector<Digest>* Expected(const std::string& path);
  // The drive paths of the files named that no check met since BeginCheck, each once, in the
  // order of their first lines.
  std::vector<std::string> NotMet() const;
  // Files named at all (each once), and how many of them a check met since BeginCheck.
  std::size_t FilesNamed() const { return files_.size(); }
  std::size_t FilesMet() const { return met_count_; }

 private:
  struct NamedFile {
    std::string path;
    std::vector<Digest> digests;
  };
  void Add(Platform& platform, ChecksumEntry& entry);
  std::string Key(std::string path) const;

  std::string path_;
  int load_error_ = kNoError;
  // The checksum file's folder, ending in "\".
  std::string folder_;
  bool case_sensitive_ = true;
  std::vector<NamedFile> files_;
  std::vector<bool> met_;
  std::size_t met_count_ = 0;
  std::unordered_map<std::string, std::size_t> index_;
  int malformed_ = 0;
  int first_malformed_ = 0;
  int overlong_ = 0;
  int first_overlong_ = 0;
  std::vector<std::string> unreachable_;
};

}  // namespace tarvik
