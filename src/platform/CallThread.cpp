#include "platform/CallThread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/IoError.h"

namespace tarvik {

struct CallThread::State {
  std::mutex mutex;
  std::condition_variable changed;
  std::thread thread;
  std::function<void()> call;
  bool pending = false;  // `call` waits for the thread or is being done
  std::deque<std::function<void()>> posted;
  bool running = false;  // a call, posted or not, is being done
  bool stopping = false;

  // Wakes the other side with the lock let go, so that it need not wait for it at once.
  static void NotifyUnlocked(State& state, std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    state.changed.notify_all();
    lock.lock();
  }

  // The thread's loop. It holds its own reference, so the state outlives an owner that let
  // it go while it was busy.
  static void Serve(const std::shared_ptr<State>& self) {
    State& state = *self;
    std::unique_lock lock(state.mutex);
    while (true) {
      state.changed.wait(lock,
                         [&] { return state.stopping || state.pending || !state.posted.empty(); });
      const bool posted = !state.posted.empty();
      if (!posted && !state.pending) return;
      std::function<void()> call;
      if (posted) {
        call = std::move(state.posted.front());
        state.posted.pop_front();
      } else {
        call = std::move(state.call);
      }
      state.running = true;
      lock.unlock();
      call();
      call = nullptr;  // what it holds goes here, not under the lock
      lock.lock();
      state.running = false;
      if (posted) continue;
      state.pending = false;
      NotifyUnlocked(state, lock);
    }
  }
};

CallThread::~CallThread() {
  if (!state_) return;
  std::unique_lock lock(state_->mutex);
  state_->stopping = true;
  state_->changed.notify_all();
  if (state_->running || state_->pending || !state_->posted.empty()) {
    state_->thread.detach();
    return;
  }
  lock.unlock();
  state_->thread.join();
}

bool CallThread::Busy() const {
  if (!state_) return false;
  std::lock_guard lock(state_->mutex);
  return state_->pending;
}

bool CallThread::Start() {
  if (state_) return true;
  auto state = std::make_shared<State>();
  try {
    state->thread = std::thread([self = state] { State::Serve(self); });
  } catch (const std::system_error&) {
    return false;
  }
  state_ = std::move(state);
  return true;
}

void CallThread::Post(std::function<void()> call) {
  if (!Start()) {
    call();
    return;
  }
  std::lock_guard lock(state_->mutex);
  state_->posted.push_back(std::move(call));
  state_->changed.notify_all();
}

bool CallThread::Run(std::function<void()> call, const std::function<bool()>& waiting) {
  if (!Start()) throw IoError(kErrNotEnoughMemory, "Not enough memory to start a thread");
  State& state = *state_;
  std::unique_lock lock(state.mutex);
  if (state.pending) return false;
  state.call = std::move(call);
  state.pending = true;
  State::NotifyUnlocked(state, lock);
  if (!waiting) {
    state.changed.wait(lock, [&] { return !state.pending; });
    return true;
  }
  while (!state.changed.wait_for(lock, std::chrono::milliseconds(kWaitMs),
                                 [&] { return !state.pending; })) {
    // The caller's work runs unlocked, so the thread can finish meanwhile.
    lock.unlock();
    const bool keep_waiting = waiting();
    lock.lock();
    if (!keep_waiting) return false;
  }
  return true;
}

}  // namespace tarvik
