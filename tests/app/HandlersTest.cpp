#include <gtest/gtest.h>
#include <poll.h>

#include <optional>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/RunHandler.h"
#include "platform/IoError.h"
#include "support/PrivateMountNamespace.h"
#include "support/ScopedMount.h"
#include "ui/ApplicationTitle.h"

namespace tarvik {
namespace {

TEST_F(TForm1Test, MaskIsTrimmedAndDefaults) {
  tmp_.MakeFile("a.txt");
  tmp_.MakeFile("b.TXT");
  tmp_.MakeFile("c.bin");
  Start();
  const std::pair<const char*, const char*> cases[] = {
      {"  *.TXT  ", "*.TXT"},           {"   ", "*.*"}, {"", "*.*"}, {"*.bin", "*.bin"},
      {" *.txt;*.bin ", "*.txt;*.bin"},
  };
  for (auto [typed, mask] : cases) {
    form().EditMask.SetText(typed);
    EXPECT_EQ(form().FileListBox1.Mask(), mask) << '"' << typed << '"';
    EXPECT_EQ(form().EditMask.Text(), typed);
  }
  form().EditMask.SetText(" *.TXT ");
  EXPECT_EQ(form().EditCountFile.Text(), "2");
}

TEST_F(TForm1Test, TwoPatternsCountAFileTwice) {
  tmp_.MakeFile("a.txt");
  tmp_.MakeFile("b.bin");
  Start();
  form().EditMask.SetText("*.txt;*.*");
  EXPECT_EQ(form().EditCountFile.Text(), "3");
  form().EditMask.SetText("*.txt;;*.bin");
  EXPECT_EQ(form().EditCountFile.Text(), "2");
}

TEST_F(TForm1Test, StartInASubdirectory) {
  tmp_.MakeFile("WORK/SUB/f");
  Start("C:\\WORK\\SUB");
  EXPECT_EQ(form().EditCurDir.Text(), "C:\\WORK\\SUB");
  EXPECT_EQ(form().EditCountDir.Text(), "0");
  EXPECT_EQ(form().EditCountFile.Text(), "1");
  EXPECT_EQ(form().DriveComboBox1.Drive(), 'C');
}

TEST_F(TForm1Test, AttributeBoxesBuildTheFileType) {
  tmp_.MakeFile("plain");
  tmp_.MakeFile(".hidden");
  tmp_.MakeFile("locked");
  tmp_.Chmod("locked", 0444);
  Start();
  EXPECT_EQ(form().EditCountFile.Text(), "3");

  form().CheckBox5.Click();  // Normal off
  EXPECT_EQ(form().FileListBox1.FileType(), (TFileType{ftReadOnly, ftHidden, ftSystem, ftArchive}));
  EXPECT_EQ(form().EditCountFile.Text(), "2");  // the hidden and the read-only file

  form().CheckBox2.Click();  // Hidden off
  EXPECT_EQ(form().EditCountFile.Text(), "1");

  for (CheckBox* box : {&form().CheckBox1, &form().CheckBox3, &form().CheckBox4}) box->Click();
  EXPECT_EQ(form().FileListBox1.FileType(), TFileType{});
  EXPECT_EQ(form().EditCountFile.Text(), "0");

  form().CheckBox5.Click();
  EXPECT_EQ(form().FileListBox1.FileType(), TFileType{ftNormal});
  EXPECT_EQ(form().EditCountFile.Text(), "2");  // everything but the hidden file
}

TEST_F(TForm1Test, FileSizeShownForTheCurrentFile) {
  tmp_.MakeFileOfSize("big.bin", 1500);
  tmp_.MakeFile("empty.txt");
  Start();
  const std::pair<const char*, const char*> cases[] = {
      {"big.bin", "1.500  Кб"},
      {"empty.txt", "0.000  Кб"},
      {"*.*", "-0.001  Кб"},
      {"missing.txt", "-0.001  Кб"},
  };
  for (auto [name, size] : cases) {
    form().EditCurFile.SetText(name);
    EXPECT_EQ(form().EditSize.Text(), size) << name;
  }
}

TEST_F(TForm1Test, ClickingAFileShowsItsName) {
  tmp_.MakeFileOfSize("a.bin", 2000);
  tmp_.MakeFile("b.bin");
  Start();
  form().FileListBox1.ClickEntry(0);
  EXPECT_EQ(form().EditCurFile.Text(), "a.bin");
  EXPECT_EQ(form().EditSize.Text(), "2.000  Кб");
  form().FileListBox1.ClickEntry(-1);
  EXPECT_EQ(form().EditCurFile.Text(), "a.bin");
}

TEST_F(TForm1Test, FocusEnablesTheCheckCommands) {
  Start();
  struct Step {
    void (TForm1::*handler)();
    bool n3, n4;
  };
  const Step steps[] = {
      {&TForm1::DirectoryListBox1Enter, false, true},
      {&TForm1::DirectoryListBox1Exit, false, false},
      {&TForm1::FileListBox1Enter, true, false},
      {&TForm1::FileListBox1Exit, false, false},
      {&TForm1::FileListBox1Enter, true, false},
      {&TForm1::FileListBox1Exit, false, false},
      {&TForm1::DirectoryListBox1Enter, false, true},
  };
  EXPECT_TRUE(form().N3.Enabled());
  EXPECT_TRUE(form().N4.Enabled());
  for (const auto& step : steps) {
    (form().*step.handler)();
    EXPECT_EQ(form().N3.Enabled(), step.n3);
    EXPECT_EQ(form().N4.Enabled(), step.n4);
  }
  EXPECT_TRUE(form().N2.Enabled());
  EXPECT_TRUE(form().N8.Enabled());
}

TEST_F(TForm1Test, AboutBoxHidesTheInfoWindowFirst) {
  Start();
  about_box_.SetCaption("Краткая информация");
  dlg_info_.Show();
  dialogs_.Ok([&] { EXPECT_FALSE(dlg_info_.Visible()); });
  form().N7.Click();
  EXPECT_EQ(dialogs_.Texts(DialogKind::kModal), std::vector<std::string>{"Краткая информация"});
  EXPECT_FALSE(about_box_.Visible());
}

TEST_F(TForm1Test, ProblemListShownOnRequest) {
  Start();
  dlg_info_.Show();
  form().N8.Click();
  EXPECT_FALSE(dlg_info_.Visible());
  EXPECT_TRUE(list_error_.Visible());
}

TEST_F(TForm1Test, DrivePickUpdatesTheLabelOnEveryNotification) {
  Start();
  int runs = 0;
  form().DriveComboBox1.OnChange.Subscribe([&] { ++runs; });
  form().DriveComboBox1.OnClick.Subscribe([&] { ++runs; });
  platform().capacity_roots.clear();
  form().DriveComboBox1.PickEntry(1);
  EXPECT_EQ(runs, 3);
  // The click comes while the list still holds the old drive.
  EXPECT_EQ(platform().capacity_roots, "C:\\D:\\D:\\");
  EXPECT_EQ(form().LabelDiskSize.Caption(), "Объем диска D:  = 652.345 Мб.");
  EXPECT_EQ(form().EditCurDir.Text(), "D:\\");

  // Picking the current drive again: the click and the closing notification only.
  runs = 0;
  form().DriveComboBox1.PickEntry(1);
  EXPECT_EQ(runs, 2);
}

// A RAM disk mounted below C:\M, which the drives follow, while a file is checked.
TEST_F(TForm1Test, DriveThatComesDuringACheckShowsAfterIt) {
  tmp_.MakeFile("A.BIN", "a");
  tmp_.MakeDir("M/NEW");
  ASSERT_EQ(EnterPrivateMountNamespace(), 0);
  Start("C:\\", [this](AppPlatform& platform) { platform.FollowMountsBelow(tmp_.Path("M")); });
  pollfd watch{form().DriveWatchDescriptor(), POLLIN, 0};
  form().FileListBox1.SetItemIndex(0);
  std::optional<ScopedMount> volume;
  dialogs_.AtPump(1, [&] {
    ASSERT_TRUE(volume.emplace(tmp_.Path("M/NEW")).mounted());
    for (int wait = 10000; poll(&watch, 1, wait) == 1; wait = 100) form().DriveWatchReady();
    EXPECT_EQ(form().DriveComboBox1.Count(), 2);
  });
  form().N3Click();
  EXPECT_EQ(form().DriveComboBox1.Count(), 3);
}

TEST_F(TForm1Test, ClosingIsAlwaysAllowed) {
  Start();
  EXPECT_TRUE(form().FormCloseQuery());
}

TEST_F(TForm1Test, FailedDirectoryChangeEndsInTheErrorBox) {
  Start();
  ApplicationTitle::Get().SetText("Проверка дисков");
  RunHandler(dialogs_, [&] { form().DirectoryListBox1.SetDirectory("C:\\NOWHERE"); });
  RunHandler(dialogs_, [] { throw IoError(kErrAccessDenied); });
  RunHandler(dialogs_, [] { throw IoError(kErrNotReady); });
  const auto errors = dialogs_.Texts(DialogKind::kError);
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[1], "File access denied.");
  EXPECT_EQ(errors[2], "I/O error 21.");
  EXPECT_EQ(dialogs_.Log().back().caption, "Проверка дисков");
  EXPECT_EQ(form().EditCurDir.Text(), "C:\\");
}

TEST_F(TForm1Test, LowerCaseDriveLetterIsShownUpperCase) {
  Start();
  form().DriveComboBox1.SetTextCase(tcLowerCase);
  EXPECT_EQ(form().DriveComboBox1.Drive(), 'c');
  EXPECT_EQ(form().LabelDiskSize.Caption(), "Объем диска C:  = 652.345 Мб.");
  EXPECT_EQ(platform().capacity_roots.substr(platform().capacity_roots.size() - 3), "C:\\");
}

TEST_F(TForm1Test, SameFileNameAgainIsNotMeasuredAgain) {
  tmp_.MakeFileOfSize("a.bin", 1500);
  Start();
  form().EditCurFile.SetText("a.bin");
  EXPECT_EQ(form().EditSize.Text(), "1.500  Кб");
  tmp_.Remove("a.bin");
  form().EditCurFile.SetText("a.bin");
  EXPECT_EQ(form().EditSize.Text(), "1.500  Кб");
}

TEST_F(TForm1Test, EveryStepOfTheAttributeSetReadsTheList) {
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

TEST_F(TForm1Test, SubdirectoryListFollowsEveryDirectoryChange) {
  tmp_.MakeDir("WORK/ONE");
  tmp_.MakeDir("WORK/.hidden");
  tmp_.MakeDir("WORK/two");
  Start();
  form().DirectoryListBox1.SetDirectory("C:\\WORK");
  std::vector<std::string> names;
  for (const auto& entry : form().FileListBox2.Entries()) names.push_back(entry.text);
  EXPECT_EQ(names, (std::vector<std::string>{"[..]", "[.hidden]", "[.]", "[ONE]", "[two]"}));
  EXPECT_EQ(form().FileListBox2.Directory(), "C:\\WORK");
}

// "Сохранить контрольные суммы…" saves the last check's fingerprints; "Сверить с контрольными
// суммами…" chooses the checksum file the next checks verify against, and chosen again clears it.
TEST_F(TForm1Test, ChecksumItemsSaveAndVerify) {
  tmp_.MakeFile("A.TXT", "abc");
  tmp_.MakeFile("SUMS.MD5", "4911e516e5aa21d327512e0c8b197616  A.TXT\n");  // the MD5 of "abd"
  Start();
  EXPECT_FALSE(form().N15.Enabled());
  form().BitBtn1Click();
  ASSERT_TRUE(form().N15.Enabled());
  // On another drive, the names are the files' absolute paths.
  dialogs_.Enter("D:\\SUMS");
  form().N15.Click();
  EXPECT_EQ(d_drive_.ReadFile("SUMS"),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  " +
                tmp_.Path("A.TXT") +
                "\na6e2eb31a9796acd8c1af20b9785dee893d27364d445a48f13c9abf5813ed525  " +
                tmp_.Path("SUMS.MD5") + "\n");
  EXPECT_EQ(form().Label11.Caption(),
            "Контрольные суммы сохранены в \"D:\\SUMS\", имена файлов - относительно его папки");

  dialogs_.Enter("C:\\SUMS.MD5");
  form().N16.Click();
  EXPECT_TRUE(form().N16.Checked());
  dialogs_.Ok();  // on after the problem file
  form().BitBtn1Click();
  EXPECT_EQ(list_error_.Memo1.Lines(),
            std::vector<std::string>{
                "Файл : \"C:\\A.TXT\" - содержимое не совпадает с контрольной суммой !"});
  EXPECT_EQ(form().Label11.Caption(), "Сверка с контрольными суммами: C:\\SUMS.MD5");

  dialogs_.Ok();  // no more verifying
  form().N16.Click();
  EXPECT_FALSE(form().N16.Checked());
  form().BitBtn1Click();
  EXPECT_EQ(list_error_.Count(), 0);
  EXPECT_EQ(form().Label11.Caption(), TForm1::kStatusHint);
}

}  // namespace
}  // namespace tarvik
