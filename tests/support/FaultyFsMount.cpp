// tarvik-faulty-mount: mounts a faulty medium that every process sees (for the Windows tests,
// which reach it through Wine's Z: drive), prints its mount point and stays until SIGTERM or
// SIGINT, or until its parent ends, then unmounts it. Its files:
//   GOOD.BIN  20,000 bytes that read well
//   BAD.BIN   20,000 bytes of which those from 8,192 on fail to read (EIO)
//   HANG.BIN  2 MiB whose reads from 1 MiB on are each answered only 1.5 s after they came, as
//             reads that hang in a drive would be; a hold ends so that the reader can exit.
//             (Wine's server reads the start of a file as it opens it: a hold there would
//             hold the server, not the reader.)
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>
#include <optional>
#include <string>

#include "support/FaultyFs.h"

namespace {

constexpr std::size_t kHangSize = 2 << 20;

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('A' + i % 23);
  return bytes;
}

}  // namespace

int main() {
  using tarvik::FaultyFs;
  // Blocked before the file system's thread starts, so that only sigtimedwait takes them.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  // The medium goes with the script that mounted it, however that ends.
  const pid_t parent = getppid();
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) return 1;
  try {
    FaultyFs medium({FaultyFs::File("GOOD.BIN", Pattern(20000)),
                     FaultyFs::File("BAD.BIN", Pattern(20000), FaultyFs::Faults().EioFrom(8192)),
                     FaultyFs::File("HANG.BIN", Pattern(kHangSize),
                                    FaultyFs::Faults().HoldReadsFrom(kHangSize / 2))},
                    tarvik::FaultyFsScope::kEveryProcess);
    std::printf("%s\n", medium.mount_point().c_str());
    std::fflush(stdout);
    constexpr auto kHold = std::chrono::milliseconds(1500);
    std::optional<std::chrono::steady_clock::time_point> held_since;
    const timespec tick{0, 50'000'000};
    while (sigtimedwait(&stop, nullptr, &tick) < 0) {
      const auto now = std::chrono::steady_clock::now();
      if (!held_since && medium.HeldReads() > 0) held_since = now;
      if (held_since && now - *held_since >= kHold) {
        medium.ReleaseReads();
        held_since.reset();
      }
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tarvik-faulty-mount: %s\n", error.what());
    return 1;
  }
  return 0;
}
