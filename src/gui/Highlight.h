#pragma once

#include <QAbstractItemView>
#include <QObject>
#include <functional>

namespace tarvik {

// The highlighted row of a list view, told apart from the user's moves of it. The model's
// selection is shown through Show(); every move the user makes that selects a row (a click,
// the arrow keys, Home, End, Page Up, Page Down, a right press) goes to `moved`, and a left click
// on the row that is highlighted already goes to `clicked_in_place`. The view's item model is set
// before.
class Highlight : public QObject {
 public:
  Highlight(QAbstractItemView& view, std::function<void(int)> moved,
            std::function<void(int)> clicked_in_place);

  // Runs `update`, which may rebuild the rows, then highlights `row` (-1: none); neither is
  // taken for the user's move.
  void Show(const std::function<void()>& update, int row);

 private:
  QAbstractItemView& view_;
  std::function<void(int)> moved_;
  std::function<void(int)> clicked_in_place_;
  bool showing_ = false;
  // Whether the mouse press that is going on has moved the highlight already.
  bool press_moved_ = false;
};

}  // namespace tarvik
