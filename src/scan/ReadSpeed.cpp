#include "scan/ReadSpeed.h"

#include <algorithm>
#include <utility>

#include "scan/ProblemLines.h"
#include "util/Number.h"

namespace tarvik {

namespace {

// The outcome whose problem line ends with `suffix`.
FileOutcome OutcomeOfSuffix(std::string_view suffix) {
  const std::pair<std::string_view, FileOutcome> outcomes[] = {
      {kNotFoundSuffix, FileOutcome::kNotFound},
      {kFirstOpenSuffix, FileOutcome::kFirstOpen},
      {kSecondOpenSuffix, FileOutcome::kSecondOpen},
      {kReadSuffix, FileOutcome::kRead},
      {kSizeSuffix, FileOutcome::kSize},
      {kAbortSuffix, FileOutcome::kAbort},
      {kChecksumSuffix, FileOutcome::kChecksum},
      {kChangedSuffix, FileOutcome::kChanged},
  };
  for (const auto& [text, outcome] : outcomes) {
    if (text == suffix) return outcome;
  }
  return FileOutcome::kOk;
}

}  // namespace

std::string FileOutcomeName(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::kOk:
      return "ok";
    case FileOutcome::kNotFound:
      return "not-found";
    case FileOutcome::kFirstOpen:
      return "open1";
    case FileOutcome::kSecondOpen:
      return "open2";
    case FileOutcome::kRead:
      return "read";
    case FileOutcome::kSize:
      return "size";
    case FileOutcome::kAbort:
      return "abort";
    case FileOutcome::kChecksum:
      return "checksum";
    case FileOutcome::kChanged:
      return "changed";
  }
  return "";
}

std::optional<double> MegabytesPerSecond(std::int64_t bytes, std::uint32_t milliseconds) {
  if (milliseconds == 0) return std::nullopt;
  return static_cast<double>(bytes) / 1000.0 / milliseconds;
}

std::string SpeedText(double megabytes_per_second) {
  return FormatFixed(megabytes_per_second, 1) + " Мб/с";
}

void ReadSpeed::BeginCommand() {
  // The observer and the revision carry over: the one watches every command, the other must
  // never come back to a value a watcher has already seen.
  std::function<void(const FileSpeed&)> on_file_end = std::move(OnFileEnd);
  const std::uint64_t revision = revision_ + 1;
  *this = ReadSpeed();
  OnFileEnd = std::move(on_file_end);
  revision_ = revision;
}

void ReadSpeed::BeginFile(const std::string& path, std::uint32_t tick) {
  if (!clock_started_) {
    clock_started_ = true;
    sample_tick_ = tick;
  }
  const std::int64_t start = Position();
  file_ = FileSpeed{.path = path, .start = start};
  names_.Add(path);
  file_tick_ = tick;
  due_bytes_ = due_position_ - start;
  reading_ = true;
  clock_stopped_ = false;
  ++revision_;
}

void ReadSpeed::Problem(std::string_view suffix) {
  if (file_.outcome == FileOutcome::kOk) file_.outcome = OutcomeOfSuffix(suffix);
}

FileSpeed& ReadSpeed::StopClock(std::uint32_t tick) {
  if (clock_stopped_) return file_;
  clock_stopped_ = true;
  file_.milliseconds = tick - file_tick_;
  const bool sampled_here = !samples_.empty() && samples_.back().bytes == Position() &&
                            samples_.back().file == names_.Size() - 1;
  if (!sampled_here) Sample(tick);
  return file_;
}

void ReadSpeed::EndFile(std::uint32_t tick) {
  StopClock(tick);
  if (file_.outcome != FileOutcome::kOk) problem_files_.push_back(file_);
  if (file_.slower_than && slower_.size() < kSlowerCount) slower_.push_back(file_);
  KeepIfSlowest();
  reading_ = false;
  ++revision_;
  if (OnFileEnd) OnFileEnd(file_);
}

void ReadSpeed::Sample(std::uint32_t tick) {
  samples_.push_back(
      {Position(), tick - sample_tick_, static_cast<std::uint32_t>(names_.Size() - 1)});
  sample_tick_ = tick;
  due_position_ = Position() + kSampleBytes;
  due_bytes_ = file_.bytes + kSampleBytes;
  ++revision_;
  if (samples_.size() >= kMaxSamples) MergeNeighbours();
}

void MergeSamplePairs(std::vector<SpeedSample>& samples) {
  const std::size_t pairs = samples.size() / 2;
  for (std::size_t i = 0; i < pairs; ++i) {
    const SpeedSample first = samples[2 * i];
    const SpeedSample second = samples[2 * i + 1];
    samples[i] = {second.bytes, first.milliseconds + second.milliseconds, second.file};
  }
  if (samples.size() % 2 != 0) samples[pairs] = samples.back();
  samples.resize(pairs + samples.size() % 2);
}

// Each pair becomes one sample that ends where the second ended and lasts as long as both.
// Names no sample refers to any longer go. The bound is even and a merge follows a sample of
// the current file, so the last pair keeps the current file's name.
void ReadSpeed::MergeNeighbours() {
  static_assert(kMaxSamples % 2 == 0);
  MergeSamplePairs(samples_);

  std::vector<std::uint32_t> kept;
  for (SpeedSample& sample : samples_) {
    if (kept.empty() || sample.file != kept.back()) kept.push_back(sample.file);
    sample.file = static_cast<std::uint32_t>(kept.size() - 1);
  }
  names_.KeepOnly(kept);
}

void ReadSpeed::KeepIfSlowest() {
  if (file_.size < kSlowestMinSize || file_.milliseconds == 0) return;
  // Compared as bytes a millisecond without dividing: a.bytes / a.ms < b.bytes / b.ms.
  const auto slower = [](const FileSpeed& a, const FileSpeed& b) {
    return static_cast<double>(a.bytes) * b.milliseconds <
           static_cast<double>(b.bytes) * a.milliseconds;
  };
  if (slowest_.size() == kSlowestCount && !slower(file_, slowest_.back())) return;
  slowest_.insert(std::upper_bound(slowest_.begin(), slowest_.end(), file_, slower), file_);
  if (slowest_.size() > kSlowestCount) slowest_.pop_back();
}

std::optional<double> ReadSpeed::RecentSpeed() const {
  std::uint32_t milliseconds = 0;
  std::size_t first = samples_.size();
  while (first > 0 && milliseconds < kSampleMilliseconds)
    milliseconds += samples_[--first].milliseconds;
  if (first == samples_.size()) return std::nullopt;
  const std::int64_t before = first == 0 ? 0 : samples_[first - 1].bytes;
  return MegabytesPerSecond(samples_.back().bytes - before, milliseconds);
}

std::optional<double> ReadSpeed::SecondsLeft() const {
  const std::optional<double> speed = RecentSpeed();
  if (!reading_ || !speed || *speed <= 0 || file_.size < 0) return std::nullopt;
  return static_cast<double>(std::max<std::int64_t>(file_.size - file_.bytes, 0)) / 1e6 / *speed;
}

}  // namespace tarvik
