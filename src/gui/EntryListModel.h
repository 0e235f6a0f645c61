#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <array>
#include <vector>

#include "browse/Glyph.h"

namespace tarvik {

// The rows of a list view as a list model last showed them. The rows are a copy, so that a
// view never reads entries that changed under it before its refresh; each row's text becomes
// a QString only when the row is painted, and every row of a glyph shares one icon.
class EntryListModel : public QAbstractListModel {
 public:
  // The role of a row's indentation in pixels.
  static constexpr int kIndentRole = Qt::UserRole + 1;

  using QAbstractListModel::QAbstractListModel;

  // Shows `entries` with their glyphs (or none) and indentations (empty: none). The rows are
  // replaced only when something differs, so that an unchanged list keeps its scroll position.
  void Show(std::vector<ListEntry> entries, bool glyphs, std::vector<int> indents = {});

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  // The one icon of a glyph kind, made when a row first shows it.
  const QIcon& IconOf(Glyph glyph) const;

  std::vector<ListEntry> entries_;
  bool glyphs_ = false;
  std::vector<int> indents_;
  mutable std::array<QIcon, static_cast<std::size_t>(Glyph::kUnknownFile) + 1> icons_;
};

// The icon of a glyph kind; a null icon for Glyph::kNone.
QIcon GlyphIcon(Glyph glyph);

}  // namespace tarvik
