#include "HistoryDialog.h"

#include <QHeaderView>
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
  (new QVBoxLayout(this))->addWidget(table_);

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
  BindWindow(run, model, *this);
}

}  // namespace tarvik
