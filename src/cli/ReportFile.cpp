#include "cli/ReportFile.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "util/Number.h"

namespace tarvik {

namespace {

std::string OutcomeName(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::kOk:
      return "ok";
    case FileOutcome::kNotFound:
      return "not-found";
    case FileOutcome::kFirstOpen:
      return "open1";
    case FileOutcome::kSecondOpen:
      return "open2";
    case FileOutcome::kRead:
      return "read";
    case FileOutcome::kSize:
      return "size";
    case FileOutcome::kAbort:
      return "abort";
  }
  return "";
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

}  // namespace

std::unique_ptr<ReportFile> ReportFile::Create(const std::string& path, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wbe");
  if (file == nullptr) {
    error = "cannot create the report '" + path + "': " + std::strerror(errno);
    return nullptr;
  }
  std::unique_ptr<ReportFile> report(new ReportFile(file));
  report->WriteRow({"path", "size", "bytes_read", "seconds", "mb_per_s", "outcome"});
  return report;
}

ReportFile::~ReportFile() { std::fclose(file_); }

void ReportFile::AddFile(const FileSpeed& file) {
  const std::optional<double> speed = MegabytesPerSecond(file.bytes, file.milliseconds);
  WriteRow({file.path, file.size < 0 ? "" : std::to_string(file.size), std::to_string(file.bytes),
            FormatFixed(file.milliseconds / 1000.0, 3), speed ? FormatFixed(*speed, 3) : "",
            OutcomeName(file.outcome)});
}

void ReportFile::WriteRow(std::initializer_list<std::string> fields) {
  std::string row;
  for (const std::string& field : fields) {
    if (&field != fields.begin()) row += ',';
    row += CsvField(field);
  }
  row += "\r\n";
  std::fwrite(row.data(), 1, row.size(), file_);
  std::fflush(file_);
}

}  // namespace tarvik
