#pragma once

#include <QMenu>
#include <QWidget>
#include <string>

#include "Runner.h"
#include "scan/TSpeedWindow.h"

namespace tarvik {

// Paints the read-speed window's graph: the curve, the grid with its figures, the span of the
// file being read and a red line where each file with a problem begins. Pointing at the curve
// shows the file and the speed there; the context menu is the model's.
class SpeedGraphWidget : public QWidget {
 public:
  SpeedGraphWidget(TSpeedWindow& model, const Runner& run, QWidget* parent = nullptr);

  // The graph as it is shown, as the bytes of a PNG file.
  std::string Png();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Where the plot lies inside the widget, room left for the figures along its axes.
  QRect PlotArea() const;

  TSpeedWindow& model_;
  QMenu* menu_;
};

}  // namespace tarvik
