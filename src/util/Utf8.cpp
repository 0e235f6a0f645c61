#include "util/Utf8.h"

namespace tarvik {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t extra = 0;
  char32_t ch = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, ch = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, ch = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, ch = lead & 0x07, min = 0x10000;
  } else {
    ++pos;
    return kRawByteBase + lead;
  }
  if (pos + extra >= text.size()) {
    ++pos;
    return kRawByteBase + lead;
  }
  for (std::size_t i = 1; i <= extra; ++i) {
    const auto byte = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(byte)) {
      ++pos;
      return kRawByteBase + lead;
    }
    ch = (ch << 6) | (byte & 0x3F);
  }
  if (ch < min || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
    ++pos;
    return kRawByteBase + lead;
  }
  pos += extra + 1;
  return ch;
}

void AppendUtf8(std::string& out, char32_t ch) {
  if (ch >= kRawByteBase) {
    out += static_cast<char>(ch - kRawByteBase);
  } else if (ch < 0x80) {
    out += static_cast<char>(ch);
  } else if (ch < 0x800) {
    out += static_cast<char>(0xC0 | (ch >> 6));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    out += static_cast<char>(0xE0 | (ch >> 12));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (ch >> 18));
    out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (ch & 0x3F));
  }
}

bool IsShownByte(char32_t ch) { return ch >= kShownByteBase && ch <= kShownByteBase + 0xFF; }

char32_t WellFormed(char32_t ch) {
  return ch >= kRawByteBase ? kShownByteBase + (ch - kRawByteBase) : ch;
}

std::string WellFormedUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    AppendUtf8(out, WellFormed(DecodeUtf8(text, pos)));
  }
  return out;
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) DecodeUtf8(text, pos);
  return count;
}

bool Utf8LongerThan(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t read = 0; read < count && pos < text.size(); ++read) DecodeUtf8(text, pos);
  return pos < text.size();
}

}  // namespace tarvik
