#include "scan/LineWriter.h"

namespace tarvik {

std::unique_ptr<LineWriter> LineWriter::Create(Platform& platform, const std::string& path,
                                               int& code) {
  FileHandle file = kNoFile;
  code = platform.CreateTextFile(path, file);
  if (code != kNoError) return nullptr;
  return std::unique_ptr<LineWriter>(new LineWriter(platform, file));
}

LineWriter::~LineWriter() { platform_.Close(file_); }

void LineWriter::Write(std::string_view line) {
  if (lost_ == kNoError) lost_ = platform_.Write(file_, line);
}

}  // namespace tarvik
