#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include "digest/Digest.h"

namespace tarvik {

// One running digest of each kind, computed by the system's own library (libcrypto on Linux,
// CNG on Windows). The algorithms are looked up and the contexts made once, here: starting a
// file costs no look-up and no block allocates.
class DigestContexts {
 public:
  // Throws IoError when the system gives no context for one of the kinds.
  DigestContexts();
  ~DigestContexts();
  DigestContexts(const DigestContexts&) = delete;
  DigestContexts& operator=(const DigestContexts&) = delete;

  // Starts the digest of `kind` afresh, whatever it was given before.
  void Begin(DigestKind kind);
  void Update(DigestKind kind, const char* bytes, std::size_t size);
  // The digest of the bytes since Begin.
  void Finish(DigestKind kind, Digest& digest);

 private:
  struct Handles;
  std::unique_ptr<Handles> handles_;
};

}  // namespace tarvik
