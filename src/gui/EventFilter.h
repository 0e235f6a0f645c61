#pragma once

#include <QEvent>
#include <QObject>
#include <functional>
#include <utility>

namespace tarvik {

// Shows every event that `watched` receives to `handle` first; `handle` returns true to keep
// the event from `watched`. The filter lives as long as `watched`.
class EventFilter : public QObject {
 public:
  EventFilter(QObject& watched, std::function<bool(QEvent&)> handle)
      : QObject(&watched), handle_(std::move(handle)) {
    watched.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override { return handle_(*event); }

 private:
  std::function<bool(QEvent&)> handle_;
};

}  // namespace tarvik
