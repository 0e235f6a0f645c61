#include "history/HistoryThread.h"

#include <system_error>
#include <utility>

#include "platform/IoError.h"

namespace tarvik {

namespace {

constexpr auto kCommitEvery = std::chrono::seconds(1);

}  // namespace

HistoryThread::HistoryThread(HistoryStore& store, std::int64_t volume_id, std::int64_t check_id)
    : store_(store), volume_id_(volume_id), check_id_(check_id), queued_(kQueuedRows), writing_(kQueuedRows) {
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    throw IoError(kErrNotEnoughMemory, "Not enough memory to start a thread");
  }
}

bool HistoryThread::Add(const FileRow& row) {
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] {
    return failed_ || writes_failed_ || queued_count_ < queued_.size();
  });
  if (failed_ || writes_failed_) return false;
  queued_[queued_count_++] = row;
  // Fewer rows wait for the commit, at most a second.
  if (queued_count_ == kWakeRows) work_.notify_one();
  return true;
}

std::uint64_t HistoryThread::Post(Job job) {
  std::lock_guard lock(mutex_);
  jobs_.push_back(std::move(job));
  work_.notify_one();
  return ++posted_;
}

bool HistoryThread::Wait(std::uint64_t ticket) {
  std::unique_lock lock(mutex_);
  done_.wait(lock, [&] { return failed_ || jobs_done_ >= ticket; });
  return !failed_;
}

std::string HistoryThread::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    work_.notify_one();
  }
  if (thread_.joinable()) thread_.join();
  return error_;
}

std::string HistoryThread::WriteError() {
  std::lock_guard lock(mutex_);
  return writes_failed_ || failed_ ? error_ : "";
}

void HistoryThread::Fail(bool all) {
  if (error_.empty()) error_ = store_.LastError();
  writes_failed_ = true;
  queued_count_ = 0;
  if (all) {
    failed_ = true;
    jobs_.clear();
  }
  done_.notify_all();
}

bool HistoryThread::WriteQueued(std::unique_lock<std::mutex>& lock) {
  std::swap(queued_, writing_);
  const std::size_t count = std::exchange(queued_count_, 0);
  done_.notify_all();
  lock.unlock();
  const bool written = store_.AddFiles(volume_id_, check_id_, writing_.data(), count);
  lock.lock();
  return written;
}

void HistoryThread::Run() {
  auto commit_at = std::chrono::steady_clock::now() + kCommitEvery;
  bool uncommitted = false;
  std::unique_lock lock(mutex_);
  while (true) {
    if (failed_) {
      // Nothing more is written or read; jobs posted meanwhile are dropped.
      jobs_.clear();
    } else if (!jobs_.empty()) {
      // The check may be waiting for a job: jobs go before rows.
      Job job = std::move(jobs_.front());
      jobs_.pop_front();
      lock.unlock();
      const bool ran = job(store_);
      lock.lock();
      if (!ran) {
        Fail(true);
      } else {
        ++jobs_done_;
        done_.notify_all();
      }
      continue;
    } else {
      const auto now = std::chrono::steady_clock::now();
      const bool due = now >= commit_at;
      if (queued_count_ >= kWakeRows || (queued_count_ > 0 && (due || stopping_))) {
        if (WriteQueued(lock)) {
          uncommitted = true;
        } else {
          Fail(false);
        }
        continue;
      }
      if (due) {
        commit_at = now + kCommitEvery;
        if (uncommitted) {
          lock.unlock();
          const bool committed = store_.Commit();
          lock.lock();
          if (!committed) Fail(false);
          uncommitted = false;
        }
        continue;
      }
    }
    if (stopping_) return;
    if (failed_) {
      work_.wait(lock);
    } else {
      work_.wait_until(lock, commit_at);
    }
  }
}

}  // namespace tarvik
