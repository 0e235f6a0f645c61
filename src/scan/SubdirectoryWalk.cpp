#include "scan/SubdirectoryWalk.h"

#include "browse/FileNames.h"
#include "scan/ProblemLines.h"
#include "util/Path.h"
#include "util/Text.h"
#include "util/Utf8.h"

namespace tarvik {

namespace {

constexpr std::string_view kAbortAtStep = "Вы желаете превать сканирование каталога ";
constexpr std::string_view kAbortAtEnd = "Вы желаете прервать сканирование каталога ";

// A path longer than a root loses its trailing backslash before the list is set to it.
void DropTrailingBackslash(std::string& path) {
  TrimSpaces(path);
  if (Utf8LongerThan(path, 3) && path.back() == '\\') path.pop_back();
}

}  // namespace

SubdirectoryWalk::SubdirectoryWalk(ScanEngine& engine, Dialogs& dialogs, WalkControls controls)
    : engine_(engine), dialogs_(dialogs), controls_(controls) {}

std::string SubdirectoryWalk::CurrentDirectory() const {
  return engine_.NormalizedDirectory(controls_.DirectoryListBox1.Directory());
}

void SubdirectoryWalk::SetDirectory(std::string path) {
  DropTrailingBackslash(path);
  controls_.DirectoryListBox1.SetDirectory(path);
}

bool SubdirectoryWalk::AbortAt(std::string_view question) {
  return engine_.AbortConfirmed(question, controls_.FileListBox1.Directory());
}

TFileType SubdirectoryWalk::SubdirectoryFileType(TFileType files) {
  TFileType subdirectories{ftDirectory};
  if (files.Contains(ftHidden)) subdirectories.Include(ftHidden);
  return subdirectories;
}

bool SubdirectoryWalk::WalkSubdirectories(const std::string& start_dir) {
  bool result = true;
  controls_.FileListBox2.SetFileType(SubdirectoryFileType(controls_.FileListBox1.FileType()));
  const int start_count = controls_.DirectoryListBox1.Count();
  const std::string start = engine_.NormalizedDirectory(start_dir);
  SetDirectory(start);
  int search_from = -1;
  int is_last_entry = 0;
  int start_visits = 0;
  bool ending = false;

  while (!ending) {
    const std::string current = CurrentDirectory();
    if (current == start) ++start_visits;
    engine_.UpdateElapsedTime();
    dialogs_.ProcessMessages();
    if (AbortAt(kAbortAtStep)) ending = true;

    if (ending && engine_.Closing()) {
      // A closing window reads nothing more.
    } else if (current <= start && is_last_entry) {
      ending = true;
    } else {
      std::string name;
      if (NextSubdirectory(search_from, name) >= 0) {
        search_from = -1;
        EnterSubdirectory(name);
      } else {
        // No further subdirectory to walk here (or none at all, as in a drive's root that
        // holds only files): this directory's own files come now.
        if (!CheckCurrentDirectoryFiles()) result = false;
        if (current > start) {
          GoUp(start, search_from, is_last_entry, result, ending);
        } else {
          ending = true;
        }
      }
    }

    controls_.Gauge1.SetPosition(ScanEngine::WholePercent(start_visits, start_count));
    dialogs_.ProcessMessages();
    AbortAt(kAbortAtEnd);
  }

  controls_.Gauge1.SetPosition(100);
  dialogs_.ProcessMessages();
  controls_.DirectoryListBox1.SetDirectory(start);
  return result;
}

void SubdirectoryWalk::GoUp(const std::string& start, int& search_from, int& is_last_entry,
                            bool& result, bool& ending) {
  bool leave = false;
  while (!leave) {
    if (!GoUpOneLevel(search_from, is_last_entry)) {
      result = false;
      ending = true;
      dialogs_.MessageBeep(BeepSound::kDefault);
      engine_.Ask(MessageKind::kError, "Программная ошибка при возврате наверх");
      leave = true;
    } else if (!is_last_entry) {
      // The parent has entries after the one just left; the walk goes on there.
      leave = true;
    } else {
      // All the parent's subdirectories are done: its own files come now.
      if (!CheckCurrentDirectoryFiles()) result = false;
      if (CurrentDirectory() <= start) leave = true;
    }
    dialogs_.ProcessMessages();
    if (AbortAt(kAbortAtStep)) {
      ending = true;
      leave = true;
    }
  }
}

bool SubdirectoryWalk::CheckCurrentDirectoryFiles() {
  if (engine_.CheckDirectoryFiles(true, true) == 0) return true;
  dialogs_.MessageBeep(BeepSound::kDefault);
  engine_.Ask(
      MessageKind::kError,
      Quoted("Проблемы с файлами в каталоге : ", controls_.DirectoryListBox1.Directory(), ""));
  return false;
}

int SubdirectoryWalk::NextSubdirectory(int search_from, std::string& name) {
  const std::vector<ListEntry>& entries = controls_.FileListBox2.Entries();
  for (int index = search_from + 1; index < static_cast<int>(entries.size()); ++index) {
    name = entries[index].text;
    StripBrackets(name);
    if (!name.empty() && name != "." && name != "..") return index;
  }
  return -1;
}

void SubdirectoryWalk::EnterSubdirectory(const std::string& name) {
  std::string below = engine_.NormalizedDirectory(name);
  DropTrailingBackslash(below);
  SetDirectory(CurrentDirectory() + below);
}

bool SubdirectoryWalk::GoUpOneLevel(int& search_from, int& is_last_entry) {
  search_from = -1;
  is_last_entry = 0;
  std::string name;
  std::string parent;
  SplitLastComponent(CurrentDirectory(), name, parent);
  SetDirectory(parent);
  search_from = FindSubdirectoryEntry("[" + name + "]", is_last_entry);
  return search_from != kNotFound;
}

int SubdirectoryWalk::FindSubdirectoryEntry(const std::string& entry, int& is_last_entry) {
  is_last_entry = 0;
  FileListBox& subdirectories = controls_.FileListBox2;
  const int count = subdirectories.Count();
  const int index =
      FindInListOrder(subdirectories.Entries(), entry, controls_.DirectoryListBox1.CaseSensitive());
  // The search passes the selection over every entry up to the one found, so it ends there, or
  // on the last entry when none is found.
  if (count > 0) subdirectories.SetItemIndex(index >= 0 ? index : count - 1);
  if (index < 0) return kNotFound;
  if (index == count - 1) is_last_entry = 1;
  return index;
}

}  // namespace tarvik
