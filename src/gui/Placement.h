#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace tarvik {

// Frame rectangles of a window placed beside another.
struct Placement {
  QRect window;
  QRect other;
};

// Where a window whose frame is `size` goes beside the frame `other` on `screen`: below it, to
// its right, above it or to its left, on the first side with room, slid along that side into
// the screen. Where no side has room, `other` moves up (else left) just far enough for the
// window to fit below (to the right of) it; only where even that cannot be does the window lie
// over `other`, below it as far as the screen allows.
Placement PlaceBeside(QSize size, QRect other, QRect screen);

// Shows `widget` beside `other` without taking the keyboard from it. A widget already shown
// stays where it is unless it lies over `other`.
void ShowBeside(QWidget& widget, QWidget& other);

}  // namespace tarvik
