#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/Control.h"

namespace tarvik {

// An item of a main or context menu. A menu itself is an item whose children are its entries;
// an item with children opens a submenu, one without runs OnClick when chosen.
class MenuItem : public Control {
 public:
  // The caption of a separator line.
  static constexpr const char* kSeparator = "-";

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Assign(caption_, std::move(caption)); }
  bool IsSeparator() const { return caption_ == kSeparator; }

  // The key that chooses the item, as shown beside it ("F5", "Ctrl+F5", "Esc"); empty for
  // none.
  const std::string& ShortCut() const { return short_cut_; }
  void SetShortCut(std::string short_cut) { Assign(short_cut_, std::move(short_cut)); }

  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { Assign(checked_, checked); }

  // The children in menu order. The window that declares the items owns them.
  const std::vector<MenuItem*>& Items() const { return items_; }
  void Add(MenuItem& item) {
    items_.push_back(&item);
    StateChanged();
  }

  // The user chose the item, from the menu or by its shortcut. A disabled item does nothing,
  // which is how a shortcut is switched off together with its item.
  void Click() {
    if (Enabled()) OnClick();
  }

  Signal OnClick;

 private:
  std::string caption_;
  std::string short_cut_;
  bool checked_ = false;
  std::vector<MenuItem*> items_;
};

}  // namespace tarvik
