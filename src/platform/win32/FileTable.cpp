#include "platform/win32/FileTable.h"

#include <windows.h>

#include <algorithm>

namespace tarvik {

FileTable::~FileTable() {
  for (std::size_t file = 0; file < files_.size(); ++file) Remove(static_cast<FileHandle>(file));
}

FileHandle FileTable::Add(OpenFile file) {
  auto free = std::find(files_.begin(), files_.end(), nullptr);
  if (free == files_.end()) free = files_.insert(free, nullptr);
  *free = std::make_unique<OpenFile>(std::move(file));
  return static_cast<FileHandle>(free - files_.begin());
}

OpenFile* FileTable::Find(FileHandle file) {
  if (file < 0 || static_cast<std::size_t>(file) >= files_.size()) return nullptr;
  return files_[static_cast<std::size_t>(file)].get();
}

void FileTable::Remove(FileHandle file) {
  OpenFile* open = Find(file);
  if (open == nullptr) return;
  if (open->writer != nullptr) CloseHandle(open->writer);
  files_[static_cast<std::size_t>(file)].reset();
}

}  // namespace tarvik
