#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/PosixPlatform.h"
#include "scan/ListFile.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDriveTest.h"
#include "ui/CheckBox.h"
#include "ui/Dialogs.h"

namespace tarvik {

// The real platform with a clock that reads what the test sets.
class FixedClockPlatform : public PosixPlatform {
 public:
  using PosixPlatform::PosixPlatform;
  LocalDateTime Now() override { return now; }

  LocalDateTime now{"06.12.2026", "14:40:16", false};
};

// The header the fixed clock gives, in code page 1251 with CR LF.
inline const std::string kHeaderBytes =
    "Tarvik.exe.   \xC4\xE0\xF2\xE0 : 06.12.2026 14:40:16\r\n"
    "          \xD1\xEF\xE8\xF1\xEE\xEA \xED\xE0\xE9\xE4\xE5\xED\xED\xFB\xF5 "
    "\xF4\xE0\xE9\xEB\xEE\xE2\r\n"
    "-------------------------------------------\r\n";
inline const std::string kEndBytes = "-----------------The End.------------------\r\n";

// Drive C: is a temporary directory holding the program's folder C:\APP. The main window's
// state that the list file works on is set up as the main window sets it up at start.
class ListFileTest : public TempDriveTest<FixedClockPlatform> {
 protected:
  ListFileTest();

  // The list file over another platform (a fault-injecting one), on the same state.
  ListFile ListFileOver(Platform& platform) {
    return ListFile(platform, dialogs_, CheckBox6, SD1, ProgramDir, ListFileName);
  }
  // The bytes of a file below C:\, given relative to it.
  std::string Bytes(const std::string& relative) const { return tmp_.ReadFile(relative); }
  bool Exists(const std::string& relative) const;

  ScriptedDialogs dialogs_;
  CheckBox CheckBox6;
  SaveDialog SD1;
  std::string ProgramDir = "C:\\APP\\";
  std::string ListFileName = "C:\\APP\\!ListFiles.txt";
  ListFile list_file_;
};

}  // namespace tarvik
