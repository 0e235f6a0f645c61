#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>

#include "AppFixture.h"
#include "app/TAboutBox.h"
#include "app/TApplication.h"
#include "ui/ApplicationTitle.h"

namespace tarvik {
namespace {

TEST(AboutBoxTest, TextsAndLayout) {
  TAboutBox about;
  EXPECT_EQ(about.Caption(), "Краткая информация");
  EXPECT_EQ(about.ProductName.Caption(), "Проверка файлов на логических дисках.");
  EXPECT_EQ(about.Label1.Caption(), "(не производит модификацию дисков)");
  EXPECT_EQ(about.Comments.Caption(),
            "Программа проверяет файлы на заданном логическом диске посредством простого "
            "считывания их блоками по 2048 ... 32768 байта. Возможна проверка одного файла "
            "(правая кнопка мыши).          Esc - прервать сканирование.");
  EXPECT_EQ(about.Label5.Caption(), "В этой версии появилась возможность проверять сетевые диски");
  EXPECT_NE(about.Version.Caption().find("tarvik"), std::string::npos);
  EXPECT_EQ(about.OKButton.Caption(), "OK");
  EXPECT_EQ(about.Layout.width, 322);
  EXPECT_EQ(about.Layout.height, 330);
  EXPECT_TRUE(about.Layout.centred && about.Layout.fixed_size && about.Layout.client_size);
}

TEST(AboutBoxTest, OkEndsTheModalShowing) {
  TAboutBox about;
  ScriptedDialogs dialogs;
  dialogs.Ok([&] { about.OKButton.Click(); });
  EXPECT_EQ(dialogs.ShowModal(about), ModalResult::kOk);
  EXPECT_FALSE(about.Visible());
}

TEST_F(TForm1Test, ProgramStartsWithFiveWindowsAndItsTitle) {
  ApplicationTitle::Get().SetText("something else");
  AppPlatform& platform = StartPlatform("C:\\", {TempDrive('C', tmp_.path(), kDriveFixed, "")});
  TApplication application(platform, dialogs_);
  EXPECT_EQ(ApplicationTitle::Get().Text(), "Проверка дисков");
  const std::pair<const Window*, const char*> windows[] = {
      {&application.Form1, "Проверка файлов на диске."},
      {&application.AboutBox, "Краткая информация"},
      {&application.ListError, "Проблемные файлы"},
      {&application.DlgNetConnect, "Сетевое соединение"},
      {&application.DlgInfo, "Info"},
  };
  application.Run();
  for (auto [window, caption] : windows) {
    EXPECT_EQ(window->Caption(), caption);
    EXPECT_EQ(window->Visible(), window == &application.Form1) << caption;
  }
  application.Form1.N8.Click();
  EXPECT_TRUE(application.ListError.Visible());
}

// The history window names the current drive's volume and follows the current directory to
// another drive; the changes are accepted only once the user agrees.
TEST_F(TForm1Test, HistoryWindowFollowsTheCurrentDrive) {
  tmp_.MakeFile("APP/A.TXT", "abc");
  TempDir history;
  Start();
  form().UseHistory(history.Path("history.sqlite3"));
  form().BitBtn1Click();
  THistoryWindow& window = form().HistoryWindow;
  form().N18.Click();
  ASSERT_EQ(window.Rows().size(), 1u);
  EXPECT_TRUE(std::regex_match(window.Rows()[0][0], std::regex(R"(\S+ \d\d:\d\d:\d\d)")));
  const auto accept = [&](bool agree) {
    agree ? dialogs_.Ok() : dialogs_.Cancel();
    window.AcceptButton.Click();
  };
  const struct {
    const char* name;
    std::function<void()> act;
    const char* caption;
    std::size_t rows;
    std::string status;
  } steps[] = {
      {"accepting refused", [&] { accept(false); }, "История проверок – диск C: (SYSTEM)", 1, ""},
      {"accepted", [&] { accept(true); }, "История проверок – диск C: (SYSTEM)", 1,
       "Принято изменений: 0"},
      {"another drive", [&] { form().DirectoryListBox1.SetDirectory("D:\\"); },
       "История проверок – диск D: (DATA)", 0, THistoryWindow::kNoChecks},
      {"no history",
       [&] {
         form().UseHistory("");
         accept(true);
       },
       "История проверок – диск D: (DATA)", 0,
       "Изменения не приняты: историю проверок не удалось изменить"},
  };
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(window.Caption(), step.caption) << step.name;
    EXPECT_EQ(window.Rows().size(), step.rows) << step.name;
    EXPECT_EQ(window.StatusLine.Caption(), step.status) << step.name;
  }
  EXPECT_EQ(dialogs_.PendingAnswers(), 0u);
}

}  // namespace
}  // namespace tarvik
