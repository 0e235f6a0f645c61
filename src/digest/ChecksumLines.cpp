#include "digest/ChecksumLines.h"

#include <optional>
#include <utility>

namespace tarvik {

namespace {

constexpr std::pair<std::string_view, DigestKind> kTags[] = {{"SHA256", DigestKind::kSha256},
                                                             {"SHA2-256", DigestKind::kSha256},
                                                             {"SHA1", DigestKind::kSha1},
                                                             {"MD5", DigestKind::kMd5}};

// The name of an escaped line: "\\" is a backslash, "\n" a line feed; false for any other.
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
  if (!digest || entry.name.empty()) return std::nullopt;
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

ChecksumLines ParseChecksumLines(std::string_view text) {
  ChecksumLines lines;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || line[start] == '#') continue;
    line.remove_prefix(start);
    const bool escaped = line.starts_with('\\');
    if (escaped) line.remove_prefix(1);
    std::optional<ChecksumEntry> entry = TagLine(line, escaped);
    if (!entry) entry = GnuLine(line, escaped);
    if (entry) {
      lines.entries.push_back(std::move(*entry));
    } else if (lines.malformed++ == 0) {
      lines.first_malformed = number;
    }
  }
  return lines;
}

std::string ChecksumLine(const Digest& digest, std::string_view name) {
  const bool escaped = name.find_first_of("\\\n") != std::string_view::npos;
  std::string line = escaped ? "\\" : "";
  line += HexText(digest);
  line += "  ";
  for (const char c : name) {
    if (c == '\\') {
      line += "\\\\";
    } else if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  line += '\n';
  return line;
}

}  // namespace tarvik
