#pragma once

#include <string>

// What a list entry looks like, without drawing it: the kind of bitmap in front of its text and
// the pixel offsets at which the lists place bitmaps and texts.
namespace tarvik {

enum class Glyph {
  kNone,
  kFloppy,
  kHard,
  kNetwork,
  kCdrom,
  kRam,
  kOpenFolder,
  kCurrentFolder,
  kClosedFolder,
  kExecutable,
  kUnknownFile,
};

// The bitmap resource name of a glyph kind ("FLOPPY", "OPENFOLDER", ...); empty for kNone.
const char* GlyphName(Glyph glyph);

struct ListEntry {
  std::string text;
  Glyph glyph = Glyph::kNone;

  friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

// Drive list: glyph 2 pixels from the left, text 6 pixels after it; an entry without a glyph is
// laid out as if its glyph were 16 pixels wide.
inline constexpr int kDriveGlyphLeft = 2;
inline constexpr int kDriveTextGap = 6;
inline constexpr int kDriveMissingGlyphWidth = 16;

// Directory list: the text starts 4 pixels after the glyph; the glyph's own indentation comes
// from DirectoryListBox::Indent.
inline constexpr int kDirectoryTextGap = 4;

// File list: glyph 2 pixels from the left, text 6 pixels after it; without glyphs the text starts
// 2 pixels from the left.
inline constexpr int kFileGlyphLeft = 2;
inline constexpr int kFileTextGap = 6;

}  // namespace tarvik
