#pragma once

#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/FileReader.h"

namespace tarvik {

// One open file: a reader for a file opened for reading, a plain handle for one opened for
// writing.
struct OpenFile {
  std::unique_ptr<FileReader> reader;
  void* writer = nullptr;  // a HANDLE

  void* handle() const { return reader ? reader->handle() : writer; }
};

// The open files by the numbers (FileHandle) the program holds them by; a number is given
// again once its file is closed.
class FileTable {
 public:
  FileTable() = default;
  ~FileTable();
  FileTable(const FileTable&) = delete;
  FileTable& operator=(const FileTable&) = delete;

  FileHandle Add(OpenFile file);
  // nullptr for a number that holds no open file.
  OpenFile* Find(FileHandle file);
  // Closes the file.
  void Remove(FileHandle file);

 private:
  std::vector<std::unique_ptr<OpenFile>> files_;
};

}  // namespace tarvik
