#include "ControlFocus.h"

#include <QApplication>

namespace tarvik {

ControlFocus::ControlFocus(QWidget& window, const Runner& run) : window_(window), run_(run) {
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* now) { FocusMoved(now); });
}

void ControlFocus::Watch(QWidget& control, std::function<void()> enter,
                         std::function<void()> exit) {
  watched_[&control] = {std::move(enter), std::move(exit)};
}

void ControlFocus::FocusMoved(QWidget* now) {
  if (now == nullptr || now->window() != &window_ || now == current_) return;
  const auto left = watched_.find(current_.data());
  current_ = now;
  if (left != watched_.end()) run_(left->second.exit);
  const auto entered = watched_.find(now);
  if (entered != watched_.end()) run_(entered->second.enter);
}

}  // namespace tarvik
