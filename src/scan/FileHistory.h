#pragma once

#include "scan/ReadSpeed.h"

namespace tarvik {

// What earlier checks of the volume said of its files, told each file at its end.
class FileHistory {
 public:
  virtual ~FileHistory() = default;
  // Compares the file with the last check of the volume and marks what differs (first_seen,
  // slower_than). True when its content changed while its size and modification time did not.
  virtual bool Compare(FileSpeed& file) = 0;
  // Keeps the file, with its outcome final.
  virtual void Record(const FileSpeed& file) = 0;
};

}  // namespace tarvik
