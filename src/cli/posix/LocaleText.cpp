#include "cli/LocaleText.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>

#include "util/Utf8.h"

namespace tarvik {

namespace {

// Runs `cd` over all of `in`, appending to `out`; false at a character it cannot convert.
bool Convert(iconv_t cd, std::string_view in, std::string& out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in_next = const_cast<char*>(in.data());
  std::size_t in_left = in.size();
  while (in_left > 0) {
    char buffer[256];
    char* out_next = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t result = iconv(cd, &in_next, &in_left, &out_next, &out_left);
    out.append(buffer, out_next);
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
  }
  return true;
}

}  // namespace

LocaleText::LocaleText() {
  const locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
  if (user == static_cast<locale_t>(nullptr)) return;
  charset_ = nl_langinfo_l(CODESET, user);
  freelocale(user);
  if (charset_ == "UTF-8" || charset_ == "ANSI_X3.4-1968") return;
  to_utf8_ = iconv_open("UTF-8", charset_.c_str());
  from_utf8_ = iconv_open(charset_.c_str(), "UTF-8");
  if (to_utf8_ != kNone && from_utf8_ != kNone) return;
  // A set iconv does not know is written to as if it were UTF-8, as before.
  if (to_utf8_ != kNone) iconv_close(to_utf8_);
  if (from_utf8_ != kNone) iconv_close(from_utf8_);
  to_utf8_ = from_utf8_ = kNone;
}

LocaleText::~LocaleText() {
  if (!Converts()) return;
  iconv_close(to_utf8_);
  iconv_close(from_utf8_);
}

std::optional<std::string> LocaleText::ToUtf8(std::string_view text) const {
  if (!Converts()) return std::string(text);
  std::string out;
  if (!Convert(to_utf8_, text, out)) return std::nullopt;
  return out;
}

std::string LocaleText::FromUtf8(std::string_view text) const {
  if (!Converts()) return std::string(text);
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t ch = DecodeUtf8(text, pos);
    const std::string_view character = text.substr(start, pos - start);
    if (ch < 0x80 || ch >= kRawByteBase) {
      out += character;
    } else if (std::string converted; Convert(from_utf8_, character, converted)) {
      out += converted;
    } else {
      out += '?';
    }
  }
  return out;
}

}  // namespace tarvik
