#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <functional>

namespace tarvik {

// Calls `entered` when the widget gains the keyboard focus and `left` when it loses it.
class FocusWatcher : public QObject {
 public:
  FocusWatcher(QWidget& widget, std::function<void()> entered, std::function<void()> left)
      : QObject(&widget), entered_(std::move(entered)), left_(std::move(left)) {
    widget.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) entered_();
    if (event->type() == QEvent::FocusOut) left_();
    return false;
  }

 private:
  std::function<void()> entered_;
  std::function<void()> left_;
};

}  // namespace tarvik
