#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "history/HistoryStore.h"

namespace tarvik {

// The store's work during a check, on a thread of its own so that it overlaps the walk: the
// check's file rows are written in batches and committed about once a second, and other work
// (the last check's rows of the next folder) runs as jobs in the order posted. While the thread
// runs, the store is its alone; once Stop returns, the caller's again. A failed write ends the
// writing (rows queued and added later are dropped) while jobs go on reading; a failed job ends
// all of the thread's work. WriteError and Stop tell why.
class HistoryThread {
 public:
  // At most this many rows wait to be written; a check that gets so far ahead waits.
  static constexpr std::size_t kQueuedRows = 16 * HistoryStore::kBatchFiles;
  // So many rows queued wake the thread; fewer are written at the next commit.
  static constexpr std::size_t kWakeRows = 4 * HistoryStore::kBatchFiles;

  // Throws IoError when the thread cannot start, as the hashing thread does: the system is
  // short of memory, which ends the command.
  HistoryThread(HistoryStore& store, std::int64_t volume_id, std::int64_t check_id);
  ~HistoryThread() { Stop(); }
  HistoryThread(const HistoryThread&) = delete;
  HistoryThread& operator=(const HistoryThread&) = delete;

  // Queues the row of a file met; the queue's buffers are reused, so that a row no longer than
  // those before takes no allocation. False once the writing or the work has ended.
  bool Add(const FileRow& row);
  // Why the writing ended, "" while it goes on.
  std::string WriteError();
  // Runs `job` on the thread after the jobs posted before it; its number for Wait.
  using Job = std::function<bool(HistoryStore&)>;
  std::uint64_t Post(Job job);
  // Waits until job `ticket` has run; false when the work has ended.
  bool Wait(std::uint64_t ticket);
  // Writes the rows queued, runs the jobs posted and ends the thread; the error that ended
  // its work, "" for none.
  std::string Stop();

 private:
  void Run();
  // Under the lock: the writing, or all the work, has ended with the store's last error.
  void Fail(bool all);
  // Writes the rows queued, unlocking meanwhile; false when that fails.
  bool WriteQueued(std::unique_lock<std::mutex>& lock);

  HistoryStore& store_;
  const std::int64_t volume_id_;
  const std::int64_t check_id_;
  std::mutex mutex_;
  // Wakes the thread: kWakeRows rows queued, a job posted, or the thread asked to stop.
  std::condition_variable work_;
  // Wakes the check: rows written (room in the queue) or a job run.
  std::condition_variable done_;
  // The first `queued_count_` rows of `queued_` wait to be written; the thread swaps them with
  // `writing_` to write them unlocked.
  std::vector<FileRow> queued_;
  std::size_t queued_count_ = 0;
  std::vector<FileRow> writing_;
  std::deque<Job> jobs_;
  std::uint64_t posted_ = 0;
  std::uint64_t jobs_done_ = 0;
  bool stopping_ = false;
  bool failed_ = false;
  bool writes_failed_ = false;
  std::string error_;
  std::thread thread_;
};

}  // namespace tarvik
