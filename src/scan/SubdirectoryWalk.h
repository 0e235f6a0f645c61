#pragma once

#include <string>

#include "browse/DirectoryListBox.h"
#include "browse/FileListBox.h"
#include "scan/ScanEngine.h"
#include "ui/Dialogs.h"
#include "ui/PercentBar.h"

namespace tarvik {

// The lists the walk drives and reads, handed over by the main window.
struct WalkControls {
  DirectoryListBox& DirectoryListBox1;
  FileListBox& FileListBox1;
  // The hidden list of the current directory's subdirectories, "[NAME]" each. Each walk gives
  // it the file list's choice of hidden entries, so that a walk reaches the files the
  // attribute filter selects at every depth.
  FileListBox& FileListBox2;
  PercentBar& Gauge1;
};

// Checks every file below a start directory, each directory's files after all of its
// subdirectories, the start directory last. The walk keeps no tree and no stack: its position
// is the directory list's current directory, and it finds its way back up by looking up, in
// the parent's subdirectory list, the entry of the directory it has just left. Memory does not
// grow with the size or the depth of the tree. The lists follow it, so the user watches them
// travel through the tree.
class SubdirectoryWalk {
 public:
  SubdirectoryWalk(ScanEngine& engine, Dialogs& dialogs, WalkControls controls);

  // True when no directory had problem files and the way back was always found. Leaves the
  // directory list at the start directory, also after an abort or a failed way up.
  bool WalkSubdirectories(const std::string& start_dir);

  // Moves the directory list into the subdirectory `name` of its current directory.
  void EnterSubdirectory(const std::string& name);
  // Moves the directory list to the parent and finds there the entry of the directory just
  // left: `search_from` is its index (-999 when it is gone), `is_last_entry` 1 when it is the
  // parent's last subdirectory entry. False when the entry is gone.
  bool GoUpOneLevel(int& search_from, int& is_last_entry);
  // The index in the subdirectory list of `entry` ("[NAME]", compared by the volume's case
  // rule), or -999; `is_last_entry` 1 when it is the last one.
  int FindSubdirectoryEntry(const std::string& entry, int& is_last_entry);

  static constexpr int kNotFound = -999;

  // The subdirectory list's set for the file list's set `files`: directories, hidden ones
  // when hidden files are listed. System directories stay out whatever the files: a local
  // drive gives that attribute to links and mount points, and the walk stays on one volume
  // and never loops.
  static TFileType SubdirectoryFileType(TFileType files);

 private:
  // The directory list's directory, normalised.
  std::string CurrentDirectory() const;
  // Sets the directory list to a normalised path, without its trailing backslash below a root.
  void SetDirectory(std::string path);
  // The first subdirectory entry after `search_from` that is not "." or "..", its name in
  // `name`; -1 when there is none.
  int NextSubdirectory(int search_from, std::string& name);
  // Checks the current directory's files; false (after the box that names the directory) when
  // some could not be read.
  bool CheckCurrentDirectoryFiles();
  // Climbs while the directory just left was its parent's last subdirectory, checking each
  // parent's files on the way; sets `ending` when the walk is to end.
  void GoUp(const std::string& start, int& search_from, int& is_last_entry, bool& result,
            bool& ending);
  // Whether an abort was confirmed at one of the walk's test points.
  bool AbortAt(std::string_view question);

  ScanEngine& engine_;
  Dialogs& dialogs_;
  WalkControls controls_;
};

}  // namespace tarvik
