#include "ui/ComboBox.h"

#include <algorithm>
#include <utility>

namespace tarvik {

void ComboBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  if (!editable_) text_.clear();
  item_index_ = editable_ ? IndexOf(text_) : -1;
  StateChanged();
}

void ComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) {
    Store(-1, {});
  } else {
    Store(index, items_[index]);
  }
}

void ComboBox::SetText(std::string text) {
  const int index = IndexOf(text);
  if (!editable_ && index < 0) text.clear();
  Store(index, std::move(text));
}

void ComboBox::SetEditable(bool editable) {
  if (!Assign(editable_, editable)) return;
  // A list that cannot be typed into cannot keep a typed text.
  if (!editable_) SetText(text_);
}

void ComboBox::UserSelect(int index) {
  if (!Enabled() || index < 0 || index >= static_cast<int>(items_.size())) return;
  if (Store(index, items_[index])) OnChange();
}

void ComboBox::UserType(std::string text) {
  if (!Enabled() || !editable_) return;
  const int index = IndexOf(text);
  if (Store(index, std::move(text))) OnChange();
}

int ComboBox::IndexOf(const std::string& text) const {
  const auto found = std::find(items_.begin(), items_.end(), text);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

bool ComboBox::Store(int index, std::string text) {
  if (index == item_index_ && text == text_) return false;
  item_index_ = index;
  text_ = std::move(text);
  StateChanged();
  return true;
}

}  // namespace tarvik
