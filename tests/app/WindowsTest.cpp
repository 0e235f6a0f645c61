#include <gtest/gtest.h>

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

TEST_F(MainWindowTest, ProgramStartsWithFiveWindowsAndItsTitle) {
  ApplicationTitle::Get().SetText("something else");
  AppPlatform platform({{'C', tmp_.path(), kDriveFixed, "", 0x3}}, "C:\\");
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

TEST_F(MainWindowTest, LowerCaseDriveLetterIsShownUpperCase) {
  Start();
  form().DriveComboBox1.SetTextCase(tcLowerCase);
  EXPECT_EQ(form().DriveComboBox1.Drive(), 'c');
  EXPECT_EQ(form().LabelDiskSize.Caption(), "Объем диска C:  = 652.345 Мб.");
  EXPECT_EQ(platform().capacity_roots.substr(platform().capacity_roots.size() - 3), "C:\\");
}

TEST_F(MainWindowTest, SameFileNameAgainIsNotMeasuredAgain) {
  tmp_.MakeFileOfSize("a.bin", 1500);
  Start();
  form().EditCurFile.SetText("a.bin");
  EXPECT_EQ(form().EditSize.Text(), "1.500  Кб");
  tmp_.Remove("a.bin");
  form().EditCurFile.SetText("a.bin");
  EXPECT_EQ(form().EditSize.Text(), "1.500  Кб");
}

TEST_F(MainWindowTest, EveryStepOfTheAttributeSetReadsTheList) {
  tmp_.MakeFile("plain");
  Start();
  struct Case {
    CheckBox* box;
    int reads;  // the empty set, then one read per ticked box that changes the set
  };
  const Case cases[] = {{&form().CheckBox5, 5}, {&form().CheckBox5, 6}, {&form().CheckBox1, 5}};
  for (const auto& c : cases) {
    platform().find_calls = 0;
    c.box->Click();
    EXPECT_EQ(platform().find_calls, c.reads) << c.box->Caption();
  }
}

TEST_F(MainWindowTest, SubdirectoryListFollowsEveryDirectoryChange) {
  tmp_.MakeDir("WORK/ONE");
  tmp_.MakeDir("WORK/.hidden");
  tmp_.MakeDir("WORK/two");
  Start();
  form().DirectoryListBox1.SetDirectory("C:\\WORK");
  std::vector<std::string> names;
  for (const auto& entry : form().FileListBox2.Entries()) names.push_back(entry.text);
  EXPECT_EQ(names, (std::vector<std::string>{"[..]", "[.]", "[ONE]", "[two]"}));
  EXPECT_EQ(form().FileListBox2.Directory(), "C:\\WORK");
}

}  // namespace
}  // namespace tarvik
