#pragma once

#include <string>

namespace tarvik {

// A small tmpfs mounted on a directory for one test, in a mount namespace of the test's own
// so that no other process sees it; unmounted when the object goes. Mounting needs
// privileges that a test machine may not grant: check mounted() and skip without them.
class ScopedMount {
 public:
  // `size`: the tmpfs's size option ("1m", "8k").
  explicit ScopedMount(const std::string& directory, const std::string& size = "1m");
  ~ScopedMount();
  ScopedMount(const ScopedMount&) = delete;
  ScopedMount& operator=(const ScopedMount&) = delete;

  bool mounted() const { return mounted_; }
  // Remounts the file system read-only; false when that fails.
  bool MakeReadOnly();

 private:
  std::string directory_;
  bool mounted_ = false;
};

}  // namespace tarvik
