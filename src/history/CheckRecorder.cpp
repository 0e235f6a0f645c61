#include "history/CheckRecorder.h"

#include <utility>

#include "scan/ReadSpeed.h"

namespace tarvik {

namespace {

bool ReadWithoutProblem(const std::string& outcome) {
  return outcome == FileOutcomeName(FileOutcome::kOk) ||
         outcome == FileOutcomeName(FileOutcome::kChanged);
}

}  // namespace

std::string_view PathInVolume(std::string_view path) {
  return path.size() >= 3 && path[1] == ':' && path[2] == '\\' ? path.substr(3) : path;
}

CheckRecorder::CheckRecorder(HistoryStore& store, CheckStart start, std::size_t window_rows)
    : store_(store), start_(std::move(start)) {
  start_.start_directory = PathInVolume(start_.start_directory);
  if (!store_.BeginCheck(start_, check_id_)) {
    Stop();
    return;
  }
  last_ = store_.LastFinishedCheck(start_, check_id_);
  thread_.emplace(store_, check_id_);
  if (!last_) return;
  last_rows_.emplace(*thread_, last_->id, window_rows, start_.start_directory);
  if (last_->same_scope) {
    thread_->Post([this, last_id = last_->id](HistoryStore& store) {
      last_files_ = store.FilesBelow(last_id, start_.start_directory);
      return last_files_ >= 0;
    });
  }
}

void CheckRecorder::Stop(const std::string& error) {
  if (stopped_.empty()) stopped_ = error.empty() ? store_.LastError() : error;
}

bool CheckRecorder::Compare(FileSpeed& file) {
  if (!stopped_.empty() || !last_rows_) return false;
  const std::string_view path = PathInVolume(file.path);
  const FileRecord* before = nullptr;
  if (!last_rows_->File(path, before)) {
    // A comparison that cannot be made must not pass for one that found nothing.
    Stop(thread_->Stop());
    return false;
  }
  if (before == nullptr) {
    ++new_files_;
    return false;
  }
  if (path.starts_with(start_.start_directory)) ++met_files_;
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
  if (!thread_->Add(PathInVolume(file.path), file)) Stop(thread_->Stop());
}

void CheckRecorder::End(bool finished, const std::vector<SpeedSample>& samples) {
  if (thread_) {
    const std::string error = thread_->Stop();
    if (!error.empty()) Stop(error);
  }
  if (!stopped_.empty()) return;
  if (last_ && last_->same_scope) gone_ = last_files_ - met_files_;
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
