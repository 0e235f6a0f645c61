#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "digest/Digest.h"

namespace tarvik {

// One line of a checksum file: a name, relative to the file's folder, with "/" between its
// parts, exactly as it names the file on disk, and the digest it should have.
struct ChecksumEntry {
  std::string name;
  Digest digest;
};

struct ChecksumLines {
  std::vector<ChecksumEntry> entries;
  // Lines that are neither an entry, a comment nor empty; the first of them, counted from 1.
  int malformed = 0;
  int first_malformed = 0;
};

// Reads the lines of a checksum file as sha256sum, sha1sum and md5sum write them
// ("<hex>  <name>", "<hex> *<name>" for binary mode) and in the BSD tag form
// ("SHA256 (<name>) = <hex>", also "MD5", "SHA1"), each with the coreutils escapes of a name
// holding a backslash or a line feed (a line beginning with "\"). The kind of a GNU line comes
// from its digest's length. Lines may end in CR LF; "#" begins a comment.
ChecksumLines ParseChecksumLines(std::string_view text);

// The line sha256sum writes for `name` (with its line feed): a name holding a backslash or a
// line feed is escaped and the line begins with "\".
std::string ChecksumLine(const Digest& digest, std::string_view name);

}  // namespace tarvik
