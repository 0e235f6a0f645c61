#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "digest/ChecksumLines.h"

namespace tarvik {
namespace {

const std::string kMd5 = "900150983cd24fb0d6963f7d28e17f72";
const std::string kSha1 = "a9993e364706816aba3e25717850c26c9cd0d89d";
const std::string kSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

TEST(ChecksumLinesTest, ReadsEachFormOnceAndCountsWhatItCannot) {
  struct Case {
    std::string text;
    std::string name;  // empty: no entry, one malformed line
    DigestKind kind = DigestKind::kSha256;
  };
  const Case cases[] = {
      {kSha256 + "  with  spaces \n", "with  spaces "},
      {kMd5 + " *binary.iso\n", "binary.iso", DigestKind::kMd5},
      {"\\" + kSha1 + "  back\\\\slash\\nline", "back\\slash\nline", DigestKind::kSha1},
      {kMd5 + "  ./dos\r\n", "./dos", DigestKind::kMd5},
      {"  " + kSha256 + "  indented", "indented"},
      {"SHA256 (a (1).txt) = " + kSha256, "a (1).txt"},
      {"MD5 (x) = " + kMd5, "x", DigestKind::kMd5},
      {"SHA2-256(openssl)= " + kSha256, "openssl"},
      {"\\SHA1 (new\\nline) = " + kSha1, "new\nline", DigestKind::kSha1},
      {"\\" + kMd5 + "  car\\rriage\r\n", "car\rriage", DigestKind::kMd5},
      {kMd5 + "  nul" + std::string(1, '\0'), ""},
      {kMd5 + "  " + std::string(ChecksumLineReader::kMaxLineBytes, 'x'), ""},
      {"MD5 (x) = " + kSha256, ""},
      {kSha256.substr(2) + "  odd length", ""},
      {"\\" + kMd5 + "  tab\\tescape", ""},
      {kMd5 + " one space", ""},
      {"zz" + kMd5.substr(2) + "  not hex", ""},
      {kMd5 + "  ", ""},
  };
  for (const Case& c : cases) {
    std::vector<ChecksumEntry> entries;
    ChecksumLineReader reader([&](ChecksumEntry& entry) { entries.push_back(entry); });
    // In pieces smaller than a line, as a file is read.
    const std::string text = "# a comment\n\n" + c.text;
    for (std::size_t at = 0; at < text.size(); at += 7) reader.Add(text.substr(at, 7));
    reader.End();
    if (c.name.empty()) {
      // A line too long to hold is told apart: no name in it can open.
      const bool overlong = c.text.size() > ChecksumLineReader::kMaxLineBytes;
      EXPECT_TRUE(entries.empty()) << c.text;
      EXPECT_EQ(reader.Malformed(), overlong ? 0 : 1) << c.text;
      EXPECT_EQ(reader.Overlong(), overlong ? 1 : 0) << c.text;
      EXPECT_EQ(overlong ? reader.FirstOverlong() : reader.FirstMalformed(), 3) << c.text;
      continue;
    }
    ASSERT_EQ(entries.size(), 1u) << c.text;
    EXPECT_EQ(reader.Malformed(), 0) << c.text;
    EXPECT_EQ(entries[0].name, c.name) << c.text;
    EXPECT_EQ(entries[0].line, 3) << c.text;
    EXPECT_EQ(entries[0].digest.kind, c.kind) << c.text;
    const std::string hex = c.kind == DigestKind::kMd5    ? kMd5
                            : c.kind == DigestKind::kSha1 ? kSha1
                                                          : kSha256;
    EXPECT_EQ(HexText(entries[0].digest), hex) << c.text;
  }
}

// A byte order mark is left out before the first line only: elsewhere it is part of a name.
TEST(ChecksumLinesTest, AByteOrderMarkBeginsTheTextOnly) {
  const std::string bom = "\xEF\xBB\xBF";
  std::vector<std::string> names;
  ChecksumLineReader reader([&](ChecksumEntry& entry) { names.push_back(entry.name); });
  reader.Add(bom + kSha256 + "  first\r\n" + bom + kSha256 + "  second\r\n");
  reader.End();
  EXPECT_EQ(names, std::vector<std::string>{"first"});
  EXPECT_EQ(reader.FirstMalformed(), 2);
}

}  // namespace
}  // namespace tarvik
