#include "ListBinders.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include "Binders.h"
#include "EntryListModel.h"
#include "EventFilter.h"
#include "Highlight.h"

namespace tarvik {

namespace {

// Draws a row shifted right by its indentation, with the same room for every glyph, so that
// the texts of a list line up whatever size each icon comes in.
class RowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem shifted = option;
    shifted.rect.setLeft(option.rect.left() + index.data(EntryListModel::kIndentRole).toInt());
    QStyledItemDelegate::paint(painter, shifted, index);
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    const QSize room = option->decorationSize;
    QStyledItemDelegate::initStyleOption(option, index);
    option->decorationSize = room;
  }
};

// A list view over its own rows: one line per row, every row as high as the first, only the
// rows in sight laid out and painted.
EntryListModel& ShowRowsIn(QListView& view) {
  auto* model = new EntryListModel(&view);
  view.setModel(model);
  view.setUniformItemSizes(true);
  view.setSelectionMode(QAbstractItemView::SingleSelection);
  view.setEditTriggers(QAbstractItemView::NoEditTriggers);
  view.setItemDelegate(new RowDelegate(&view));
  // The glyphs are small bitmaps of one size.
  view.setIconSize({16, 16});
  return *model;
}

}  // namespace

void BindDriveCombo(const Runner& run, DriveComboBox& drives, QComboBox& widget) {
  widget.setToolTip(ToQt(drives.Hint()));
  run.refresher().Bind(drives.StateChanged, [&drives, &widget] {
    const QSignalBlocker block(widget);
    widget.setEnabled(drives.Enabled());
    widget.clear();
    for (const ListEntry& entry : drives.Entries())
      widget.addItem(GlyphIcon(entry.glyph), ToQt(entry.text));
    widget.setCurrentIndex(drives.ItemIndex());
  });
  QObject::connect(&widget, &QComboBox::activated, &widget, [run, &drives](int index) {
    run([&drives, index] { drives.PickEntry(index); });
  });
}

void BindDirectoryList(const Runner& run, DirectoryListBox& directories, QListView& view) {
  EntryListModel& model = ShowRowsIn(view);
  auto* highlight = new Highlight(
      view,
      [run, &directories](int row) { run([&directories, row] { directories.SetItemIndex(row); }); },
      [](int) {});
  run.refresher().Bind(directories.StateChanged, [&directories, &view, &model, highlight] {
    view.setEnabled(directories.Enabled());
    highlight->Show(
        [&] {
          std::vector<ListEntry> entries = directories.Entries();
          std::vector<int> indents(entries.size());
          for (int i = 0; i < directories.Count(); ++i) {
            entries[i].text = directories.DisplayText(i);
            indents[i] = directories.Indent(i);
          }
          model.Show(std::move(entries), true, std::move(indents));
        },
        directories.ItemIndex());
  });
  QObject::connect(&view, &QAbstractItemView::doubleClicked, &view,
                   [run, &directories](const QModelIndex& index) {
                     const int row = index.row();
                     run([&directories, row] { directories.OpenEntry(row); });
                   });
  // Enter opens the highlighted entry.
  new EventFilter(view, [run, &directories, &view](QEvent& event) {
    if (event.type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent&>(event).key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    const int row = view.currentIndex().row();
    if (row >= 0) run([&directories, row] { directories.OpenEntry(row); });
    return true;
  });
}

void BindFileList(const Runner& run, FileListBox& files, QListView& view) {
  EntryListModel& model = ShowRowsIn(view);
  const auto click = [run, &files](int row) { run([&files, row] { files.ClickEntry(row); }); };
  auto* highlight = new Highlight(view, click, click);
  // A moved selection leaves the entries' revision as it was and costs no look at the entries.
  run.refresher().Bind(files.StateChanged,
                       [&files, &view, &model, highlight, shown = ~std::uint64_t{0}]() mutable {
                         view.setEnabled(files.Enabled());
                         if (!files.WindowCreated()) return;
                         highlight->Show(
                             [&] {
                               if (files.EntriesRevision() == shown) return;
                               shown = files.EntriesRevision();
                               model.Show(files.Entries(), files.ShowGlyphs());
                             },
                             files.ItemIndex());
                       });
  files.BusyChanged.Subscribe([&files] {
    if (files.Busy()) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  });
}

}  // namespace tarvik
