#include "CheckFixture.h"
#include "app/RunHandler.h"
#include "scan/ProblemLines.h"
#include "ui/ApplicationTitle.h"

namespace tarvik {
namespace {

constexpr char kStartQuestion[] = "Начать с текущего файла ?";
constexpr std::int64_t kLong = 4 * 16384;  // four blocks

struct Pass {
  const char* name;
  int selected;  // -1: none
  std::function<void(class DirectoryPassTest&)> arrange;
  std::vector<std::string> offered;
  std::vector<std::int64_t> gauge1;
  int problem_lines;
  const char* caption;
  int questions;  // confirmations asked
};

// The pass over the current directory: the start command with the subdirectory box clear,
// over S holding A.BIN, B.BIN (four blocks) and C.BIN.
class DirectoryPassTest : public CheckTest {
 public:
  void StartOverThreeFiles() {
    drive_d_.MakeFileOfSize("S/A.BIN", 10);
    drive_d_.MakeFileOfSize("S/B.BIN", kLong);
    drive_d_.MakeFileOfSize("S/C.BIN", 10);
    Start();
    form().CheckBoxMode.SetChecked(false);
    UseListFile();
  }
  // Esc during the second block of B.BIN.
  void EscInB() {
    platform_->After(PlatformCall::kRead, "D:\\S\\B.BIN", 2, [this] { form().N6.Click(); });
  }
};

TEST_F(DirectoryPassTest, ChoiceProblemsAndAbort) {
  const std::vector<std::string> all = {"S/A.BIN", "S/B.BIN", "S/C.BIN"};
  const Pass passes[] = {
      {"Cancel begins with the first",
       1,
       [](DirectoryPassTest& t) { t.dialogs_.Cancel(); },
       all,
       {33, 66, 100},
       0,
       "Ok",
       1},
      {"OK begins with the selected",
       1,
       [](DirectoryPassTest& t) { t.dialogs_.Ok(); },
       {"S/B.BIN", "S/C.BIN"},
       {66, 100},
       0,
       "Ok",
       1},
      {"OK without a selection begins with the first",
       -1,
       [](DirectoryPassTest& t) { t.dialogs_.Ok(); },
       all,
       {33, 66, 100},
       0,
       "Ok",
       1},
      {"problem in the first, Cancel ends the pass",
       -1,
       [](DirectoryPassTest& t) {
         t.platform_->Fail(PlatformCall::kOpenForReading, "D:\\S\\A.BIN", 1, 5);
         t.dialogs_.Cancel().Cancel();
       },
       {"S/A.BIN"},
       {33, 100},
       1,
       "Были ошибки !!!",
       1},
      {"problem in the first, OK goes on",
       -1,
       [](DirectoryPassTest& t) {
         t.platform_->Fail(PlatformCall::kOpenForReading, "D:\\S\\A.BIN", 1, 5);
         t.dialogs_.Cancel().Ok();
       },
       all,
       {33, 66, 100},
       1,
       "Были ошибки !!!",
       1},
      {"Esc, OK at the file and at the pass",
       -1,
       [](DirectoryPassTest& t) {
         t.EscInB();
         t.dialogs_.Cancel().Ok().Ok();
       },
       {"S/A.BIN", "S/B.BIN"},
       {33, 66, 100},
       2,
       "Ok",
       3},
      {"Esc, Cancel at the file",
       -1,
       [](DirectoryPassTest& t) {
         t.EscInB();
         t.dialogs_.Cancel().Cancel();
       },
       all,
       {33, 66, 100},
       0,
       "Ok",
       2},
      {"Esc, OK at the file, Cancel at the pass",
       -1,
       [](DirectoryPassTest& t) {
         t.EscInB();
         t.dialogs_.Cancel().Ok().Cancel();
       },
       all,
       {33, 66, 100},
       2,
       "Ok",
       3},
  };
  for (const Pass& pass : passes) {
    SCOPED_TRACE(pass.name);
    StartOverThreeFiles();
    if (pass.selected >= 0) form().FileListBox1.ClickEntry(pass.selected);
    pass.arrange(*this);
    form().BitBtn1Click();

    EXPECT_EQ(OfferedFiles(), pass.offered);
    EXPECT_EQ(ListFileLines().back(), kListFileEndLine);
    EXPECT_EQ(Gauge1Positions(), pass.gauge1);
    EXPECT_EQ(static_cast<int>(Problems().size()), pass.problem_lines);
    EXPECT_EQ(list_error_.Visible(), pass.problem_lines > 0);
    EXPECT_EQ(dlg_info_.Caption(), pass.caption);
    EXPECT_EQ(dlg_info_.Label1.Caption(), "Процесс закончен");
    EXPECT_EQ(dialogs_.Count(DialogKind::kConfirmation), pass.questions);
    EXPECT_EQ(dialogs_.Count(DialogKind::kBeep), 1);
    EXPECT_FALSE(form().N6.Enabled());
    EXPECT_EQ(dialogs_.PendingAnswers(), 0u);

    drive_d_.Remove("S");
    drive_e_.Remove("LIST.TXT");
    dlg_info_.Hide();
    dialogs_ = ScriptedDialogs();
    platform_->Reset();
  }
}

TEST_F(DirectoryPassTest, QuestionsNameTheFileAndTheDirectoryAndTakeNoReadingTime) {
  StartOverThreeFiles();
  EscInB();
  platform_->Fail(PlatformCall::kOpenForReading, "D:\\S\\C.BIN", 1, 5);
  dialogs_.Cancel().Ok([this] { platform_->clock_ahead = 100'000; }).Cancel().Ok();
  form().BitBtn1Click();
  std::uint32_t sampled = 0;
  for (const SpeedSample& sample : form().Scan.Speed.Samples()) sampled += sample.milliseconds;
  EXPECT_LT(sampled, 100'000u);       // no reading time in the 100 s B's question took,
  EXPECT_EQ(form().Scan.Minutes, 1);  // but the command's
  EXPECT_EQ(dialogs_.Texts(DialogKind::kConfirmation),
            (std::vector<std::string>{kStartQuestion,
                                      "Вы желаете превать сканирование файла \"D:\\S\\B.BIN\" ?",
                                      "Вы желаете превать сканирование каталога \"D:\\S\" ?"}));
  EXPECT_EQ(dialogs_.Texts(DialogKind::kErrorConfirmation),
            std::vector<std::string>{"Проблемы с файлом : \"C.BIN\". Cancel - прервать"});
  EXPECT_EQ(Problems(), (std::vector<std::string>{ProblemLine("D:\\S\\B.BIN", kAbortSuffix),
                                                  ProblemLine("D:\\S\\B.BIN", kSizeSuffix),
                                                  ProblemLine("D:\\S\\C.BIN", kFirstOpenSuffix)}));
}

TEST_F(DirectoryPassTest, TotalsAndTitleAgainstTheDiskSize) {
  const struct {
    std::int64_t capacity;
    std::int64_t size;
    const char* title;
    const char* kilobytes;
  } cases[] = {
      {650'000'000, 2'500'000, "Диск D 0.4%", "2500.000"},
      {1'000, 5'000, "Диск D 100.0%", "5.000"},
      {0, 10, "Диск D 0.0%", "0.010"},
      {-1, 10, "Диск D 0.0%", "0.010"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    drive_d_.MakeFileOfSize("S/A.BIN", c.size);
    platform_->capacity = c.capacity;
    Start();
    form().CheckBoxMode.SetChecked(false);
    form().BitBtn1Click();
    EXPECT_EQ(ApplicationTitle::Get().Text(), c.title);
    EXPECT_EQ(form().Edit2.Text(), c.kilobytes);
    EXPECT_EQ(form().Edit1.Text(), "1");
    EXPECT_NE(form().EditSec1.Text(), "0");
    drive_d_.Remove("S");
  }
}

TEST_F(DirectoryPassTest, EmptyListChecksNothing) {
  drive_d_.MakeDir("S");
  Start();
  form().CheckBoxMode.SetChecked(false);
  UseListFile();
  form().BitBtn1Click();
  EXPECT_EQ(dialogs_.Texts(DialogKind::kInformation),
            std::vector<std::string>{"Список файлов ПУСТ !!!"});
  EXPECT_EQ(dialogs_.Count(DialogKind::kBeep), 0);
  EXPECT_FALSE(dlg_info_.Visible());
  EXPECT_EQ(ListFileLines().size(), 4u);
  EXPECT_EQ(ApplicationTitle::Get().Text(), "Проверка диска D");
}

TEST_F(DirectoryPassTest, NothingElseStartsWhileAPassRuns) {
  StartOverThreeFiles();
  bool inputs_locked = false;
  AtPump(3, [this, &inputs_locked] {
    inputs_locked = !form().CheckBoxMode.Enabled() && !form().CBSizeBlock.Enabled() &&
                    !form().BitBtn1.Enabled() && !form().FileListBox1.Enabled() &&
                    !form().DirectoryListBox1.Enabled() && !form().DriveComboBox1.Enabled() &&
                    form().N6.Enabled();
    form().BitBtn1Click();
    form().N2.Click();
    form().N3Click();
  });
  form().BitBtn1Click();
  EXPECT_TRUE(inputs_locked);
  EXPECT_EQ(OfferedFiles(), (std::vector<std::string>{"S/A.BIN", "S/B.BIN", "S/C.BIN"}));
  EXPECT_EQ(dialogs_.Count(DialogKind::kConfirmation), 1);
  EXPECT_TRUE(form().CheckBoxMode.Enabled() && form().BitBtn1.Enabled() &&
              form().FileListBox1.Enabled());
  EXPECT_FALSE(form().Scan.Running);
}

TEST_F(DirectoryPassTest, ErrorEndsTheCommandAndGivesTheControlsBack) {
  StartOverThreeFiles();
  drive_e_.MakeFile("LIST.TXT");
  drive_e_.Chmod("LIST.TXT", 0444);
  RunHandler(dialogs_, [this] { form().BitBtn1Click(); });
  EXPECT_EQ(dialogs_.Texts(DialogKind::kError), std::vector<std::string>{"File access denied."});
  EXPECT_TRUE(form().CheckBoxMode.Enabled() && form().BitBtn1.Enabled());
  EXPECT_FALSE(form().N6.Enabled());
  EXPECT_FALSE(form().Scan.Running);
}

TEST_F(DirectoryPassTest, ListThatMissesALineEndsTheCheckWithTheErrorBox) {
  StartOverThreeFiles();
  // Three header lines, A.BIN's line, then B.BIN's.
  platform_->Fail(PlatformCall::kWrite, "E:\\LIST.TXT", 5, kErrDiskFull);
  RunHandler(dialogs_, [this] { form().BitBtn1Click(); });
  // Every file was checked all the same, and the list was ended without B.BIN's line.
  EXPECT_EQ(OfferedFiles(), (std::vector<std::string>{"S/A.BIN", "S/C.BIN"}));
  EXPECT_EQ(platform_->Calls(PlatformCall::kRead, "D:\\S\\B.BIN"), 5);
  EXPECT_EQ(ListFileLines().back(), kListFileEndLine);
  EXPECT_EQ(dlg_info_.Caption(), "Ok");
  EXPECT_EQ(dialogs_.Texts(DialogKind::kError), std::vector<std::string>{"Disk full."});
  EXPECT_FALSE(form().Scan.Running);
}

TEST_F(DirectoryPassTest, ClosingTheWindowEndsThePassWithoutQuestions) {
  StartOverThreeFiles();
  platform_->After(PlatformCall::kRead, "D:\\S\\B.BIN", 2,
                   [this] { EXPECT_TRUE(form().FormCloseQuery()); });
  form().BitBtn1Click();
  EXPECT_EQ(OfferedFiles(), (std::vector<std::string>{"S/A.BIN", "S/B.BIN"}));
  EXPECT_EQ(platform_->Calls(PlatformCall::kRead, "D:\\S\\B.BIN"), 2);
  EXPECT_EQ(dialogs_.Count(DialogKind::kConfirmation), 1);  // the start question only
  EXPECT_EQ(dialogs_.Count(DialogKind::kError), 0);
}

}  // namespace
}  // namespace tarvik
