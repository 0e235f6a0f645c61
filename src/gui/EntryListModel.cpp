#include "EntryListModel.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

#include "QtText.h"

namespace tarvik {

namespace {

QStyle::StandardPixmap PixmapOf(Glyph glyph) {
  switch (glyph) {
    case Glyph::kFloppy:
      return QStyle::SP_DriveFDIcon;
    case Glyph::kHard:
    case Glyph::kRam:
      return QStyle::SP_DriveHDIcon;
    case Glyph::kNetwork:
      return QStyle::SP_DriveNetIcon;
    case Glyph::kCdrom:
      return QStyle::SP_DriveCDIcon;
    case Glyph::kOpenFolder:
    case Glyph::kCurrentFolder:
      return QStyle::SP_DirOpenIcon;
    case Glyph::kClosedFolder:
      return QStyle::SP_DirClosedIcon;
    case Glyph::kExecutable:
      return QStyle::SP_ComputerIcon;
    case Glyph::kUnknownFile:
    case Glyph::kNone:
      break;
  }
  return QStyle::SP_FileIcon;
}

}  // namespace

QIcon GlyphIcon(Glyph glyph) {
  if (glyph == Glyph::kNone) return {};
  return QApplication::style()->standardIcon(PixmapOf(glyph));
}

void EntryListModel::Show(std::vector<ListEntry> entries, bool glyphs, std::vector<int> indents) {
  if (entries == entries_ && glyphs == glyphs_ && indents == indents_) return;
  beginResetModel();
  entries_ = std::move(entries);
  glyphs_ = glyphs;
  indents_ = std::move(indents);
  endResetModel();
}

const QIcon& EntryListModel::IconOf(Glyph glyph) const {
  QIcon& icon = icons_[static_cast<std::size_t>(glyph)];
  if (icon.isNull()) icon = GlyphIcon(glyph);
  return icon;
}

int EntryListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant EntryListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return ToQt(entries_[row].text);
    case Qt::DecorationRole:
      if (!glyphs_ || entries_[row].glyph == Glyph::kNone) return {};
      return IconOf(entries_[row].glyph);
    case kIndentRole:
      return row < indents_.size() ? indents_[row] : 0;
    default:
      return {};
  }
}

}  // namespace tarvik
