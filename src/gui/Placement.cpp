#include "Placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tarvik {

namespace {

// `rect` moved the least into `screen`; its top left corner stays in the screen where `rect`
// is larger.
QRect Within(QRect rect, const QRect& screen) {
  rect.moveLeft(std::clamp(rect.left(), screen.left(),
                           std::max(screen.left(), screen.right() + 1 - rect.width())));
  rect.moveTop(std::clamp(rect.top(), screen.top(),
                          std::max(screen.top(), screen.bottom() + 1 - rect.height())));
  return rect;
}

QRect Below(QSize size, const QRect& other) {
  return {QPoint(other.left(), other.bottom() + 1), size};
}

QRect RightOf(QSize size, const QRect& other) {
  return {QPoint(other.right() + 1, other.top()), size};
}

}  // namespace

Placement PlaceBeside(QSize size, QRect other, QRect screen) {
  const QRect sides[] = {
      Below(size, other),
      RightOf(size, other),
      QRect(QPoint(other.left(), other.top() - size.height()), size),
      QRect(QPoint(other.left() - size.width(), other.top()), size),
  };
  // Slid into the screen, a window with no room on its side is pushed over `other`.
  for (const QRect& side : sides) {
    const QRect placed = Within(side, screen);
    if (!placed.intersects(other)) return {placed, other};
  }
  if (other.height() + size.height() <= screen.height()) {
    other.moveTop(screen.bottom() + 1 - size.height() - other.height());
    return {Within(Below(size, other), screen), other};
  }
  if (other.width() + size.width() <= screen.width()) {
    other.moveLeft(screen.right() + 1 - size.width() - other.width());
    return {Within(RightOf(size, other), screen), other};
  }
  return {Within(Below(size, other), screen), other};
}

void ShowBeside(QWidget& widget, QWidget& other) {
  const QRect other_frame = other.frameGeometry();
  if (other.isVisible() && other.screen() != nullptr &&
      (!widget.isVisible() || widget.frameGeometry().intersects(other_frame))) {
    // A widget never shown has no frame yet: it will get one like the other's.
    const QMargins frame(other.geometry().left() - other_frame.left(),
                         other.geometry().top() - other_frame.top(),
                         other_frame.right() - other.geometry().right(),
                         other_frame.bottom() - other.geometry().bottom());
    const Placement placed =
        PlaceBeside(widget.size().grownBy(frame), other_frame, other.screen()->availableGeometry());
    if (placed.other != other_frame) other.move(placed.other.topLeft());
    widget.move(placed.window.topLeft());
  }
  widget.setAttribute(Qt::WA_ShowWithoutActivating, true);
  widget.show();
  widget.setAttribute(Qt::WA_ShowWithoutActivating, false);
  widget.raise();
}

}  // namespace tarvik
