#include "SpeedGraphWidget.h"

#include <QBuffer>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

#include "QtText.h"

namespace tarvik {

namespace {

constexpr int kLeftMargin = 56;
constexpr int kMargin = 12;
constexpr int kBottomMargin = 34;
const QColor kCurrentFile(255, 236, 150);
const QColor kGrid(222, 222, 222);
const QColor kCurve(0, 60, 170);
const QColor kEarlierCurve(160, 160, 160);

}  // namespace

SpeedGraphWidget::SpeedGraphWidget(TSpeedWindow& model, const Runner& run, QWidget* parent)
    : QWidget(parent), model_(model), menu_(new QMenu(this)) {
  setMinimumSize(320, 200);
  setMouseTracking(true);
  for (MenuItem* item : model.PopupMenu1.Items()) {
    QAction* action = menu_->addAction(ToQt(item->Caption()));
    connect(action, &QAction::triggered, this, [run, item] { run([item] { item->Click(); }); });
  }
}

QRect SpeedGraphWidget::PlotArea() const {
  return rect().adjusted(kLeftMargin, kMargin + fontMetrics().height(), -kMargin, -kBottomMargin);
}

void SpeedGraphWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const QRect area = PlotArea();
  const SpeedPlot plot = model_.Plot(area.width(), area.height());
  const int text_height = fontMetrics().height();
  painter.translate(area.topLeft());

  if (plot.current_file) {
    const auto [from, to] = *plot.current_file;
    painter.fillRect(QRectF(from, 0, std::max(to - from, 2.0), area.height()), kCurrentFile);
  }
  for (const AxisTick& tick : plot.x_ticks) {
    painter.setPen(kGrid);
    painter.drawLine(QPointF(tick.at, 0), QPointF(tick.at, area.height()));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(tick.at - 50, area.height() + 2, 100, text_height), Qt::AlignHCenter,
                     ToQt(tick.label));
  }
  for (const AxisTick& tick : plot.y_ticks) {
    painter.setPen(kGrid);
    painter.drawLine(QPointF(0, tick.at), QPointF(area.width(), tick.at));
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(-kLeftMargin, tick.at - text_height / 2.0, kLeftMargin - 4, text_height),
        Qt::AlignRight | Qt::AlignVCenter, ToQt(tick.label));
  }
  painter.drawText(QRectF(-kLeftMargin, -text_height - 4, kLeftMargin + 200, text_height),
                   Qt::AlignLeft, ToQt(TSpeedWindow::kSpeedAxis));
  painter.drawText(QRectF(0, area.height() + text_height + 2, area.width(), text_height),
                   Qt::AlignRight, ToQt(TSpeedWindow::kBytesAxis));
  painter.drawRect(QRect(0, 0, area.width(), area.height()));

  painter.setPen(QPen(Qt::red, 2));
  for (double x : plot.problem_marks) painter.drawLine(QPointF(x, 0), QPointF(x, area.height()));

  painter.setRenderHint(QPainter::Antialiasing);
  for (const auto& [steps, color] :
       {std::pair{&plot.earlier_curve, kEarlierCurve}, std::pair{&plot.curve, kCurve}}) {
    QPolygonF curve;
    for (const CurveStep& step : *steps)
      curve << QPointF(step.first_column, step.y) << QPointF(step.column + 1, step.y);
    painter.setPen(QPen(color, 1.5));
    painter.drawPolyline(curve);
  }
}

bool SpeedGraphWidget::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const QRect area = PlotArea();
  const std::string tip = area.contains(help->pos())
                              ? model_.TipAt(model_.Plot(area.width(), area.height()),
                                             help->pos().x() - area.left(), area.width())
                              : std::string();
  if (tip.empty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), ToQt(tip), this);
  }
  return true;
}

void SpeedGraphWidget::contextMenuEvent(QContextMenuEvent* event) {
  menu_->popup(event->globalPos());
}

std::string SpeedGraphWidget::Png() {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  grab().save(&buffer, "PNG");
  return bytes.toStdString();
}

}  // namespace tarvik
