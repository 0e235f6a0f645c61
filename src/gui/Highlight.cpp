#include "Highlight.h"

#include <QItemSelectionModel>

#include "EventFilter.h"

namespace tarvik {

Highlight::Highlight(QAbstractItemView& view, std::function<void(int)> moved,
                     std::function<void(int)> clicked_in_place)
    : QObject(&view),
      view_(view),
      moved_(std::move(moved)),
      clicked_in_place_(std::move(clicked_in_place)) {
  // A move counts when it selects a row: the view also moves its cursor without selecting,
  // to the first row when it gains the focus with nothing selected, and the user has chosen
  // nothing then.
  connect(view.selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected) {
            if (showing_ || selected.isEmpty()) return;
            press_moved_ = true;
            moved_(selected.indexes().front().row());
          });
  connect(&view, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
    if (!press_moved_ && index.isValid()) clicked_in_place_(index.row());
  });
  new EventFilter(*view.viewport(), [this](QEvent& event) {
    if (event.type() == QEvent::MouseButtonPress) press_moved_ = false;
    return false;
  });
}

void Highlight::Show(const std::function<void()>& update, int row) {
  showing_ = true;
  update();
  const QModelIndex index = view_.model()->index(row, 0);
  if (view_.currentIndex() != index) {
    view_.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  }
  showing_ = false;
}

}  // namespace tarvik
