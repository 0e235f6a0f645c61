#include <gtest/gtest.h>

#include "AppFixture.h"

namespace tarvik {
namespace {

TEST_F(TForm1Test, FieldsAtStart) {
  tmp_.MakeFile("one.txt", "1");
  tmp_.MakeFile("two.bin", "22");
  Start();
  const std::pair<const Edit*, const char*> edits[] = {
      {&form().EditCurDir, "C:\\"},   {&form().EditCountDir, "0"},  {&form().EditMask, "*.*"},
      {&form().EditSec1, "00:00:00"}, {&form().EditCountFile, "2"}, {&form().EditCurFile, "*.*"},
      {&form().EditSize, "0"},        {&form().EditSec, "0"},       {&form().Edit1, "0"},
      {&form().Edit2, "0"},
  };
  for (auto [edit, text] : edits) EXPECT_EQ(edit->Text(), text);
  for (const Edit* edit :
       {&form().EditCurDir, &form().EditCountDir, &form().EditSec1, &form().EditCountFile,
        &form().EditCurFile, &form().EditSize, &form().EditSec, &form().Edit1, &form().Edit2})
    EXPECT_TRUE(edit->ReadOnly());
  EXPECT_FALSE(form().EditMask.ReadOnly());
  EXPECT_EQ(form().Caption(), "Проверка файлов на диске.");
  EXPECT_TRUE(form().Layout.maximised);
  EXPECT_TRUE(form().Visible());
}

TEST_F(TForm1Test, OptionsAtStart) {
  Start();
  for (const CheckBox* box : {&form().CheckBox1, &form().CheckBox2, &form().CheckBox3,
                              &form().CheckBox4, &form().CheckBox5, &form().CheckBoxMode})
    EXPECT_TRUE(box->Checked()) << box->Caption();
  EXPECT_FALSE(form().CheckBox6.Checked());
  EXPECT_EQ(form().CBSizeBlock.Text(), "16384");
  EXPECT_EQ(form().CBSizeBlock.ItemIndex(), 3);
  EXPECT_FALSE(form().CBSizeBlock.Editable());
  EXPECT_EQ(form().FileListBox1.FileType(),
            (TFileType{ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal}));
  EXPECT_EQ(form().FileListBox2.FileType(), (TFileType{ftDirectory, ftHidden}));
  EXPECT_EQ(form().FileListBox1.Mask(), "*.*");
}

TEST_F(TForm1Test, MenusAndShortcuts) {
  Start();
  struct Case {
    const MenuItem* item;
    const char* caption;
    const char* short_cut;
    bool enabled;
  };
  const Case cases[] = {
      {&form().N1, "Работа", "", true},
      {&form().N2, "Проверить", "F5", true},
      {&form().N8, "Показать последний список проблемных файлов", "Ctrl+F5", true},
      {&form().N14, "График скорости чтения", "Ctrl+G", true},
      {&form().N15, "Сохранить контрольные суммы…", "", false},
      {&form().N16, "Сверить с контрольными суммами…", "", true},
      {&form().N17, "Запоминать проверки", "", true},
      {&form().N18, "История проверок", "Ctrl+H", true},
      {&form().N6, "Прервать", "Esc", false},
      {&form().N7, "?", "", true},
      {&form().N3, "проверить файл", "", true},
      {&form().N4, "проверить каталог", "", true},
      {&form().N12, "Сделать сетевое соединение", "", true},
      {&form().N13, "Прервать сетевое соединение", "", true},
      {&form().N9, "Сделать сетевое соединение", "", true},
      {&form().N10, "Прервать сетевое соединение", "", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.item->Caption(), c.caption);
    EXPECT_EQ(c.item->ShortCut(), c.short_cut) << c.caption;
    EXPECT_EQ(c.item->Enabled(), c.enabled) << c.caption;
  }
  EXPECT_EQ(form().MainMenu1.Items().size(), 2u);
  EXPECT_EQ(form().N1.Items().size(), 9u);
  EXPECT_TRUE(form().N17.Checked());
  EXPECT_TRUE(form().N5.IsSeparator());
  EXPECT_EQ(form().PopupMenu1.Items().size(), 5u);
  EXPECT_EQ(form().PopupMenu2.Items().size(), 2u);
}

TEST_F(TForm1Test, ProgramDirAndListFileDefault) {
  Start("C:\\", [](AppPlatform& p) { p.program_path = "C:\\APP\\TARVIK.EXE"; });
  EXPECT_EQ(form().ProgramDir, "C:\\APP\\");
  EXPECT_EQ(form().ListFileName, "C:\\APP\\!ListFiles.txt");
  EXPECT_EQ(form().SD1.initial_dir, "C:\\APP\\");
  EXPECT_EQ(form().SD1.file_name, "C:\\APP\\!ListFiles.txt");
  EXPECT_EQ(form().SD1.title, "Выбрать файл для списка найденных");
  EXPECT_EQ(form().SD1.default_extension, "TXT");
  ASSERT_EQ(form().SD1.filters.size(), 2u);
  EXPECT_EQ(form().SD1.filters[0].pattern, "*.TXT");
  EXPECT_TRUE(form().SD1.overwrite_prompt);
}

TEST_F(TForm1Test, CapacityLabelAndByteGauge) {
  struct Case {
    std::int64_t capacity;
    const char* label;
    std::int64_t gauge_max;
  };
  const Case cases[] = {
      {652'345'344, "Объем диска C:  = 652.345 Мб.", 652'345'344},
      {1'000'000'000, "Объем диска C:  = 1000.000 Мб.", 1'000'000'000},
      {10'000'000'000, "Объем диска C:  = 10000.000 Мб.", 10'000'000'000},
      // Unknown: the label shows -0.000 and the bar is empty, so that the check shows no
      // share of a size nobody knows.
      {-1, "Объем диска C:  = -0.000 Мб.", 0},
  };
  for (const auto& c : cases) {
    Start("C:\\", [&](AppPlatform& p) { p.capacity = c.capacity; });
    EXPECT_EQ(form().LabelDiskSize.Caption(), c.label);
    EXPECT_EQ(form().Gauge3.Max(), c.gauge_max);
    EXPECT_EQ(platform().capacity_roots.substr(0, 3), "C:\\");
  }
}

TEST_F(TForm1Test, CountsAfterTheFirstReadAndTheFirstDirectoryChange) {
  tmp_.MakeFile("WORK/SUB/f1");
  tmp_.MakeFile("WORK/SUB/f2");
  tmp_.MakeFile("WORK/SUB/f3");
  tmp_.MakeDir("WORK/SUB/A");
  tmp_.MakeDir("WORK/SUB/b");
  tmp_.MakeDir("X");
  Start("C:\\");
  // The directory list's first fill sends no notification; the file list's first read does.
  EXPECT_EQ(form().EditCountDir.Text(), "0");
  EXPECT_EQ(form().EditCountFile.Text(), "0");

  form().DirectoryListBox1.SetDirectory("C:\\WORK\\SUB");
  EXPECT_EQ(form().EditCurDir.Text(), "C:\\WORK\\SUB");
  EXPECT_EQ(form().EditCountDir.Text(), "5");
  EXPECT_EQ(form().EditCountFile.Text(), "3");
  // The hidden list follows: [.], [..], [A], [b].
  EXPECT_EQ(form().FileListBox2.Count(), 4);

  form().DirectoryListBox1.SetDirectory("C:\\");
  EXPECT_EQ(form().EditCountDir.Text(), "4");  // C:\, then APP, WORK and X
}

}  // namespace
}  // namespace tarvik
