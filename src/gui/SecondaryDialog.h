#pragma once

#include <QDialog>
#include <QFont>

#include "ui/Window.h"

class QKeyEvent;

namespace tarvik {

// The windows' design font, MS Sans Serif 8 pt, or the nearest sans-serif font there is.
QFont DesignFont();

// A non-modal secondary window in the frame, size and place its model's layout fixes, in the
// design font. Derived dialogs build their controls, then bind the model (BindWindow), so
// that a model already shown shows the finished dialog.
class SecondaryDialog : public QDialog {
 public:
  SecondaryDialog(const WindowLayout& layout, QWidget* parent);

 protected:
  // Esc does nothing: these windows have no cancel button, and behind a dialog that Esc hid
  // the model would still count the window as shown.
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tarvik
