#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// The character set of the user's terminal, from the environment's LC_ALL, LC_CTYPE or LANG,
// for a program whose text is UTF-8. Where that set is neither UTF-8 nor the C locale's ASCII
// (which says nothing about the terminal, and where UTF-8 is what scripts and pipes expect),
// arguments typed in it are converted to UTF-8 and every line written to it from UTF-8. The
// process's own locale stays "C", so no other function of the program changes its behaviour.
// On Windows arguments arrive as UTF-16 and the console takes UTF-16, so nothing converts.
class LocaleText {
 public:
  LocaleText();
  ~LocaleText();
  LocaleText(const LocaleText&) = delete;
  LocaleText& operator=(const LocaleText&) = delete;

  bool Converts() const { return to_utf8_ != kNone; }
  // The set's name as the locale gives it ("CP1251", "KOI8-R").
  const std::string& Charset() const { return charset_; }

  // The UTF-8 of `text` in the locale's set; nothing when `text` is not valid there.
  std::optional<std::string> ToUtf8(std::string_view text) const;
  // `text` in the locale's set. A character the set cannot hold becomes "?"; bytes that are not
  // UTF-8 at all pass unchanged, as they are a name or an argument as the user gave it.
  std::string FromUtf8(std::string_view text) const;

 private:
  // iconv's descriptors, as iconv_t is a pointer.
  static inline void* const kNone = reinterpret_cast<void*>(-1);

  std::string charset_;
  void* to_utf8_ = kNone;
  void* from_utf8_ = kNone;
};

}  // namespace tarvik
