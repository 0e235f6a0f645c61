#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "digest/Digest.h"

namespace tarvik {

// One line of a checksum file: a name, relative to the file's folder, with "/" between its
// parts, exactly as it names the file on disk, and the digest it should have.
struct ChecksumEntry {
  std::string name;
  Digest digest;
  // The line's number, counted from 1.
  int line = 0;
};

// Reads the lines of a checksum file as sha256sum, sha1sum and md5sum write them
// ("<hex>  <name>", "<hex> *<name>" for binary mode) and in the BSD tag form
// ("SHA256 (<name>) = <hex>", also "MD5", "SHA1"), each with the coreutils escapes of a name
// holding a backslash, a line feed or a carriage return (a line beginning with "\"). The kind of
// a GNU line comes from its digest's length. Lines may end in CR LF; "#" begins a comment; a
// UTF-8 byte order mark before the first line is left out.
//
// The text comes piece by piece, as read, so that a file of any size is read in bounded memory:
// a line longer than kMaxLineBytes cannot name a file that opens (a path has at most 4096 bytes)
// and is counted as overlong without being held: sha256sum -c fails it, so it is no mere
// comment.
class ChecksumLineReader {
 public:
  static constexpr std::size_t kMaxLineBytes = 65536;
  using EntryHandler = std::function<void(ChecksumEntry&)>;

  explicit ChecksumLineReader(EntryHandler on_entry) : on_entry_(std::move(on_entry)) {}

  // The next piece of the text: calls the handler for each entry of the lines it completes.
  void Add(std::string_view piece);
  // The end of the text: its last line needs no line feed.
  void End();

  // Lines that are neither an entry, a comment nor empty; the first of them, counted from 1.
  int Malformed() const { return malformed_; }
  int FirstMalformed() const { return first_malformed_; }
  // Lines longer than kMaxLineBytes; the first of them, counted from 1.
  int Overlong() const { return overlong_lines_; }
  int FirstOverlong() const { return first_overlong_; }

 private:
  void TakeLine(std::string_view line);

  EntryHandler on_entry_;
  std::string line_;
  bool overlong_ = false;
  int number_ = 0;
  int malformed_ = 0;
  int first_malformed_ = 0;
  int overlong_lines_ = 0;
  int first_overlong_ = 0;
};

// The line sha256sum writes for `name` (with its line feed): a name holding a backslash, a line
// feed or a carriage return is escaped and the line begins with "\".
std::string ChecksumLine(const Digest& digest, std::string_view name);

}  // namespace tarvik
