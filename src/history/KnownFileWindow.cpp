#include "history/KnownFileWindow.h"

#include <algorithm>
#include <utility>

namespace tarvik {

KnownFileWindow::KnownFileWindow(HistoryThread& thread, std::int64_t volume_id, std::size_t rows,
                                 std::string first)
    : thread_(thread), volume_id_(volume_id), rows_(rows) {
  next_job_ = Read(next_, std::move(first), false);
}

std::uint64_t KnownFileWindow::Read(Window& window, std::string from, bool after) {
  return thread_.Post([this, &window, from = std::move(from), after](HistoryStore& store) {
    window.from = from;
    window.after = after;
    if (!store.KnownFrom(volume_id_, from, after, rows_, window.rows)) return false;
    window.to_end = window.rows.size() < rows_;
    return true;
  });
}

bool KnownFileWindow::File(std::string_view path, const KnownFile*& found) {
  if (!current_read_ || !current_.Holds(path)) {
    current_read_ = false;
    if (next_job_ != 0 && !thread_.Wait(next_job_)) return false;
    if (next_job_ != 0 && next_.Holds(path)) {
      std::swap(current_, next_);
    } else {
      // Off the order of paths: the window from the file's folder on is read and waited for,
      // so that it holds the folder's other files too; from the file on when the folder's
      // rows before it fill a window.
      const std::size_t separator = path.rfind('\\');
      const std::string_view folder =
          path.substr(0, separator == std::string_view::npos ? 0 : separator + 1);
      if (!thread_.Wait(Read(current_, std::string(folder), false))) return false;
      if (!current_.Holds(path) && !thread_.Wait(Read(current_, std::string(path), false))) {
        return false;
      }
    }
    current_read_ = true;
    hint_ = 0;
    next_job_ = current_.to_end ? 0 : Read(next_, current_.rows.back().first, true);
  }
  const KnownFiles& rows = current_.rows;
  if (hint_ >= rows.size() || rows[hint_].first != path) {
    hint_ =
        std::lower_bound(rows.begin(), rows.end(), path,
                         [](const auto& row, std::string_view key) { return row.first < key; }) -
        rows.begin();
  }
  found = hint_ < rows.size() && rows[hint_].first == path ? &rows[hint_++].second : nullptr;
  return true;
}

}  // namespace tarvik
