// The main window's check over a connected share, as a user runs it: connect the letter with
// the connect command, then start the check on it.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "SmbFixture.h"
#include "app/RunHandler.h"
#include "app/TApplication.h"
#include "scan/ProblemLines.h"
#include "support/FaultyPlatform.h"
#include "support/ScriptedDialogs.h"
#include "util/Cp1251.h"

namespace tarvik {
namespace {

class ShareCheckTest : public SmbTest {
 protected:
  ShareCheckTest() { application_.Run(); }

  // The connect command for Z: to the guest share, its dialog filled in and confirmed.
  void ConnectZ() {
    dialogs_.Ok([this] {
      TDlgNetConnect& dialog = application_.DlgNetConnect;
      dialog.CB1.SetText("Z");
      dialog.EditComp.SetText("127.0.0.1");
      dialog.EditNetDisk.SetText("DOCS");
      dialog.EditNetPSW.SetText("");
    });
    form().N9.Click();
  }

  // The start command with the list file in C:, going on after every problem file.
  void Check(bool subdirectories) {
    form().CheckBoxMode.SetChecked(subdirectories);
    form().CheckBox6.SetChecked(true);
    dialogs_.Enter("C:\\list.txt");
    if (!subdirectories) dialogs_.Cancel();  // begin with the first file
    for (int i = 0; i < 20; ++i) dialogs_.Ok();
    RunHandler(dialogs_, [this] { form().BitBtn1Click(); });
  }

  // The list file's lines after its header, without their line ends.
  std::vector<std::string> Listed() const {
    const std::string bytes = c_drive_.ReadFile("list.txt");
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = bytes.find("\r\n", at)) != std::string::npos;
         at = end + 2) {
      lines.push_back(bytes.substr(at, end - at));
    }
    return {lines.begin() + std::min<std::size_t>(3, lines.size()), lines.end()};
  }

  TForm1& form() { return application_.Form1; }

  ScriptedDialogs dialogs_;
  FaultyPlatform faulty_{platform_};
  TApplication application_{faulty_, dialogs_};
};

TEST_F(ShareCheckTest, AWalkOfAWholeShareReadsAndListsEveryFile) {
  MakeShared("корень.txt", "root");
  MakeShared("Папка/файл.bin", std::string(100'000, 'f'));
  MakeShared("Папка/пусто.txt");
  MakeShared("Папка/Вложенная/глубоко.txt", std::string(40'000, 'g'));
  MakeShared("Другая/последний.bin", std::string(16'384, 'l'));
  ConnectZ();
  ASSERT_EQ(form().EditCurDir.Text(), "Z:\\");
  Check(true);

  EXPECT_EQ(application_.ListError.Memo1.Lines(), std::vector<std::string>{});
  EXPECT_EQ(dialogs_.Texts(DialogKind::kError), std::vector<std::string>{});
  EXPECT_EQ(application_.DlgInfo.Caption(), "Ok");
  EXPECT_EQ(form().Scan.FilesOpened, 5);
  EXPECT_EQ(form().Scan.BytesRead, 4 + 100'000 + 40'000 + 16'384);
  // Directory names upper-cased, as on every volume whose names are not case-sensitive.
  EXPECT_EQ(Listed(), (std::vector<std::string>{Utf8ToCp1251("Z:\\ДРУГАЯ\\последний.bin"),
                                                Utf8ToCp1251("Z:\\ПАПКА\\ВЛОЖЕННАЯ\\глубоко.txt"),
                                                Utf8ToCp1251("Z:\\ПАПКА\\пусто.txt"),
                                                Utf8ToCp1251("Z:\\ПАПКА\\файл.bin"),
                                                Utf8ToCp1251("Z:\\корень.txt"), kListFileEndLine}));
}

TEST_F(ShareCheckTest, AFolderMadeMomentsBeforeTheWalkAndChangedDuringItIsListedAfresh) {
  // Enough entries that the walk stamps the folder on its way back instead of reading it.
  for (int f = 0; f < 40; ++f) MakeShared("f" + std::to_string(f));
  MakeShared("A/f");
  MakeShared("C/f");
  ConnectZ();
  // Older than the times of a share that keeps fine ones can be coarse, by its own clock.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  faulty_.After(PlatformCall::kOpenForReading, "Z:\\A\\f", 2, [this] { MakeShared("B/f", "x"); });
  Check(true);

  EXPECT_EQ(application_.DlgInfo.Caption(), "Ok");
  const std::vector<std::string> listed = Listed();
  ASSERT_EQ(listed.size(), 44u);
  EXPECT_EQ(std::vector<std::string>(listed.begin(), listed.begin() + 3),
            (std::vector<std::string>{"Z:\\A\\f", "Z:\\B\\f", "Z:\\C\\f"}));
}

TEST_F(ShareCheckTest, AServerKilledDuringTheReadOfALargeFileGivesItsReadLine) {
  MakeShared("large.bin", std::string(8'000'000, 'L'));
  ConnectZ();
  // Some blocks into the file: the server goes as if it had crashed.
  dialogs_.AtPump(dialogs_.Pumps() + 20, [this] { server_.Stop(); });
  Check(false);

  const std::vector<std::string> problems = application_.ListError.Memo1.Lines();
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(problems.front(), ProblemLine("Z:\\large.bin", kReadSuffix));
  EXPECT_LT(form().Scan.BytesRead, 8'000'000);
  EXPECT_EQ(application_.DlgInfo.Caption(), "Были ошибки !!!");
  EXPECT_EQ(Listed(), (std::vector<std::string>{"Z:\\large.bin", kListFileEndLine}));
}

}  // namespace
}  // namespace tarvik
