#include "ListBinders.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include "Binders.h"
#include "EventFilter.h"
#include "Highlight.h"

namespace tarvik {

namespace {

constexpr int kIndentRole = Qt::UserRole + 1;

// Draws a directory entry shifted right by its indentation.
class IndentDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem shifted = option;
    shifted.rect.setLeft(option.rect.left() + index.data(kIndentRole).toInt());
    QStyledItemDelegate::paint(painter, shifted, index);
  }
};

// Replaces the widget's rows when the texts or glyphs differ; keeps it untouched otherwise,
// so that a refresh does not reset the scroll position.
void ShowEntries(QListWidget& widget, const std::vector<ListEntry>& entries,
                 const std::function<QString(int)>& text_of, bool glyphs) {
  bool same = widget.count() == static_cast<int>(entries.size());
  for (int i = 0; same && i < widget.count(); ++i) same = widget.item(i)->text() == text_of(i);
  if (same) return;
  widget.clear();
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    auto* item = new QListWidgetItem(text_of(i), &widget);
    if (glyphs && entries[i].glyph != Glyph::kNone) item->setIcon(GlyphIcon(entries[i].glyph));
  }
}

}  // namespace

QIcon GlyphIcon(Glyph glyph) {
  QStyle* style = QApplication::style();
  switch (glyph) {
    case Glyph::kFloppy:
      return style->standardIcon(QStyle::SP_DriveFDIcon);
    case Glyph::kHard:
    case Glyph::kRam:
      return style->standardIcon(QStyle::SP_DriveHDIcon);
    case Glyph::kNetwork:
      return style->standardIcon(QStyle::SP_DriveNetIcon);
    case Glyph::kCdrom:
      return style->standardIcon(QStyle::SP_DriveCDIcon);
    case Glyph::kOpenFolder:
    case Glyph::kCurrentFolder:
      return style->standardIcon(QStyle::SP_DirOpenIcon);
    case Glyph::kClosedFolder:
      return style->standardIcon(QStyle::SP_DirClosedIcon);
    case Glyph::kExecutable:
      return style->standardIcon(QStyle::SP_ComputerIcon);
    case Glyph::kUnknownFile:
      return style->standardIcon(QStyle::SP_FileIcon);
    case Glyph::kNone:
      break;
  }
  return {};
}

void BindDriveCombo(const Runner& run, DriveComboBox& drives, QComboBox& widget) {
  widget.setToolTip(ToQt(drives.Hint()));
  run.refresher().Bind(drives.StateChanged, [&drives, &widget] {
    const QSignalBlocker block(widget);
    widget.clear();
    for (const ListEntry& entry : drives.Entries())
      widget.addItem(GlyphIcon(entry.glyph), ToQt(entry.text));
    widget.setCurrentIndex(drives.ItemIndex());
  });
  QObject::connect(&widget, &QComboBox::activated, &widget, [run, &drives](int index) {
    run([&drives, index] { drives.PickEntry(index); });
  });
}

void BindDirectoryList(const Runner& run, DirectoryListBox& directories, QListWidget& widget) {
  widget.setItemDelegate(new IndentDelegate(&widget));
  auto* highlight = new Highlight(
      widget,
      [run, &directories](int row) { run([&directories, row] { directories.SetItemIndex(row); }); },
      [](int) {});
  run.refresher().Bind(directories.StateChanged, [&directories, &widget, highlight] {
    highlight->Show(
        [&] {
          const auto& entries = directories.Entries();
          ShowEntries(
              widget, entries, [&](int i) { return ToQt(directories.DisplayText(i)); }, true);
          for (int i = 0; i < widget.count(); ++i)
            widget.item(i)->setData(kIndentRole, directories.Indent(i));
        },
        directories.ItemIndex());
  });
  QObject::connect(&widget, &QListWidget::itemDoubleClicked, &widget,
                   [run, &directories, &widget](QListWidgetItem* item) {
                     const int row = widget.row(item);
                     run([&directories, row] { directories.OpenEntry(row); });
                   });
  // Enter opens the highlighted entry.
  new EventFilter(widget, [run, &directories, &widget](QEvent& event) {
    if (event.type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent&>(event).key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    const int row = widget.currentIndex().row();
    if (row >= 0) run([&directories, row] { directories.OpenEntry(row); });
    return true;
  });
}

void BindFileList(const Runner& run, FileListBox& files, QListWidget& widget) {
  const auto click = [run, &files](int row) { run([&files, row] { files.ClickEntry(row); }); };
  auto* highlight = new Highlight(widget, click, click);
  run.refresher().Bind(files.StateChanged, [&files, &widget, highlight] {
    if (!files.WindowCreated()) return;
    highlight->Show(
        [&] {
          const auto& entries = files.Entries();
          ShowEntries(
              widget, entries, [&](int i) { return ToQt(entries[i].text); }, files.ShowGlyphs());
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
