#pragma once

#include <string>
#include <vector>

#include "ui/Control.h"

namespace tarvik {

// A drop-down list of texts. An editable box takes any typed text; a plain drop-down list
// only ever shows one of its items or nothing. The text and the item index never disagree:
// with an item selected the text is that item's, and a text that is no item selects nothing.
class ComboBox : public Control {
 public:
  const std::vector<std::string>& Items() const { return items_; }
  // A plain drop-down list selects nothing afterwards; an editable box keeps its text and
  // selects the item equal to it.
  void SetItems(std::vector<std::string> items);

  int ItemIndex() const { return item_index_; }
  // An index outside the list selects nothing and empties the text.
  void SetItemIndex(int index);

  const std::string& Text() const { return text_; }
  // Selects the first item equal to the text. A plain drop-down list accepts only the text
  // of one of its items; any other text selects nothing and empties it.
  void SetText(std::string text);

  bool Editable() const { return editable_; }
  void SetEditable(bool editable);

  // The user's actions. Only these fire OnChange, and only when they change something; the
  // program's own assignments above do not.
  void UserSelect(int index);
  void UserType(std::string text);

  Signal OnChange;

 private:
  int IndexOf(const std::string& text) const;
  // Stores both and announces once; true when either changed.
  bool Store(int index, std::string text);

  std::vector<std::string> items_;
  int item_index_ = -1;
  std::string text_;
  bool editable_ = true;
};

}  // namespace tarvik
