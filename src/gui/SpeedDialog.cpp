#include "SpeedDialog.h"

#include <QLabel>
#include <QVBoxLayout>

#include "Binders.h"

namespace tarvik {

SpeedDialog::SpeedDialog(TSpeedWindow& model, const Runner& run, QWidget* parent)
    : SecondaryDialog(model.Layout, parent),
      model_(model),
      graph_(new SpeedGraphWidget(model, run, this)),
      slowest_(new QListWidget(this)),
      slower_(new QListWidget(this)) {
  graph_->setObjectName("Graph");
  slowest_->setObjectName("Slowest");
  slower_->setObjectName("Slower");
  slowest_->setFixedHeight(
      slowest_->fontMetrics().height() * static_cast<int>(ReadSpeed::kSlowestCount) + 8);
  slower_->setFixedHeight(slowest_->fontMetrics().height() * 4 + 8);
  auto* label1 = new QLabel(this);
  auto* label2 = new QLabel(this);
  auto* column = new QVBoxLayout(this);
  column->addWidget(graph_, 1);
  column->addWidget(label1);
  column->addWidget(slowest_);
  column->addWidget(label2);
  column->addWidget(slower_);

  model.Picture = [this] { return graph_->Png(); };
  connect(&timer_, &QTimer::timeout, this, [this] { Refresh(); });
  timer_.start(kRefreshMs);
  BindLabel(run, model.Label1, *label1);
  BindLabel(run, model.Label2, *label2);
  BindWindow(run, model, *this);
}

void SpeedDialog::showEvent(QShowEvent* event) {
  Refresh();
  SecondaryDialog::showEvent(event);
}

void SpeedDialog::Refresh() {
  const std::uint64_t revision = model_.Revision();
  if (!isVisible() || revision == shown_revision_) return;
  shown_revision_ = revision;
  graph_->update();
  slowest_->clear();
  for (const std::string& line : model_.SlowestLines()) slowest_->addItem(ToQt(line));
  slower_->clear();
  for (const std::string& line : model_.SlowerLines()) slower_->addItem(ToQt(line));
}

}  // namespace tarvik
