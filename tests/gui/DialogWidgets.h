#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <stdexcept>
#include <string>

// Reaching the widgets of a dialog under test, as the user would.
namespace tarvik {

// The dialog's widget of that object name; throws when there is none.
template <typename T>
T& Child(QWidget& dialog, const char* name) {
  T* child = dialog.findChild<T*>(name);
  if (child == nullptr) throw std::runtime_error(std::string("no widget ") + name);
  return *child;
}

inline void PressEsc(QWidget& widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &press);
}

}  // namespace tarvik
