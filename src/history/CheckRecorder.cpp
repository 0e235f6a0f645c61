#include "history/CheckRecorder.h"

#include <ctime>
#include <utility>

#include "scan/ReadSpeed.h"

namespace tarvik {

namespace {

void SetState(FileState& state, const FileSpeed& file) {
  state.size = file.size;
  state.modified = file.modified;
  if (file.fingerprint) {
    state.sha256.assign(reinterpret_cast<const char*>(file.fingerprint->bytes.data()),
                        file.fingerprint->bytes.size());
  } else {
    state.sha256.clear();
  }
  state.seconds = file.milliseconds / 1000.0;
}

// The speed curve as the history keeps it: neighbours merged in pairs down to kStoredSamples,
// so that a check of many small files, a sample at each file's end, does not keep one per file.
std::vector<SpeedSample> StoredCurve(const std::vector<SpeedSample>& samples) {
  constexpr std::size_t kStoredSamples = 1000;
  std::vector<SpeedSample> curve = samples;
  while (curve.size() > kStoredSamples) MergeSamplePairs(curve);
  return curve;
}

}  // namespace

std::string_view PathInVolume(std::string_view path) {
  return path.size() >= 3 && path[1] == ':' && path[2] == '\\' ? path.substr(3) : path;
}

CheckRecorder::CheckRecorder(HistoryStore& store, CheckStart start, bool record,
                             std::size_t window_rows)
    : store_(store), start_(std::move(start)) {
  drive_ = start_.start_directory.substr(
      0, start_.start_directory.size() - PathInVolume(start_.start_directory).size());
  start_.start_directory = PathInVolume(start_.start_directory);
  recording_ = record && store_.BeginCheck(start_, volume_id_, check_id_);
  if (!recording_) {
    if (record) {
      not_recorded_ = store_.LastError();
      locked_ = store_.Busy();
    }
    volume_id_ = store_.VolumeId(start_.volume_key);
  }
  const int known = volume_id_ > 0 ? store_.HasKnownFiles(volume_id_) : volume_id_ < 0 ? -1 : 0;
  if (known < 0) {
    Stop("");
    return;
  }
  had_known_ = known > 0;
  thread_.emplace(store_, volume_id_, check_id_);
  if (had_known_) known_.emplace(*thread_, volume_id_, window_rows, start_.start_directory);
}

void CheckRecorder::Stop(const std::string& error) {
  if (stopped_.empty()) stopped_ = error.empty() ? store_.LastError() : error;
  if (recording_ && not_recorded_.empty()) not_recorded_ = stopped_;
  recording_ = false;
}

bool CheckRecorder::Compare(FileSpeed& file) {
  if (!stopped_.empty()) return false;
  const std::string_view path = PathInVolume(file.path);
  row_.path.assign(path);
  row_.difference.clear();
  const KnownFile* before = nullptr;
  if (known_ && !known_->File(path, before)) {
    // A comparison that cannot be made must not pass for one that found nothing.
    Stop(thread_->Stop());
    return false;
  }
  if (before == nullptr || !before->intact) {
    if (before != nullptr) {
      if (damaged_rows_.size() < kNamedDamage) damaged_rows_.push_back(file.path);
      ++damaged_count_;
    } else {
      ++new_files_;
      // On a volume's first check every file is new: that is no difference worth a row.
      if (had_known_) row_.difference = "new";
    }
    Unknown(file);
    return false;
  }
  row_.keep = true;
  row_.known = *before;
  if (file.outcome == FileOutcome::kOk) return Proven(file, *before);
  // Stopping a file is the user's doing, not a problem of the file.
  if (file.outcome != FileOutcome::kAbort) {
    file.first_seen = before->problem.empty();
    row_.known.problem = FileOutcomeName(file.outcome);
    row_.difference = row_.known.problem;
    SetState(row_.now, file);
  }
  return false;
}

void CheckRecorder::Unknown(const FileSpeed& file) {
  row_.keep = file.outcome == FileOutcome::kOk;
  SetState(row_.known.good, file);
  row_.known.proven = std::time(nullptr);
  row_.known.pending.clear();
  row_.known.problem.clear();
  if (file.outcome != FileOutcome::kOk && file.outcome != FileOutcome::kAbort) {
    row_.difference = FileOutcomeName(file.outcome);
  }
  SetState(row_.now, file);
}

bool CheckRecorder::Proven(FileSpeed& file, const KnownFile& before) {
  const std::optional<double> speed_before =
      MegabytesPerSecond(before.good.size, static_cast<std::uint32_t>(before.good.seconds * 1000));
  const std::optional<double> speed = MegabytesPerSecond(file.bytes, file.milliseconds);
  if (file.size >= kSlowerMinSize && speed_before && speed && *speed < *speed_before / 3) {
    file.slower_than = speed_before;
  }
  SetState(row_.now, file);
  const bool same_look = file.fingerprint && !before.good.sha256.empty() &&
                         before.good.size == file.size && before.good.modified &&
                         before.good.modified == file.modified;
  if (same_look && before.good.sha256 != row_.now.sha256) {
    // The known-good state stays until the user accepts the change.
    ++changed_;
    file.first_seen = before.problem != FileOutcomeName(FileOutcome::kChanged);
    row_.known.pending = row_.now.sha256;
    row_.known.problem = FileOutcomeName(FileOutcome::kChanged);
    row_.difference = row_.known.problem;
    return true;
  }
  // The same content, or an edit that changed the size or the modification time: proven now.
  row_.known.good = row_.now;
  row_.known.proven = std::time(nullptr);
  row_.known.pending.clear();
  row_.known.problem.clear();
  return false;
}

void CheckRecorder::Record(const FileSpeed& file) {
  if (!stopped_.empty()) return;
  ++files_;
  bytes_ += file.bytes;
  if (file.outcome != FileOutcome::kOk && file.outcome != FileOutcome::kAbort) ++problems_;
  if (recording_ && (row_.keep || !row_.difference.empty()) && !thread_->Add(row_)) {
    // The comparison goes on without the writing.
    not_recorded_ = thread_->WriteError();
    recording_ = false;
  }
}

void CheckRecorder::End(bool finished, const std::vector<SpeedSample>& samples,
                        const GoneTest& gone) {
  const std::string error = thread_ ? thread_->Stop() : "";
  if (!recording_) return;
  if (!error.empty()) {
    not_recorded_ = error;
    recording_ = false;
    return;
  }
  if (finished && had_known_ && start_.mode != "file") {
    KnownFiles not_met;
    std::vector<std::string> gone_paths;
    if (!store_.NotMet(volume_id_, check_id_, start_.start_directory,
                       start_.mode == "subdirectories", not_met)) {
      Stop("");
      return;
    }
    for (const auto& [path, known] : not_met) {
      // A damaged row may name a file by a path it does not have.
      if (!known.intact) {
        if (damaged_rows_.size() < kNamedDamage) damaged_rows_.push_back(drive_ + path);
        ++damaged_count_;
      } else if (gone(drive_ + path)) {
        gone_paths.push_back(path);
      }
    }
    if (!store_.RecordGone(volume_id_, check_id_, gone_paths)) {
      Stop("");
      return;
    }
    gone_ = static_cast<std::int64_t>(gone_paths.size());
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
                             .new_files = had_known_ ? new_files_ : -1,
                             .finished = finished};
  if (!store_.EndCheck(check_id_, summary, StoredCurve(samples))) {
    not_recorded_ = store_.LastError();
    recording_ = false;
  }
}

}  // namespace tarvik
