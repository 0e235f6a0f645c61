#include "PercentBarWidget.h"

#include <QPainter>
#include <algorithm>

namespace tarvik {

PercentBarWidget::PercentBarWidget(QWidget* parent) : QWidget(parent) { setMinimumHeight(18); }

void PercentBarWidget::SetProgress(double fraction, int percent) {
  fraction = std::clamp(fraction, 0.0, 1.0);
  if (fraction == fraction_ && percent == percent_) return;
  fraction_ = fraction;
  percent_ = percent;
  update();
}

QSize PercentBarWidget::sizeHint() const { return {150, 20}; }

void PercentBarWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect all = rect().adjusted(1, 1, -1, -1);
  const int fill_width = static_cast<int>(all.width() * fraction_);
  const QRect filled(all.left(), all.top(), fill_width, all.height());
  const QRect empty(all.left() + fill_width, all.top(), all.width() - fill_width, all.height());
  const QString text = QString::number(percent_) + QLatin1Char('%');

  painter.setPen(Qt::gray);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.fillRect(empty, Qt::lightGray);
  painter.fillRect(filled, Qt::black);

  painter.setClipRect(empty);
  painter.setPen(Qt::black);
  painter.drawText(all, Qt::AlignCenter, text);
  painter.setClipRect(filled);
  painter.setPen(Qt::lightGray);
  painter.drawText(all, Qt::AlignCenter, text);
}

}  // namespace tarvik
