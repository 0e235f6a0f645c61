#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tarvik {

// The directories whose latest reading failed (at the open or part way), each by a key of the
// platform's (a POSIX path, a share's path) with the error, an errno or a result code. A list
// filled from such a reading misses entries even when the next reading of the directory succeeds,
// as it does after a fault that came once, so the failure outlives that reading: it ends only when
// it has been reported and a later reading then read the directory to its end.
class FailedListings {
 public:
  // A reading of `posix_directory` ended with `error`, 0 when it was read to its end.
  void Read(const std::string& posix_directory, int error);
  // The error of the failed reading of the directory that is still owed, 0 when none; it counts
  // as reported from now on.
  int Report(const std::string& posix_directory);

 private:
  struct Failure {
    std::string posix_directory;
    int error = 0;
    bool reported = false;
  };
  // Failures never asked for (directories the user looked into and left) are dropped, the oldest
  // first, beyond this many.
  static constexpr std::size_t kMaxFailures = 64;

  std::vector<Failure>::iterator Find(const std::string& posix_directory);

  std::vector<Failure> failures_;
};

}  // namespace tarvik
