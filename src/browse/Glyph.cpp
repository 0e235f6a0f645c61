#include "browse/Glyph.h"

namespace tarvik {

const char* GlyphName(Glyph glyph) {
  switch (glyph) {
    case Glyph::kNone:
      return "";
    case Glyph::kFloppy:
      return "FLOPPY";
    case Glyph::kHard:
      return "HARD";
    case Glyph::kNetwork:
      return "NETWORK";
    case Glyph::kCdrom:
      return "CDROM";
    case Glyph::kRam:
      return "RAM";
    case Glyph::kOpenFolder:
      return "OPENFOLDER";
    case Glyph::kCurrentFolder:
      return "CURRENTFOLDER";
    case Glyph::kClosedFolder:
      return "CLOSEDFOLDER";
    case Glyph::kExecutable:
      return "EXECUTABLE";
    case Glyph::kUnknownFile:
      return "UNKNOWNFILE";
  }
  return "";
}

}  // namespace tarvik
