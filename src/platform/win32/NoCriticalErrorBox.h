#pragma once

#include <windows.h>

namespace tarvik {

// While it lives, a call of this thread about a drive without its medium fails with an error
// (ERROR_NOT_READY) instead of showing the system's box that asks for the disc.
class NoCriticalErrorBox {
 public:
  NoCriticalErrorBox() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
  ~NoCriticalErrorBox() { SetThreadErrorMode(previous_, nullptr); }
  NoCriticalErrorBox(const NoCriticalErrorBox&) = delete;
  NoCriticalErrorBox& operator=(const NoCriticalErrorBox&) = delete;

 private:
  DWORD previous_ = 0;
};

}  // namespace tarvik
