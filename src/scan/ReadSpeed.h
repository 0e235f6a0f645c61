#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "digest/Digest.h"
#include "scan/SampleNames.h"

namespace tarvik {

// How the check of one file went: ok, or the kind of its first problem line.
enum class FileOutcome {
  kOk,
  kNotFound,
  kFirstOpen,
  kSecondOpen,
  kRead,
  kSize,
  kAbort,
  kChecksum,
  kChanged
};

// "ok", "not-found", "open1", ...: the outcome's name in reports and the history.
std::string FileOutcomeName(FileOutcome outcome);

// The check of one file as its read speed sees it.
struct FileSpeed {
  std::string path;
  // -1 for a file that was never opened.
  std::int64_t size = -1;
  std::int64_t bytes = 0;
  // Bytes read in the command before the file: where it lies on the curve.
  std::int64_t start = 0;
  std::uint32_t milliseconds = 0;
  FileOutcome outcome = FileOutcome::kOk;
  // The SHA-256 of the bytes read, for a file read without a problem while fingerprints are
  // wanted.
  std::optional<Digest> fingerprint = std::nullopt;
  // Nanoseconds since 1970, as the read open found it, while the history wants it.
  std::optional<std::int64_t> modified = std::nullopt;
  // What the last check of the volume said of the file: its problem is new there (it read
  // without one), and its speed then (MB/s) when it now reads at less than a third of it.
  bool first_seen = false;
  std::optional<double> slower_than = std::nullopt;
};

// One point of the speed curve: the bytes read in the command when it was taken, the
// milliseconds since the point before it, and the file then being read (for FileName).
struct SpeedSample {
  std::int64_t bytes;
  std::uint32_t milliseconds;
  std::uint32_t file;
};

// Megabytes (10^6 bytes) a second; nothing for no time, which ticks of a millisecond cannot
// tell from a very fast read.
std::optional<double> MegabytesPerSecond(std::int64_t bytes, std::uint32_t milliseconds);
// "12.3 Мб/с".
std::string SpeedText(double megabytes_per_second);
// Halves a curve: each pair of samples becomes one that ends where the second ended, with its
// file, and lasts as long as both; an odd last sample stays as it is.
void MergeSamplePairs(std::vector<SpeedSample>& samples);

// The read speed of one check command. The engine reports each file's start and end, every
// block read and the time each of its questions was open (left out); a sample is taken after each
// mebibyte or quarter second, whichever comes first, and at each file's end. A block costs a store
// and two comparisons until a sample is due: the tick it is given is the one the engine has just
// taken for its own progress fields.
class ReadSpeed {
 public:
  static constexpr std::int64_t kSampleBytes = std::int64_t{1} << 20;
  static constexpr std::uint32_t kSampleMilliseconds = 250;
  // Beyond this, neighbouring samples are merged in pairs.
  static constexpr std::size_t kMaxSamples = 100'000;
  // The slowest files are kept among those of at least this size.
  static constexpr std::int64_t kSlowestMinSize = std::int64_t{1} << 20;
  static constexpr std::size_t kSlowestCount = 10;
  // Files slower than last time are kept up to this number.
  static constexpr std::size_t kSlowerCount = 100;

  // Forgets everything of the command before.
  void BeginCommand();
  void BeginFile(const std::string& path, std::uint32_t tick);
  // The size the file was measured at when it was first opened.
  void SetFileSize(std::int64_t size) { file_.size = size; }
  void SetFingerprint(const Digest& digest) { file_.fingerprint = digest; }
  void SetModified(std::int64_t nanoseconds) { file_.modified = nanoseconds; }
  // After each read of the file; `file_bytes` counts from the file's start.
  void Block(std::int64_t file_bytes, std::uint32_t tick) {
    file_.bytes = file_bytes;
    if (file_bytes >= due_bytes_ || tick - sample_tick_ >= kSampleMilliseconds) Sample(tick);
  }
  // A problem line for the file being read; the first one gives its outcome.
  void Problem(std::string_view suffix);
  // The file read so far, its time and its last sample taken at `tick`; EndFile keeps them,
  // whatever its own tick, so that a question asked in between takes no time from the file.
  FileSpeed& StopClock(std::uint32_t tick);
  void EndFile(std::uint32_t tick);
  // A question to the user was open for `milliseconds`: the time counts neither in the next
  // sample nor in the file being read, so that the speed is the medium's, not the user's.
  // Ticks given afterwards are taken after the question closed.
  void LeaveOut(std::uint32_t milliseconds) {
    sample_tick_ += milliseconds;
    if (reading_ && !clock_stopped_) file_tick_ += milliseconds;
  }

  // Called with every file at its end.
  std::function<void(const FileSpeed&)> OnFileEnd;

  const std::vector<SpeedSample>& Samples() const { return samples_; }
  std::string FileName(std::uint32_t file) const { return names_.At(file); }
  // Files with a problem, in the order checked.
  const std::vector<FileSpeed>& ProblemFiles() const { return problem_files_; }
  // The slowest files of at least kSlowestMinSize that took measurable time, slowest first.
  const std::vector<FileSpeed>& Slowest() const { return slowest_; }
  // The files that read at less than a third of their speed last time, in the order checked.
  const std::vector<FileSpeed>& Slower() const { return slower_; }
  // Between a file's start and its end.
  bool Reading() const { return reading_; }
  // The file being read, or the last one.
  const FileSpeed& CurrentFile() const { return file_; }
  // Bytes read in the command so far.
  std::int64_t Position() const { return file_.start + file_.bytes; }
  // The speed over the latest samples that span at least kSampleMilliseconds.
  std::optional<double> RecentSpeed() const;
  // Seconds until the file being read is read whole at RecentSpeed().
  std::optional<double> SecondsLeft() const;
  // Changes whenever anything shown changes.
  std::uint64_t Revision() const { return revision_; }

 private:
  void Sample(std::uint32_t tick);
  void MergeNeighbours();
  void KeepIfSlowest();

  std::vector<SpeedSample> samples_;
  // The names samples refer to; the last is the current file's.
  SampleNames names_;
  std::vector<FileSpeed> problem_files_;
  std::vector<FileSpeed> slowest_;
  std::vector<FileSpeed> slower_;
  FileSpeed file_;
  bool reading_ = false;
  // The first file starts the clock, so that a question before it takes no time from it.
  bool clock_started_ = false;
  // The file's time is taken (StopClock); its end is still to come.
  bool clock_stopped_ = false;
  std::uint32_t file_tick_ = 0;
  std::uint32_t sample_tick_ = 0;
  // Where the next sample is due by bytes: in the command, and counted from the file's start.
  std::int64_t due_position_ = kSampleBytes;
  std::int64_t due_bytes_ = kSampleBytes;
  std::uint64_t revision_ = 0;
};

}  // namespace tarvik
