#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "scan/ExpectedSums.h"
#include "scan/FileHistory.h"
#include "scan/ReadSpeed.h"

namespace tarvik {

// What one check command shares between the file check, the directory pass and the walk. The
// counters are 64-bit: a DVD holds more than 2 GiB, and its files can be larger than that.
struct ScanState {
  // Esc asked to stop; each level asks its own question when it next looks.
  bool AbortFlag = false;
  // Files whose first open for reading succeeded.
  std::int64_t FilesOpened = 0;
  // Bytes delivered by every read of the command.
  std::int64_t BytesRead = 0;
  // BytesRead in kilobytes of 1000 bytes, as last shown.
  double KilobytesRead = 0;
  std::uint32_t StartTick = 0;
  std::uint32_t LastTick = 0;
  std::uint16_t Hours = 0;
  std::uint16_t Minutes = 0;
  std::uint16_t Seconds = 0;
  // A check command is in progress: a second start does nothing until it ends.
  bool Running = false;
  // The main window was closed during the command: every level ends at its next test point,
  // as if the user had confirmed the abort, and nothing more is asked or shown.
  bool Closing = false;
  // Files that the command itself writes as it goes (a report, a checksum file), in drive
  // form: left out of the check, as what they hold tells nothing of the medium.
  std::vector<std::string> WrittenFiles;
  // The list file the start command writes as it goes, in drive form; empty while it writes
  // none. Left out of the check as the WrittenFiles are: read half-written, it would get a
  // fingerprint that its finished content no longer matches.
  std::string ListFilePath;
  // The directory the command started in, normalised: the one fingerprints are named from.
  std::string StartDirectory;
  // Every file read without a problem gets its SHA-256 (FileSpeed::fingerprint).
  bool WantFingerprints = false;
  // The checksum files the command verifies the files it reads against; empty for none.
  std::span<ExpectedSums> Checksums;
  // Compares every file with the volume's last check and keeps it; null while not recording.
  FileHistory* History = nullptr;
  // The read speed of the command, file by file.
  ReadSpeed Speed;
};

}  // namespace tarvik
