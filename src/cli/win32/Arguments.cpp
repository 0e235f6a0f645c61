#include "cli/Arguments.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include "platform/win32/Wide.h"

namespace tarvik {

Arguments::Arguments(int argc, char* argv[]) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    texts_.assign(argv, argv + argc);
  } else {
    for (int i = 0; i < count; ++i) texts_.push_back(Narrow(wide[i]));
    LocalFree(wide);
  }
  for (std::string& text : texts_) pointers_.push_back(text.data());
  pointers_.push_back(nullptr);
}

}  // namespace tarvik
