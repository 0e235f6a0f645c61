#include "digest/ValueWait.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tarvik {

#if defined(_WIN32)

// WaitOnAddress compares the bytes of the counter itself.
static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t) &&
              std::atomic<std::uint32_t>::is_always_lock_free);

void WaitWhile(const std::atomic<std::uint32_t>& value, std::uint32_t old) {
  WaitOnAddress(const_cast<std::atomic<std::uint32_t>*>(&value), &old, sizeof old, INFINITE);
}

void WakeOne(std::atomic<std::uint32_t>& value) { WakeByAddressSingle(&value); }

#else

void WaitWhile(const std::atomic<std::uint32_t>& value, std::uint32_t old) { value.wait(old); }

void WakeOne(std::atomic<std::uint32_t>& value) { value.notify_one(); }

#endif

}  // namespace tarvik
