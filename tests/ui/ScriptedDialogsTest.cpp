#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScriptedDialogs.h"
#include "ui/ApplicationTitle.h"
#include "ui/MenuItem.h"

namespace tarvik {
namespace {

using Texts = std::vector<std::string>;

TEST(DialogsTest, MessageBoxesCarryTheirKindsCaptions) {
  ScriptedDialogs dialogs;
  dialogs.Ok();
  EXPECT_TRUE(dialogs.MessageBox(MessageKind::kError, "e"));
  EXPECT_TRUE(dialogs.MessageBox(MessageKind::kInformation, "i"));
  EXPECT_TRUE(dialogs.MessageBox(MessageKind::kConfirmation, "c"));
  ApplicationTitle::Get().SetText("Проверка диска C");
  dialogs.ShowCommandError("File access denied");
  const auto& log = dialogs.Log();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0].caption, "Error");
  EXPECT_EQ(log[1].caption, "Information");
  EXPECT_EQ(log[2].caption, "Confirm");
  EXPECT_EQ(log[3].kind, DialogKind::kError);
  EXPECT_EQ(log[3].caption, "Проверка диска C");
  EXPECT_EQ(log[3].text, "File access denied.");
}

TEST(ScriptedDialogsTest, OnlyQuestionsTakeAnswers) {
  ScriptedDialogs dialogs;
  dialogs.Cancel().Ok();
  dialogs.MessageBox(MessageKind::kError, "Проблемы с файлом");
  EXPECT_FALSE(dialogs.MessageBox(MessageKind::kConfirmation, "Начать с текущего файла ?"));
  dialogs.MessageBox(MessageKind::kInformation, "Список файлов ПУСТ !!!");
  EXPECT_TRUE(dialogs.MessageBox(MessageKind::kConfirmation, "Вы желаете превать ?"));
  EXPECT_EQ(dialogs.PendingAnswers(), 0u);
  EXPECT_EQ(dialogs.Unanswered(), 0);
  EXPECT_EQ(dialogs.Texts(DialogKind::kConfirmation),
            (Texts{"Начать с текущего файла ?", "Вы желаете превать ?"}));
}

TEST(ScriptedDialogsTest, UnansweredQuestionsAreClosed) {
  ScriptedDialogs dialogs;
  Window window;
  EXPECT_FALSE(dialogs.MessageBox(MessageKind::kConfirmation, "?"));
  EXPECT_EQ(dialogs.SaveFile(SaveDialog{}), std::nullopt);
  EXPECT_EQ(dialogs.InputBox("c", "p", "C"), std::nullopt);
  EXPECT_EQ(dialogs.ShowModal(window), ModalResult::kCancel);
  EXPECT_EQ(dialogs.Unanswered(), 4);
}

TEST(ScriptedDialogsTest, SaveDialogAndInputBoxAnswers) {
  SaveDialog sd1;
  sd1.title = "Выбрать файл для списка найденных";
  sd1.initial_dir = "C:\\APP\\";
  sd1.file_name = "C:\\APP\\!ListFiles.txt";
  const std::string long_answer(300, 'z');
  std::string cyrillic;
  for (int i = 0; i < 300; ++i) cyrillic += "ж";

  ScriptedDialogs dialogs;
  dialogs.Enter("D:\\LIST.TXT").Cancel().Enter(" z ").Enter(long_answer).Enter(cyrillic);
  EXPECT_EQ(dialogs.SaveFile(sd1), "D:\\LIST.TXT");
  EXPECT_EQ(dialogs.SaveFile(sd1), std::nullopt);
  EXPECT_EQ(dialogs.InputBox("Прервать сетевое соединение", "Введите букву", "C"), " z ");
  EXPECT_EQ(dialogs.InputBox("", "", ""), long_answer.substr(0, 255));
  const auto cut = dialogs.InputBox("", "", "");
  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(*cut, cyrillic.substr(0, 2 * 255));

  const ShownDialog& save = dialogs.Log()[0];
  EXPECT_EQ(save.kind, DialogKind::kSaveFile);
  EXPECT_EQ(save.caption, sd1.title);
  EXPECT_EQ(save.value, sd1.file_name);
  EXPECT_EQ(save.directory, sd1.initial_dir);
  const ShownDialog& input = dialogs.Log()[2];
  EXPECT_EQ(input.caption, "Прервать сетевое соединение");
  EXPECT_EQ(input.text, "Введите букву");
  EXPECT_EQ(input.value, "C");
}

TEST(ScriptedDialogsTest, EscPressedAtAChosenPump) {
  MenuItem n6;
  n6.SetShortCut("Esc");
  bool abort_flag = false;
  n6.OnClick.Subscribe([&] {
    abort_flag = true;
    n6.SetEnabled(false);
  });
  ScriptedDialogs dialogs;
  dialogs.AtPump(3, [&] { n6.Click(); });
  dialogs.AtPump(4, [&] { n6.Click(); });  // disabled by then: no second request
  std::vector<bool> flag_after_pump;
  for (int block = 0; block < 5; ++block) {
    dialogs.ProcessMessages();
    flag_after_pump.push_back(abort_flag);
  }
  EXPECT_EQ(flag_after_pump, (std::vector<bool>{false, false, true, true, true}));
  EXPECT_EQ(dialogs.Pumps(), 5);
}

TEST(ScriptedDialogsTest, PumpActionMayPumpAndScheduleAgain) {
  ScriptedDialogs dialogs;
  std::vector<int> ran;
  dialogs.AtPump(1, [&] {
    ran.push_back(1);
    dialogs.AtPump(3, [&] { ran.push_back(3); });
    dialogs.ProcessMessages();  // pump 2, from inside pump 1
  });
  dialogs.AtPump(1, [&] { ran.push_back(10); });
  dialogs.ProcessMessages();
  dialogs.ProcessMessages();
  EXPECT_EQ(ran, (std::vector<int>{1, 10, 3}));
  EXPECT_EQ(dialogs.Pumps(), 3);
}

TEST(ScriptedDialogsTest, BeepsAreLoggedInOrderWithTheBoxes) {
  ScriptedDialogs dialogs;
  dialogs.MessageBeep(BeepSound::kDefault);
  dialogs.MessageBox(MessageKind::kError, "Проблемы с файлами в каталоге : \"C:\\A\"");
  dialogs.MessageBeep(BeepSound::kStop);
  const auto& log = dialogs.Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].kind, DialogKind::kBeep);
  EXPECT_EQ(log[1].kind, DialogKind::kError);
  EXPECT_EQ(log[2].kind, DialogKind::kStopBeep);
  EXPECT_EQ(dialogs.Count(DialogKind::kBeep), 1);
}

}  // namespace
}  // namespace tarvik
