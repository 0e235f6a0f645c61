#pragma once

#include <cstddef>
#include <cstdlib>
#if defined(_WIN32)
#include <malloc.h>
#endif

namespace tarvik {

// Memory that starts at a multiple of `alignment`, a power of two; `size` a multiple of it.
// Null when there is none. Windows' C runtime has no aligned_alloc, and what its own function
// gives must go back through its own free.
inline void* AllocateAligned(std::size_t alignment, std::size_t size) {
#if defined(_WIN32)
  return _aligned_malloc(size, alignment);
#else
  return std::aligned_alloc(alignment, size);
#endif
}

inline void FreeAligned(void* memory) {
#if defined(_WIN32)
  _aligned_free(memory);
#else
  std::free(memory);
#endif
}

}  // namespace tarvik
