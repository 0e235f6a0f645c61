#include "platform/win32/StoredCase.h"

#include <windows.h>

#include <string_view>

#include "platform/win32/NoCriticalErrorBox.h"

namespace tarvik {

namespace {

// "\\?\C:", the drive of every path the program gives the system.
constexpr std::size_t kDriveEnd = 6;
// Enough for the directories a walk goes through, little enough to hold in memory.
constexpr std::size_t kMostDirectories = std::size_t{1} << 16;

// The text in upper case, unit for unit; empty where the system would change its length.
std::wstring Upper(std::wstring_view text) {
  std::wstring upper(text.size(), L'\0');
  const int length = static_cast<int>(text.size());
  if (length == 0 || LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), length,
                                   upper.data(), length, nullptr, nullptr, 0) != length) {
    return {};
  }
  return upper;
}

// The stored name of a directory `name` in the directory `parent`; empty when there is none.
std::wstring StoredDirectoryName(const std::wstring& parent, std::wstring_view name) {
  if (name.find_first_of(L"*?") != std::wstring_view::npos) return {};
  const std::wstring path = parent + L'\\' + std::wstring(name);
  const NoCriticalErrorBox no_box;
  WIN32_FIND_DATAW found;
  const HANDLE search =
      FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return {};
  FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? std::wstring(found.cFileName)
                                                                  : std::wstring();
}

}  // namespace

void StoredCase::Apply(std::wstring& system_path, bool last_too) {
  if (system_path.size() <= kDriveEnd + 1 || system_path[kDriveEnd] != L'\\') return;
  const std::wstring upper = Upper(system_path);
  if (upper.empty()) return;
  // Where each name to rewrite ends.
  std::vector<std::size_t> ends;
  for (std::size_t at = system_path.find(L'\\', kDriveEnd + 1); at != std::wstring::npos;
       at = system_path.find(L'\\', at + 1)) {
    ends.push_back(at);
  }
  if (last_too && system_path.back() != L'\\') ends.push_back(system_path.size());
  // Most often the deepest directory is known already.
  std::size_t next = ends.size();
  std::wstring stored = system_path.substr(0, kDriveEnd);
  std::size_t stored_end = kDriveEnd;
  for (; next > 0; --next) {
    const auto known = stored_.find(upper.substr(0, ends[next - 1]));
    if (known != stored_.end() && !known->second.empty()) {
      stored = known->second;
      stored_end = ends[next - 1];
      break;
    }
  }
  for (; next < ends.size(); ++next) {
    std::wstring key = upper.substr(0, ends[next]);
    const auto known = stored_.find(key);
    if (known != stored_.end()) {
      if (known->second.empty()) break;
      stored = known->second;
    } else {
      const std::wstring name = StoredDirectoryName(
          stored,
          std::wstring_view(system_path).substr(stored_end + 1, ends[next] - stored_end - 1));
      if (name.empty()) break;
      stored += L'\\';
      stored += name;
      if (stored_.size() >= kMostDirectories) stored_.clear();
      stored_.emplace(std::move(key), stored);
    }
    stored_end = ends[next];
  }
  system_path.replace(0, stored_end, stored);
}

void StoredCase::Learn(const std::wstring& directory,
                       const std::vector<std::wstring>& subdirectories) {
  std::wstring parent = directory;
  if (parent.ends_with(L'\\')) parent.pop_back();
  const std::wstring upper_parent = Upper(parent);
  if (upper_parent.empty()) return;
  std::unordered_map<std::wstring, std::wstring> learnt;
  for (const std::wstring& name : subdirectories) {
    const std::wstring upper = Upper(name);
    if (upper.empty()) continue;
    const auto [at, added] = learnt.emplace(upper_parent + L'\\' + upper, parent + L'\\' + name);
    if (!added) at->second.clear();
  }
  if (stored_.size() + learnt.size() > kMostDirectories) stored_.clear();
  for (auto& [key, path] : learnt) stored_.insert_or_assign(key, std::move(path));
}

}  // namespace tarvik
