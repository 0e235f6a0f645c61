#include "cli/ReportFile.h"

#include <optional>
#include <utility>

#include "util/Number.h"
#include "util/Utf8.h"

namespace tarvik {

namespace {

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

std::unique_ptr<ReportFile> ReportFile::Create(Platform& platform, const std::string& path,
                                               int& code) {
  std::unique_ptr<LineWriter> file = LineWriter::Create(platform, path, code);
  if (!file) return nullptr;
  std::unique_ptr<ReportFile> report(new ReportFile(std::move(file)));
  report->WriteRow({"path", "size", "bytes_read", "seconds", "mb_per_s", "outcome", "first_seen",
                    "last_mb_per_s"});
  code = report->LostRows();
  if (code != kNoError) return nullptr;
  return report;
}

void ReportFile::AddFile(const FileSpeed& file) {
  const std::optional<double> speed = MegabytesPerSecond(file.bytes, file.milliseconds);
  WriteRow({WellFormedUtf8(file.path), file.size < 0 ? "" : std::to_string(file.size),
            std::to_string(file.bytes), FormatFixed(file.milliseconds / 1000.0, 3),
            speed ? FormatFixed(*speed, 3) : "", FileOutcomeName(file.outcome),
            file.first_seen ? "yes" : "",
            file.slower_than ? FormatFixed(*file.slower_than, 3) : ""});
}

void ReportFile::WriteRow(std::initializer_list<std::string> fields) {
  std::string row;
  for (const std::string& field : fields) {
    if (&field != fields.begin()) row += ',';
    row += CsvField(field);
  }
  row += "\r\n";
  file_->Write(row);
}

}  // namespace tarvik
