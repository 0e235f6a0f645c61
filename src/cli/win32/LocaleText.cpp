#include "cli/LocaleText.h"

namespace tarvik {

LocaleText::LocaleText() : charset_("UTF-8") {}

LocaleText::~LocaleText() = default;

std::optional<std::string> LocaleText::ToUtf8(std::string_view text) const {
  return std::string(text);
}

std::string LocaleText::FromUtf8(std::string_view text) const { return std::string(text); }

}  // namespace tarvik
