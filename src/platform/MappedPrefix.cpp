#include "platform/MappedPrefix.h"

namespace tarvik {

void MappedPrefix::Keep(std::string_view source, std::string_view target) {
  source_.replace(reused_.first, std::string::npos, source.substr(reused_.first));
  target_.replace(reused_.second, std::string::npos, target.substr(reused_.second));
}

void MappedPrefix::Clear() {
  source_.clear();
  target_.clear();
  ends_.clear();
  reused_ = {0, 0};
}

}  // namespace tarvik
