#include "ListFileFixture.h"

#include <filesystem>

#include "platform/Platform.h"

namespace tarvik {

ListFileTest::ListFileTest()
    : platform_({{'C', dir_.path(), kDriveFixed, "TEST",
                  kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames}},
                "C:\\"),
      list_file_(platform_, dialogs_, CheckBox6, SD1, ProgramDir, ListFileName) {
  dir_.MakeDir("APP");
  CheckBox6.SetCaption("Список файлов  -> в текст.файл.");
  SD1 = ListFileSaveDialog();
}

bool ListFileTest::Exists(const std::string& relative) const {
  return std::filesystem::exists(dir_.Path(relative));
}

}  // namespace tarvik
