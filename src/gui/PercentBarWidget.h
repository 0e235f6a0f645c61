#pragma once

#include <QWidget>

namespace tarvik {

// A horizontal percentage bar: black fill over silver, the whole percentage centred on it,
// drawn in the opposite colour where it lies over the fill so it stays readable.
class PercentBarWidget : public QWidget {
 public:
  explicit PercentBarWidget(QWidget* parent = nullptr);

  // fraction: the filled share of the width, 0..1; percent: the number printed.
  void SetProgress(double fraction, int percent);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double fraction_ = 0;
  int percent_ = 0;
};

}  // namespace tarvik
