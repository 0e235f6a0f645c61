#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

#include "Runner.h"

namespace tarvik {

// Runs the Enter and Exit handlers of a window's controls as the keyboard focus moves between
// them. Only a move to another control of the same window counts: a pop-up menu, a modal box
// or another window taking the focus leaves the control focused as far as the handlers know,
// and the focus coming back to it runs nothing.
class ControlFocus : public QObject {
 public:
  ControlFocus(QWidget& window, const Runner& run);

  void Watch(QWidget& control, std::function<void()> enter, std::function<void()> exit);

 private:
  struct Handlers {
    std::function<void()> enter;
    std::function<void()> exit;
  };

  void FocusMoved(QWidget* now);

  QWidget& window_;
  Runner run_;
  std::map<const QWidget*, Handlers> watched_;
  // The control of the window that has the focus as far as the handlers know.
  QPointer<QWidget> current_;
};

}  // namespace tarvik
