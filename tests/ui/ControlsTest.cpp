#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/MenuItem.h"

namespace tarvik {
namespace {

TEST(EditTest, OnChangeOnlyWhenTheTextReallyChanges) {
  // Each text is set in turn on a field that starts as "*.*".
  const std::pair<std::string, bool> steps[] = {
      {"*.*", false},   {"a.txt", true}, {"a.txt", false}, {"A.TXT", true},
      {"A.TXT ", true}, {"", true},      {"", false},
  };
  Edit edit;
  edit.SetText("*.*");
  int changes = 0, announced = 0;
  edit.OnChange.Subscribe([&] { ++changes; });
  edit.StateChanged.Subscribe([&] { ++announced; });
  for (const auto& [text, changes_it] : steps) {
    const int before = changes;
    edit.SetText(text);
    EXPECT_EQ(changes - before, changes_it ? 1 : 0) << '"' << text << '"';
    EXPECT_EQ(announced, changes) << '"' << text << '"';
    EXPECT_EQ(edit.Text(), text);
  }
}

TEST(EditTest, HandlerSeesTheNewTextAndMaySetItAgain) {
  Edit edit;
  std::vector<std::string> seen;
  edit.OnChange.Subscribe([&] {
    seen.push_back(edit.Text());
    if (edit.Text() == "raw") edit.SetText("cooked");
  });
  edit.SetText("raw");
  EXPECT_EQ(edit.Text(), "cooked");
  EXPECT_EQ(seen, (std::vector<std::string>{"raw", "cooked"}));
}

TEST(EditTest, ReadOnlyFieldStillTakesTheProgramsText) {
  Edit edit;
  edit.SetReadOnly(true);
  int changes = 0;
  edit.OnChange.Subscribe([&] { ++changes; });
  edit.SetText("0");
  EXPECT_EQ(edit.Text(), "0");
  EXPECT_EQ(changes, 1);
}

TEST(CheckBoxTest, ClicksAndAssignments) {
  struct Case {
    std::string name;
    bool enabled, start_checked;
    bool click;  // the user's click, else the program sets `set_to`
    bool set_to;
    bool checked_after;
    int clicks;
  };
  const Case cases[] = {
      {"user checks", true, false, true, false, true, 1},
      {"user unchecks", true, true, true, false, false, 1},
      {"disabled box ignores the user", false, true, true, false, true, 0},
      {"program changes it", true, true, false, false, false, 1},
      {"program sets the state it has", true, true, false, true, true, 0},
      {"program changes a disabled box", false, false, false, true, true, 1},
  };
  for (const auto& c : cases) {
    CheckBox box;
    box.SetChecked(c.start_checked);
    box.SetEnabled(c.enabled);
    int clicks = 0;
    bool seen = !c.checked_after;
    box.OnClick.Subscribe([&] {
      ++clicks;
      seen = box.Checked();
    });
    if (c.click) {
      box.Click();
    } else {
      box.SetChecked(c.set_to);
    }
    EXPECT_EQ(box.Checked(), c.checked_after) << c.name;
    EXPECT_EQ(clicks, c.clicks) << c.name;
    if (c.clicks > 0) {
      EXPECT_EQ(seen, c.checked_after) << c.name;
    }
  }
}

TEST(MenuItemTest, DisabledItemIgnoresItsShortcut) {
  MenuItem esc;
  esc.SetCaption("Прервать");
  esc.SetShortCut("Esc");
  esc.SetEnabled(false);
  int clicks = 0;
  esc.OnClick.Subscribe([&] { ++clicks; });
  esc.Click();
  EXPECT_EQ(clicks, 0);
  esc.SetEnabled(true);
  esc.Click();
  EXPECT_EQ(clicks, 1);
}

TEST(MenuItemTest, SubmenuKeepsItsOrderAndSeparators) {
  MenuItem work, check, separator, abort;
  check.SetCaption("Проверить");
  separator.SetCaption(MenuItem::kSeparator);
  abort.SetCaption("Прервать");
  for (MenuItem* item : {&check, &separator, &abort}) work.Add(*item);
  ASSERT_EQ(work.Items().size(), 3u);
  EXPECT_EQ(work.Items()[0], &check);
  EXPECT_EQ(work.Items()[2], &abort);
  EXPECT_FALSE(check.IsSeparator());
  EXPECT_TRUE(separator.IsSeparator());
}

TEST(ButtonTest, DisabledButtonCannotBeClicked) {
  Button button;
  int clicks = 0;
  button.OnClick.Subscribe([&] { ++clicks; });
  button.SetEnabled(false);
  button.Click();
  button.SetEnabled(true);
  button.Click();
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace tarvik
