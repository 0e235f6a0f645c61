#include "scan/ListFile.h"

#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/IoError.h"
#include "platform/OwnedFile.h"
#include "util/Cp1251.h"
#include "util/Utf8.h"

namespace tarvik {

namespace {

constexpr std::string_view kDateLinePrefix = "Tarvik.exe.   Дата : ";
constexpr std::string_view kTitleLine = "          Список найденных файлов";
constexpr std::string_view kRuleLine = "-------------------------------------------";

// Writes `ch` as a reference to its code ("<U+20AC>"; a malformed byte, which no shown name
// holds, as U+110000 plus the byte).
void AppendReference(std::string& out, char32_t ch) {
  char reference[16];
  std::snprintf(reference, sizeof reference, "<U+%04X>", static_cast<unsigned>(ch));
  out += reference;
}

// The bytes of one line of the file. Each character the line cannot hold as it is is written
// as a reference to its code, so that two paths never give the same line: one the code page
// cannot hold; a carriage return or line feed, which Linux allows in a name and which would
// split one path over two lines; and "<" itself, which no name the program shows holds.
std::string LineBytes(std::string_view line) {
  std::string held;
  held.reserve(line.size());
  for (std::size_t pos = 0; pos < line.size();) {
    const std::size_t start = pos;
    const char32_t ch = DecodeUtf8(line, pos);
    if (ch == U'<' || ch == U'\r' || ch == U'\n' || !Cp1251Holds(ch)) {
      AppendReference(held, ch);
    } else {
      held.append(line, start, pos - start);
    }
  }
  std::string bytes = Utf8ToCp1251(held);
  bytes += "\r\n";
  return bytes;
}

std::string DateLine(const LocalDateTime& now) {
  std::string line(kDateLinePrefix);
  line += now.short_date;
  // A time of exactly midnight is left out, date alone.
  if (!now.midnight) {
    line += ' ';
    line += now.long_time;
  }
  return line;
}

}  // namespace

SaveDialog ListFileSaveDialog() {
  return {.title = "Выбрать файл для списка найденных",
          .filters = {{"Текстовые файлы", "*.TXT"}, {"Все файлы", "*.*"}},
          .default_extension = "TXT",
          .overwrite_prompt = true,
          .hide_read_only = true,
          .resizable = true,
          .initial_dir = {},
          .file_name = {}};
}

ListFile::ListFile(Platform& platform, Dialogs& dialogs, CheckBox& check_box6, SaveDialog& sd1,
                   const std::string& program_dir, std::string& list_file_name)
    : platform_(platform),
      dialogs_(dialogs),
      check_box6_(check_box6),
      sd1_(sd1),
      program_dir_(program_dir),
      list_file_name_(list_file_name) {}

bool ListFile::OpenListFile() {
  listing_ = false;
  lost_ = kNoError;
  if (!check_box6_.Checked()) return false;
  sd1_.initial_dir = program_dir_;
  sd1_.file_name = list_file_name_;
  const std::optional<std::string> chosen = dialogs_.SaveFile(sd1_);
  if (!chosen) {
    check_box6_.SetChecked(false);
    return false;
  }
  list_file_name_ = *chosen;

  OwnedFile file(platform_);
  const auto check = [](int code) {
    if (code != kNoError) throw ListFileError(code, false);
  };
  check(platform_.CreateTextFile(list_file_name_, file.Reset()));
  const std::string header[] = {DateLine(platform_.Now()), std::string(kTitleLine),
                                std::string(kRuleLine)};
  for (const std::string& line : header) check(platform_.Write(file.get(), LineBytes(line)));
  listing_ = true;
  return true;
}

bool ListFile::AppendListLine(const std::string& line) {
  if (!check_box6_.Checked()) return false;
  OwnedFile file(platform_);
  const int opened = platform_.FileExists(list_file_name_)
                         ? platform_.OpenForAppend(list_file_name_, file.Reset())
                         : kErrFileNotFound;
  // The list is a by-product of the check: a line that cannot be written is not worth
  // stopping it for, only worth telling at its end.
  const int written = opened == kNoError ? platform_.Write(file.get(), LineBytes(line)) : opened;
  if (listing_ && lost_ == kNoError) lost_ = written;
  return opened == kNoError;
}

int ListFile::EndList() {
  AppendListLine(kListFileEndLine);
  listing_ = false;
  return std::exchange(lost_, kNoError);
}

}  // namespace tarvik
