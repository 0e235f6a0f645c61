#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace tarvik {

// The directories of system paths as their names are stored. The program spells a path in
// upper case where the volume ignores case; Windows finds it as fast either way, but Wine, on a
// Linux file system that keeps case, then searches every directory of the path for each name
// not found as spelt, on every call. The stored names are learnt from the listings of
// directories, and looked up one by one where a listing has not given them.
class StoredCase {
 public:
  // Rewrites the directories of a system path ("\\?\C:\DIR\SUB\NAME") as stored: all of its
  // names, or all but the last one when `last_too` is false. Names not found stay as written.
  void Apply(std::wstring& system_path, bool last_too);
  // What a listing of a directory (its system path as stored) tells: the stored names of its
  // subdirectories.
  void Learn(const std::wstring& directory, const std::vector<std::wstring>& subdirectories);
  void Clear() { stored_.clear(); }

 private:
  // The stored path of a directory, by its path in upper case; empty where two directories
  // differ in case only, which the spelling of the path must then tell apart.
  std::unordered_map<std::wstring, std::wstring> stored_;
};

}  // namespace tarvik
