#pragma once

#include <atomic>
#include <cstdint>

namespace tarvik {

// Sleeping until a counter changes, and waking the one who sleeps on it: std::atomic's own wait
// (a futex) on Linux, WaitOnAddress on Windows. mingw-w64's std::atomic::wait can sleep through
// a wake: it reads the value, then sleeps on a condition variable that the waker signals
// without taking its lock, and a wake between the two is lost.
// Returns when `value` no longer holds `old`, and at times without cause: callers check again.
void WaitWhile(const std::atomic<std::uint32_t>& value, std::uint32_t old);
void WakeOne(std::atomic<std::uint32_t>& value);

}  // namespace tarvik
