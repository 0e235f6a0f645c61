#pragma once

#include <string>

#include "platform/IoError.h"
#include "platform/Platform.h"
#include "ui/CheckBox.h"
#include "ui/Dialogs.h"

namespace tarvik {

// The line that ends the list of a check command; the command appends it when it is done.
inline constexpr char kListFileEndLine[] = "-----------------The End.------------------";

// An error of the list file itself rather than of the medium checked: the file could not be
// made, or lines of a check's list could not be written. The window shows it in the I/O error
// box as any other; a script names the file and tells the two apart.
class ListFileError : public IoError {
 public:
  ListFileError(int code, bool lines_lost) : IoError(code), lines_lost_(lines_lost) {}
  // The check ran to its end with its list made, but lines of it are missing.
  bool lines_lost() const { return lines_lost_; }

 private:
  bool lines_lost_;
};

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
  // created or whose header cannot be written throws ListFileError, with the file closed, the
  // box still checked and ListFileName holding the chosen path, so the next command proposes
  // it again.
  bool OpenListFile();

  // With CheckBox6 checked, appends the line to the file at ListFileName. A missing file is
  // never created and a file that cannot be opened drops the line: both give false. Once the
  // file is open, a failed write does not stop the check and the result is true. A line of the
  // list that OpenListFile made which is dropped or not written is remembered, for EndList.
  bool AppendListLine(const std::string& line);

  // Appends the closing line at the end of a check command. Returns kNoError, or the code of
  // the first line of the list that OpenListFile made that was lost: a check whose list is
  // incomplete must not end as if all went well.
  int EndList();

 private:
  Platform& platform_;
  Dialogs& dialogs_;
  CheckBox& check_box6_;
  SaveDialog& sd1_;
  const std::string& program_dir_;
  std::string& list_file_name_;
  // Between OpenListFile and EndList: the list of a check command is being written.
  bool listing_ = false;
  // The code of the first line of that list that was lost.
  int lost_ = kNoError;
};

}  // namespace tarvik
