#pragma once

#include <cstdint>
#include <optional>

#include "platform/WindowsPath.h"

namespace tarvik {

// What the shares said last of one path. Until another call asks a share about a path, nothing
// the program sees can tell a change made since from one made a moment later: the next call on
// the same path may take the finding as its own answer, and then hand it on in turn.
class LatestFinding {
 public:
  struct Finding {
    std::uint32_t attributes;  // kAttrDirectory or 0 alone when only the kind is known
    bool all_attributes;
  };

  // Counts a call that asks a share about a path; a finding holds for the one after it.
  void NextCall() { ++calls_; }
  // The number of calls so far that asked a share about a path.
  std::uint64_t calls() const { return calls_; }
  // Records what the current call found of `path`.
  void Found(const WindowsPath& path, std::uint32_t attributes, bool all_attributes);
  // The finding of `path` by the call before the current one, or nullptr; taken, it holds
  // for the next call again.
  const Finding* Of(const WindowsPath& path);
  void Forget() { path_.reset(); }

 private:
  std::optional<WindowsPath> path_;
  Finding finding_{};
  std::uint64_t calls_ = 0;
  std::uint64_t found_at_ = 0;
};

}  // namespace tarvik
