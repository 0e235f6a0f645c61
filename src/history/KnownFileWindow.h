#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "history/HistoryThread.h"
#include "history/KnownFile.h"

namespace tarvik {

// The known rows of a volume's files, read on the history's thread a window of rows at a
// time in the order of their paths. The walk mostly meets files in that order, so a window
// answers many files in a row, and the window after it is read while they are checked. A file
// outside both is waited for: its window is read from its folder on. Memory follows the
// window's size, twice.
class KnownFileWindow {
 public:
  static constexpr std::size_t kRows = 4096;

  // `rows`: the rows of a window, at least 1. The window from `first` on (the start folder,
  // where the walk's first files mostly are) is read at once, so that the first file does not
  // wait for it.
  KnownFileWindow(HistoryThread& thread, std::int64_t volume_id, std::size_t rows,
                  std::string first);

  // The known row of `path` (relative to the volume's root), null when there is none; false
  // when the database could not be read.
  bool File(std::string_view path, const KnownFile*& found);

 private:
  // Known rows in a range of paths: all of them from `from` (past it when
  // `after`) to the last row's, or to the end when `to_end`.
  struct Window {
    std::string from;
    bool after = false;
    bool to_end = false;
    KnownFiles rows;
    bool Holds(std::string_view path) const {
      return (after ? path > from : path >= from) && (to_end || path <= rows.back().first);
    }
  };

  // Reads `window` from `from` on (past it when `after`) on the thread; the job's number.
  std::uint64_t Read(Window& window, std::string from, bool after);

  HistoryThread& thread_;
  const std::int64_t volume_id_;
  const std::size_t rows_;
  Window current_;
  bool current_read_ = false;
  // The row of current_ after the one found last: where the next file mostly is.
  std::size_t hint_ = 0;
  // The window after current_, read meanwhile by job next_job_ (0: none, current_ goes to the
  // end).
  Window next_;
  std::uint64_t next_job_ = 0;
};

}  // namespace tarvik
