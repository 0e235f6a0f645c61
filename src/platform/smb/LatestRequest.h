#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/Platform.h"
#include "platform/WindowsPath.h"

namespace tarvik {

// What the latest request to the shares showed. Until the next request, nothing the program
// sees can tell a change made since from one made a moment later: calls on any path it showed
// may take it as their own answer, as often as they come. Every request about a path replaces
// it, whether it succeeded or not; requests on open files leave it, as they say nothing of the
// paths.
class LatestRequest {
 public:
  using Entries = std::shared_ptr<const std::vector<FoundEntry>>;
  struct Stamp {
    DirectoryStamp stamp;
    bool settled = false;
  };
  struct Shown {
    WindowsPath path;  // what the request was about; every directory on the way to it is there
    bool directory = false;
    // The directory's entries, when the request listed it or proved a kept listing unchanged.
    Entries entries;
    // The directory's stamp, when the request stamped it.
    std::optional<Stamp> stamp;
  };

  // A request succeeded and showed this.
  void Show(Shown shown) { shown_ = std::move(shown); }
  // A request failed, or showed nothing of the paths.
  void Forget() { shown_.reset(); }
  // What the latest request showed of `path` itself, nullptr when it was about another path.
  const Shown* Of(const WindowsPath& path) const;
  // Whether the latest request showed `path` to be a directory: one on the way to its path,
  // that path itself, or a directory among the entries it listed there.
  bool ShowsDirectory(const WindowsPath& path) const;

 private:
  std::optional<Shown> shown_;
};

}  // namespace tarvik
