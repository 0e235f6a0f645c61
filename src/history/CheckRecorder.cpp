#include "history/CheckRecorder.h"

#include <utility>

#include "scan/ReadSpeed.h"

namespace tarvik {

namespace {

constexpr auto kCommitEvery = std::chrono::seconds(1);

bool ReadWithoutProblem(const std::string& outcome) {
  return outcome == FileOutcomeName(FileOutcome::kOk) ||
         outcome == FileOutcomeName(FileOutcome::kChanged);
}

}  // namespace

std::string PathInVolume(const std::string& path) {
  return path.size() >= 3 && path[1] == ':' && path[2] == '\\' ? path.substr(3) : path;
}

CheckRecorder::CheckRecorder(HistoryStore& store, CheckStart start)
    : store_(store), start_(std::move(start)), committed_(std::chrono::steady_clock::now()) {
  start_.start_directory = PathInVolume(start_.start_directory);
  if (!store_.BeginCheck(start_, check_id_)) {
    Stop();
    return;
  }
  last_ = store_.LastFinishedCheck(start_, check_id_);
}

void CheckRecorder::Stop() {
  if (stopped_.empty()) stopped_ = store_.LastError();
}

bool CheckRecorder::Compare(FileSpeed& file) {
  if (!stopped_.empty() || !last_) return false;
  std::optional<FileRecord> before;
  if (!last_folder_.File(store_, last_->id, PathInVolume(file.path), before)) {
    // A comparison that cannot be made must not pass for one that found nothing.
    Stop();
    return false;
  }
  if (!before) {
    ++new_files_;
    return false;
  }
  if (!ReadWithoutProblem(before->outcome)) return false;
  if (file.outcome != FileOutcome::kOk) {
    // Stopping a file is the user's doing, not a problem of the file.
    file.first_seen = file.outcome != FileOutcome::kAbort;
    return false;
  }
  const std::optional<double> speed_before =
      MegabytesPerSecond(before->size, static_cast<std::uint32_t>(before->seconds * 1000));
  const std::optional<double> speed = MegabytesPerSecond(file.bytes, file.milliseconds);
  if (file.size >= kSlowerMinSize && speed_before && speed && *speed < *speed_before / 3) {
    file.slower_than = speed_before;
  }
  file.first_seen =
      file.fingerprint && !before->sha256.empty() && before->size == file.size &&
      before->modified && before->modified == file.modified &&
      before->sha256 !=
          std::string_view(reinterpret_cast<const char*>(file.fingerprint->bytes.data()),
                           file.fingerprint->bytes.size());
  return file.first_seen;
}

void CheckRecorder::Record(const FileSpeed& file) {
  if (!stopped_.empty()) return;
  ++files_;
  bytes_ += file.bytes;
  if (file.outcome == FileOutcome::kChanged) ++changed_;
  if (file.outcome != FileOutcome::kOk && file.outcome != FileOutcome::kAbort) ++problems_;
  if (!store_.AddFile(check_id_, PathInVolume(file.path), file)) {
    Stop();
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - committed_ < kCommitEvery) return;
  committed_ = now;
  if (!store_.Commit()) Stop();
}

void CheckRecorder::End(bool finished, const std::vector<SpeedSample>& samples) {
  if (!stopped_.empty()) return;
  if (last_ && last_->same_scope) {
    gone_ = store_.FilesGone(last_->id, check_id_, start_.start_directory);
  }
  std::uint64_t milliseconds = 0;
  for (const SpeedSample& sample : samples) milliseconds += sample.milliseconds;
  const CheckSummary summary{.id = check_id_,
                             .started = start_.started,
                             .start_directory = start_.start_directory,
                             .files = files_,
                             .bytes = bytes_,
                             .problems = problems_,
                             .seconds = static_cast<double>(milliseconds) / 1000,
                             .changed = changed_,
                             .gone = gone_,
                             .new_files = NewFiles(),
                             .finished = finished};
  if (!store_.EndCheck(check_id_, summary, samples)) Stop();
}

}  // namespace tarvik
