// Reads one file through Win32Platform in blocks and prints the speed:
//   tarvik-win32-readbench PATH [BLOCK_BYTES] [wait]
// "wait" reads with ReadWaiting, as a check does, otherwise with Read.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/Win32Platform.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tarvik-win32-readbench PATH [BLOCK_BYTES] [wait]\n");
    return 2;
  }
  const std::size_t block = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 32768;
  const bool waiting = argc > 3 && std::string(argv[3]) == "wait";
  tarvik::Win32Platform platform;
  tarvik::FileHandle file = tarvik::kNoFile;
  if (const int code = platform.OpenForReading(argv[1], file); code != tarvik::kNoError) {
    std::fprintf(stderr, "cannot open %s: %d\n", argv[1], code);
    return 1;
  }
  std::string buffer(block, '\0');
  const std::function<bool()> keep_waiting = [] { return true; };
  const auto start = std::chrono::steady_clock::now();
  std::size_t total = 0;
  int code = tarvik::kNoError;
  for (std::size_t done = 1; code == tarvik::kNoError && done > 0; total += done) {
    code = waiting ? platform.ReadWaiting(file, buffer.data(), block, done, keep_waiting)
                   : platform.Read(file, buffer.data(), block, done);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  platform.Close(file);
  std::printf("%zu bytes in %.3f s: %.0f MB/s (code %d)\n", total, seconds, total / seconds / 1e6,
              code);
  return code == tarvik::kNoError ? 0 : 1;
}
