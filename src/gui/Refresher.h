#pragma once

#include <QTimer>
#include <cstdint>
#include <functional>
#include <vector>

#include "util/Signal.h"

namespace tarvik {

// Brings widgets up to date by pull: a model's change only marks its widget stale, and the
// stale widgets are repainted when the event loop is idle, or from inside a long command when
// enough time has passed. A check that repainted after every block would spend more time
// painting than reading.
class Refresher {
 public:
  Refresher();

  // Runs `refresh` now, and again whenever `changed` has fired and a refresh is due. Returns
  // the subscription token, for a signal that may outlive the refresher.
  std::size_t Bind(Signal& changed, std::function<void()> refresh);
  // Brings every stale widget up to date now (before a modal box, at the end of a command).
  void RefreshAll();
  // Refreshes and lets the event loop run pending events, at most every kInterval ms;
  // otherwise returns at once.
  void ProcessMessages();

  static constexpr int kIntervalMs = 40;

 private:
  void MarkStale(std::size_t index);

  std::vector<std::function<void()>> refreshers_;
  std::vector<bool> stale_;
  bool any_stale_ = false;
  QTimer idle_timer_;
  // When the last refresh was, by CoarseMilliseconds.
  std::int64_t refreshed_at_ms_;
};

}  // namespace tarvik
