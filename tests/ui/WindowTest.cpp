#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "support/ScriptedDialogs.h"
#include "ui/ApplicationTitle.h"
#include "ui/Button.h"
#include "ui/Window.h"

namespace tarvik {
namespace {

TEST(WindowTest, ShowingAVisibleWindowOnlyBringsItToTheFront) {
  Window window;
  int announced = 0, raised = 0;
  window.StateChanged.Subscribe([&] { ++announced; });
  window.BringToFront.Subscribe([&] { ++raised; });
  window.Show();
  window.Show();
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(announced, 1);
  EXPECT_EQ(raised, 2);
  window.Hide();
  window.Hide();
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(announced, 2);
}

TEST(WindowTest, ModalShowingEndsWithTheResultTheWindowGets) {
  struct Case {
    std::string name;
    bool answer_ok;
    enum { kNothing, kPressCancel, kClose } user;  // done while the window is shown
    ModalResult result;
  };
  const Case cases[] = {
      {"OK answered", true, Case::kNothing, ModalResult::kOk},
      {"Cancel answered", false, Case::kNothing, ModalResult::kCancel},
      {"Cancel button wins over the answer", true, Case::kPressCancel, ModalResult::kCancel},
      {"closing counts as Cancel", true, Case::kClose, ModalResult::kCancel},
  };
  for (const auto& c : cases) {
    Window dialog;
    Button cancel;
    cancel.OnClick.Subscribe([&] { dialog.SetResult(ModalResult::kCancel); });
    bool shown_modal = false;
    auto while_open = [&] {
      shown_modal = dialog.Visible() && dialog.Modal();
      if (c.user == Case::kPressCancel) cancel.Click();
      if (c.user == Case::kClose) dialog.Hide();
    };
    ScriptedDialogs dialogs;
    if (c.answer_ok) {
      dialogs.Ok(while_open);
    } else {
      dialogs.Cancel(while_open);
    }
    EXPECT_EQ(dialogs.ShowModal(dialog), c.result) << c.name;
    EXPECT_TRUE(shown_modal) << c.name;
    EXPECT_FALSE(dialog.Visible()) << c.name;
    EXPECT_FALSE(dialog.Modal()) << c.name;
  }
}

TEST(WindowTest, SecondShowingStartsWithoutTheOldResult) {
  Window about;
  ScriptedDialogs dialogs;
  dialogs.Ok();
  EXPECT_EQ(dialogs.ShowModal(about), ModalResult::kOk);
  bool fresh = false;
  dialogs.Cancel([&] { fresh = about.Result() == ModalResult::kNone; });
  EXPECT_EQ(dialogs.ShowModal(about), ModalResult::kCancel);
  EXPECT_TRUE(fresh);
}

TEST(WindowTest, ErrorInsideAModalWindowClosesIt) {
  Window dialog;
  ScriptedDialogs dialogs;
  dialogs.Ok([] { throw std::runtime_error("File access denied"); });
  EXPECT_THROW(dialogs.ShowModal(dialog), std::runtime_error);
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.Modal());
}

TEST(ApplicationTitleTest, OneTitleAnnouncingItsChanges) {
  ApplicationTitle& title = ApplicationTitle::Get();
  title.SetText("Проверка дисков");
  int announced = 0;
  const auto token = title.StateChanged.Subscribe([&] { ++announced; });
  title.SetText("Проверка дисков");
  ApplicationTitle::Get().SetText("Диск C 12.5%");
  title.StateChanged.Unsubscribe(token);
  EXPECT_EQ(&title, &ApplicationTitle::Get());
  EXPECT_EQ(title.Text(), "Диск C 12.5%");
  EXPECT_EQ(announced, 1);
}

}  // namespace
}  // namespace tarvik
