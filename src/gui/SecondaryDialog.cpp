#include "SecondaryDialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace tarvik {

QFont DesignFont() {
  QFont font("MS Sans Serif");
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

SecondaryDialog::SecondaryDialog(const WindowLayout& layout, QWidget* parent) : QDialog(parent) {
  Qt::WindowFlags flags =
      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  if (layout.fixed_size) flags |= Qt::MSWindowsFixedSizeDialogHint;
  if (layout.stay_on_top) flags |= Qt::WindowStaysOnTopHint;
  setWindowFlags(flags);
  setModal(false);
  setFont(DesignFont());

  // A Qt widget's size is its client area; a frame size is the nearest we can get before the
  // window manager has drawn a frame.
  if (layout.fixed_size) {
    setFixedSize(layout.width, layout.height);
  } else {
    resize(layout.width, layout.height);
  }
  if (layout.centred) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
      move(screen->availableGeometry().center() - QPoint(layout.width / 2, layout.height / 2));
    }
  } else {
    move(layout.left, layout.top);
  }
}

void SecondaryDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->ignore();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace tarvik
