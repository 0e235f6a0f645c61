#include "history/LastCheckFolder.h"

namespace tarvik {

namespace {

// The folder of `path` with its closing backslash, "" for the root.
std::string_view FolderOf(std::string_view path) {
  const std::size_t separator = path.rfind('\\');
  return path.substr(0, separator == std::string_view::npos ? 0 : separator + 1);
}

}  // namespace

LastCheckFolder::LastCheckFolder(HistoryThread& thread, std::int64_t check_id,
                                 std::size_t max_files)
    : thread_(thread), check_id_(check_id), max_files_(max_files) {}

void LastCheckFolder::Expect(std::string_view path) {
  const std::string_view folder = FolderOf(path);
  if (asked_ == folder) return;
  asked_ = folder;
  asked_job_ = thread_.Post([this, folder = *asked_](HistoryStore& store) {
    return store.FilesIn(check_id_, folder, max_files_, next_, next_whole_);
  });
}

bool LastCheckFolder::File(std::string_view path, const FileRecord*& found) {
  const std::string_view folder = FolderOf(path);
  if (folder_ != folder) {
    Expect(path);
    folder_.reset();
    if (!thread_.Wait(asked_job_)) return false;
    files_.swap(next_);
    whole_ = next_whole_;
    folder_ = folder;
  }
  const auto file = files_.find(path.substr(folder.size()));
  found = file != files_.end() ? &file->second : nullptr;
  if (found != nullptr || whole_) return true;
  const std::uint64_t lookup =
      thread_.Post([this, whole_path = std::string(path)](HistoryStore& store) {
        return store.File(check_id_, whole_path, single_);
      });
  if (!thread_.Wait(lookup)) return false;
  found = single_ ? &*single_ : nullptr;
  return true;
}

}  // namespace tarvik
