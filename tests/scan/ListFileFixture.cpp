#include "ListFileFixture.h"

#include <filesystem>

#include "platform/Platform.h"

namespace tarvik {

ListFileTest::ListFileTest()
    // The list file keeps the platform it is made with, so the platform comes first.
    : list_file_(StartPlatform(), dialogs_, CheckBox6, SD1, ProgramDir, ListFileName) {
  tmp_.MakeDir("APP");
  CheckBox6.SetCaption("Список файлов  -> в текст.файл.");
  SD1 = ListFileSaveDialog();
}

bool ListFileTest::Exists(const std::string& relative) const {
  return std::filesystem::exists(tmp_.Path(relative));
}

}  // namespace tarvik
