#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/ComboBox.h"

namespace tarvik {
namespace {

const std::vector<std::string> kBlockSizes = {"2048", "4096", "8192", "16384", "32768"};

struct ComboCase {
  std::string name;
  bool editable;
  std::function<void(ComboBox&)> act;  // applied to a box holding kBlockSizes, item 3 selected
  int index;
  std::string text;
  int changes;
};

TEST(ComboBoxTest, TextAndIndexStayTogether) {
  const ComboCase cases[] = {
      {"index selects the item's text", false, [](ComboBox& b) { b.SetItemIndex(0); }, 0, "2048",
       0},
      {"index past the end selects nothing", false, [](ComboBox& b) { b.SetItemIndex(5); }, -1, "",
       0},
      {"index -1 empties the text", true, [](ComboBox& b) { b.SetItemIndex(-1); }, -1, "", 0},
      {"list takes an item's text", false, [](ComboBox& b) { b.SetText("4096"); }, 1, "4096", 0},
      {"list refuses any other text", false, [](ComboBox& b) { b.SetText("1000"); }, -1, "", 0},
      {"editable box keeps any text", true, [](ComboBox& b) { b.SetText("1000"); }, -1, "1000", 0},
      {"user pick fires OnChange", false, [](ComboBox& b) { b.UserSelect(4); }, 4, "32768", 1},
      {"user pick of the selected item", false, [](ComboBox& b) { b.UserSelect(3); }, 3, "16384",
       0},
      {"user pick past the end", false, [](ComboBox& b) { b.UserSelect(9); }, 3, "16384", 0},
      {"user cannot type into a list", false, [](ComboBox& b) { b.UserType("8192"); }, 3, "16384",
       0},
      {"user types an item", true, [](ComboBox& b) { b.UserType("8192"); }, 2, "8192", 1},
      {"user types something else", true, [](ComboBox& b) { b.UserType("z"); }, -1, "z", 1},
      {"disabled box ignores the user", true,
       [](ComboBox& b) {
         b.SetEnabled(false);
         b.UserSelect(0);
         b.UserType("z");
       },
       3, "16384", 0},
      {"new items reselect an editable box's text", true,
       [](ComboBox& b) {
         b.SetItems({"1", "16384"});
       },
       1, "16384", 0},
      {"new items leave a list without selection", false,
       [](ComboBox& b) {
         b.SetItems({"1", "16384"});
       },
       -1, "", 0},
      {"a box made a list drops a typed text", true,
       [](ComboBox& b) {
         b.SetText("typed");
         b.SetEditable(false);
       },
       -1, "", 0},
  };
  for (const auto& c : cases) {
    ComboBox box;
    box.SetEditable(c.editable);
    box.SetItems(kBlockSizes);
    box.SetItemIndex(3);
    int changes = 0;
    box.OnChange.Subscribe([&] { ++changes; });
    c.act(box);
    EXPECT_EQ(box.ItemIndex(), c.index) << c.name;
    EXPECT_EQ(box.Text(), c.text) << c.name;
    EXPECT_EQ(changes, c.changes) << c.name;
  }
}

}  // namespace
}  // namespace tarvik
