#pragma once

#include <string>

#include "platform/Platform.h"
#include "ui/CheckBox.h"
#include "ui/Dialogs.h"

namespace tarvik {

// The line that ends the list of a check command; the command appends it when it is done.
inline constexpr char kListFileEndLine[] = "-----------------The End.------------------";

// The design of the save dialog SD1 that chooses the list file; the caller sets its initial
// directory and proposed name.
SaveDialog ListFileSaveDialog();

// The found-files list file: a code page 1251 text with CR LF line ends, a three-line
// header, then the path of every file offered to the check. It is only ever created or
// appended to. Each line is written by its own open, write and close, so that everything
// listed so far is on disk while the next file is read, and nothing stays open between lines.
//
// Works on the main window's state, which it is handed: the option box CheckBox6 (read at
// every call; cancelling the dialog clears it), the save dialog SD1, ProgramDir and
// ListFileName.
class ListFile {
 public:
  ListFile(Platform& platform, Dialogs& dialogs, CheckBox& check_box6, SaveDialog& sd1,
           const std::string& program_dir, std::string& list_file_name);

  // With CheckBox6 checked, asks for the file in SD1, proposing ListFileName in ProgramDir,
  // then creates it anew (an existing file is replaced) and writes the header. False when the
  // box is clear or the user cancelled; cancelling also clears the box. A file that cannot be
  // created or whose header cannot be written throws IoError, with the file closed, the box
  // still checked and ListFileName holding the chosen path, so the next command proposes it
  // again.
  bool OpenListFile();

  // With CheckBox6 checked, appends the line to the file at ListFileName. A missing file is
  // never created and a file that cannot be opened drops the line: both give false. Once the
  // file is open, a failed write is ignored and the result is true.
  bool AppendListLine(const std::string& line);

 private:
  Platform& platform_;
  Dialogs& dialogs_;
  CheckBox& check_box6_;
  SaveDialog& sd1_;
  const std::string& program_dir_;
  std::string& list_file_name_;
};

}  // namespace tarvik
