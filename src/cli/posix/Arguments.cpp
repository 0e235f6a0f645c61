#include "cli/Arguments.h"

namespace tarvik {

Arguments::Arguments(int argc, char* argv[]) : texts_(argv, argv + argc) {
  for (std::string& text : texts_) pointers_.push_back(text.data());
  pointers_.push_back(nullptr);
}

}  // namespace tarvik
