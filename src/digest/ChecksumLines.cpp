#include "digest/ChecksumLines.h"

#include <optional>
#include <utility>

namespace tarvik {

namespace {

constexpr std::pair<std::string_view, DigestKind> kTags[] = {{"SHA256", DigestKind::kSha256},
                                                             {"SHA2-256", DigestKind::kSha256},
                                                             {"SHA1", DigestKind::kSha1},
                                                             {"MD5", DigestKind::kMd5}};

// The name of an escaped line: "\\" is a backslash, "\n" a line feed, "\r" a carriage return;
// false for any other.
bool Unescape(std::string_view text, std::string& name) {
  name.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      name += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    if (text[i] == '\\') {
      name += '\\';
    } else if (text[i] == 'n') {
      name += '\n';
    } else if (text[i] == 'r') {
      name += '\r';
    } else {
      return false;
    }
  }
  return true;
}

std::optional<ChecksumEntry> Entry(std::string_view name, std::string_view hex,
                                   std::optional<DigestKind> kind, bool escaped) {
  ChecksumEntry entry;
  if (escaped) {
    if (!Unescape(name, entry.name)) return std::nullopt;
  } else {
    entry.name = name;
  }
  const std::optional<Digest> digest = DigestFromHex(hex, kind);
  // No file system holds a name with a NUL, which sha256sum would cut short there.
  if (!digest || entry.name.empty() || entry.name.find('\0') != std::string::npos) {
    return std::nullopt;
  }
  entry.digest = *digest;
  return entry;
}

// "SHA256 (name) = hex", the space before "(" optional as OpenSSL leaves it out.
std::optional<ChecksumEntry> TagLine(std::string_view line, bool escaped) {
  for (const auto& [tag, kind] : kTags) {
    if (!line.starts_with(tag)) continue;
    std::string_view rest = line.substr(tag.size());
    if (rest.starts_with(' ')) rest.remove_prefix(1);
    if (!rest.starts_with('(')) continue;
    std::size_t close = rest.rfind(") = ");
    std::size_t hex_at = close + 4;
    if (close == std::string_view::npos) {
      close = rest.rfind(")= ");
      hex_at = close + 3;
    }
    if (close == std::string_view::npos) return std::nullopt;
    return Entry(rest.substr(1, close - 1), rest.substr(hex_at), kind, escaped);
  }
  return std::nullopt;
}

// "hex  name" or "hex *name".
std::optional<ChecksumEntry> GnuLine(std::string_view line, bool escaped) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos || space + 2 > line.size()) return std::nullopt;
  const char mode = line[space + 1];
  if (mode != ' ' && mode != '*') return std::nullopt;
  return Entry(line.substr(space + 2), line.substr(0, space), std::nullopt, escaped);
}

}  // namespace

void ChecksumLineReader::Add(std::string_view piece) {
  while (!piece.empty()) {
    const std::size_t end = piece.find('\n');
    const std::string_view part = piece.substr(0, end);
    piece.remove_prefix(end == std::string_view::npos ? piece.size() : end + 1);
    if (!overlong_ && line_.size() + part.size() > kMaxLineBytes) {
      overlong_ = true;
      line_.clear();
    }
    if (!overlong_) line_ += part;
    if (end == std::string_view::npos) return;
    TakeLine(line_);
    line_.clear();
    overlong_ = false;
  }
}

void ChecksumLineReader::End() {
  if (!line_.empty() || overlong_) TakeLine(line_);
  line_.clear();
  overlong_ = false;
}

void ChecksumLineReader::TakeLine(std::string_view line) {
  ++number_;
  if (overlong_) {
    if (overlong_lines_++ == 0) first_overlong_ = number_;
    return;
  }
  if (line.ends_with('\r')) line.remove_suffix(1);
  // Windows editors begin a UTF-8 text with a byte order mark, which is no part of the line.
  if (number_ == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  const std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos || line[start] == '#') return;
  line.remove_prefix(start);
  const bool escaped = line.starts_with('\\');
  if (escaped) line.remove_prefix(1);
  std::optional<ChecksumEntry> entry = TagLine(line, escaped);
  if (!entry) entry = GnuLine(line, escaped);
  if (entry) {
    entry->line = number_;
    on_entry_(*entry);
  } else if (malformed_++ == 0) {
    first_malformed_ = number_;
  }
}

std::string ChecksumLine(const Digest& digest, std::string_view name) {
  const bool escaped = name.find_first_of("\\\n\r") != std::string_view::npos;
  std::string line = escaped ? "\\" : "";
  line += HexText(digest);
  line += "  ";
  for (const char c : name) {
    if (c == '\\') {
      line += "\\\\";
    } else if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else {
      line += c;
    }
  }
  line += '\n';
  return line;
}

}  // namespace tarvik
