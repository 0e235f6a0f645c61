#include "HistoryDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "Binders.h"

namespace tarvik {

HistoryDialog::HistoryDialog(THistoryWindow& model, const Runner& run, QWidget* parent)
    : SecondaryDialog(model.Layout, parent), table_(new QTableWidget(this)) {
  table_->setObjectName("Checks");
  table_->setColumnCount(static_cast<int>(kCheckColumns));
  QStringList captions;
  for (const char* caption : kCheckColumnCaptions) captions << ToQt(caption);
  table_->setHorizontalHeaderLabels(captions);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  // On the cells and on the captions alike: a header shows only its sections' tips.
  table_->setToolTip(ToQt(kCheckTableHint));
  for (int column = 0; column < table_->columnCount(); ++column)
    table_->horizontalHeaderItem(column)->setToolTip(ToQt(kCheckTableHint));
  auto* status = new QLabel(this);
  status->setObjectName("Status");
  auto* accept = new QPushButton(this);
  accept->setObjectName("Accept");
  accept->setAutoDefault(false);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(status, 1);
  bottom->addWidget(accept);
  auto* column = new QVBoxLayout(this);
  column->addWidget(table_);
  column->addLayout(bottom);

  run.refresher().Bind(model.StateChanged, [&model, table = table_] {
    const QSignalBlocker blocker(table);
    const auto& rows = model.Rows();
    table->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < table->rowCount(); ++row) {
      for (int column = 0; column < table->columnCount(); ++column) {
        table->setItem(row, column, new QTableWidgetItem(ToQt(rows[row][column])));
      }
    }
    table->resizeColumnsToContents();
    table->selectRow(model.Chosen());
  });
  connect(table_, &QTableWidget::itemSelectionChanged, this, [run, &model, table = table_] {
    run([&model, row = table->currentRow()] { model.Choose(row); });
  });
  BindLabel(run, model.StatusLine, *status);
  BindButton(run, model.AcceptButton, *accept);
  BindWindow(run, model, *this);
}

}  // namespace tarvik
