#include "CheckFixture.h"
#include "platform/IoError.h"
#include "scan/ProblemLines.h"
#include "ui/ApplicationTitle.h"

namespace tarvik {
namespace {

constexpr char kPath[] = "D:\\S\\A.BIN";
constexpr int kBlock = 16384;

// One outcome of the check of one file, through the check-file command on the selected file.
struct Outcome {
  const char* name;
  std::int64_t size;
  std::function<void(CheckTest&)> arrange;  // before the command
  std::vector<std::string_view> lines;      // problem line endings, in order
  int error_boxes;
  bool ok;  // the "  -  Ok !" box
  std::int64_t files_opened;
};

class FileCheckTest : public CheckTest {};

TEST_F(FileCheckTest, EveryOutcomeOfTheCheckFileCommand) {
  const Outcome outcomes[] = {
      {"good", 3 * kBlock + 5, {}, {}, 0, true, 1},
      {"gone before the check",
       10,
       [](CheckTest& t) { t.drive_d_.Remove("S/A.BIN"); },
       {kNotFoundSuffix},
       1,
       false,
       0},
      {"a directory now",
       10,
       [](CheckTest& t) {
         t.drive_d_.Remove("S/A.BIN");
         t.drive_d_.MakeDir("S/A.BIN");
       },
       {kNotFoundSuffix},
       1,
       false,
       0},
      {"first open refused",
       10,
       [](CheckTest& t) { t.platform_->Fail(PlatformCall::kOpenForReading, kPath, 1, 5); },
       {kFirstOpenSuffix},
       1,
       false,
       0},
      {"second open refused",
       10,
       [](CheckTest& t) { t.platform_->Fail(PlatformCall::kOpenForReading, kPath, 2, 32); },
       {kSecondOpenSuffix},
       1,
       false,
       1},
      {"third block unreadable",
       5 * kBlock,
       [](CheckTest& t) { t.platform_->Fail(PlatformCall::kRead, kPath, 3, 23); },
       {kReadSuffix},
       1,
       false,
       1},
      {"grows while read",
       3 * kBlock,
       [](CheckTest& t) {
         t.platform_->After(PlatformCall::kRead, kPath, 1,
                            [&t] { t.drive_d_.AppendToFile("S/A.BIN", "more"); });
       },
       {kSizeSuffix},
       1,
       false,
       1},
      {"abort confirmed in the middle",
       5 * kBlock,
       [](CheckTest& t) {
         t.EscAtPump(2);  // after the first block
         t.dialogs_.Ok();
       },
       {kAbortSuffix, kSizeSuffix},
       1,
       true,
       1},
      {"abort confirmed after the last block",
       100,
       [](CheckTest& t) {
         t.EscAtPump(2);
         t.dialogs_.Ok();
       },
       {kAbortSuffix},
       0,
       true,
       1},
      {"abort declined",
       3 * kBlock,
       [](CheckTest& t) {
         t.EscAtPump(2);
         t.dialogs_.Cancel();
       },
       {},
       0,
       true,
       1},
      {"read fails after Esc",
       3 * kBlock,
       [](CheckTest& t) {
         t.platform_->Fail(PlatformCall::kRead, kPath, 2, 23);
         t.platform_->After(PlatformCall::kRead, kPath, 2, [&t] { t.form().N6.Click(); });
         t.dialogs_.Ok();
       },
       {kReadSuffix, kAbortSuffix},
       1,
       false,
       1},
  };
  for (const Outcome& outcome : outcomes) {
    SCOPED_TRACE(outcome.name);
    drive_d_.MakeFileOfSize("S/A.BIN", outcome.size);
    drive_d_.MakeFile("S/B.BIN", "b");
    Start();
    form().FileListBox1.ClickEntry(0);
    if (outcome.arrange) outcome.arrange(*this);
    form().N3Click();

    std::vector<std::string> expected;
    for (std::string_view suffix : outcome.lines) expected.push_back(ProblemLine(kPath, suffix));
    EXPECT_EQ(Problems(), expected);
    EXPECT_EQ(dialogs_.Count(DialogKind::kError), outcome.error_boxes);
    EXPECT_EQ(dialogs_.Texts(DialogKind::kInformation),
              outcome.ok ? std::vector<std::string>{"Файл : \"A.BIN\"  -  Ok !"}
                         : std::vector<std::string>{});
    EXPECT_EQ(list_error_.Visible(), !outcome.ok);
    EXPECT_EQ(form().Scan.FilesOpened, outcome.files_opened);
    EXPECT_EQ(form().Gauge1.Position(), 100);
    EXPECT_FALSE(form().N6.Enabled());
    EXPECT_EQ(dialogs_.PendingAnswers(), 0u);

    drive_d_.Remove("S");
    list_error_.Clear();
    list_error_.Hide();
    dialogs_ = ScriptedDialogs();
    platform_->Reset();
  }
}

TEST_F(FileCheckTest, ReadsUntilAnEmptyReadForEveryBlockSize) {
  for (int item = 0; item < 5; ++item) {
    const int block = ScanEngine::kBlockSizes[item];
    // Size, reads that take it: every file ends with a read that delivers nothing, so an
    // empty file is read once.
    const std::pair<std::int64_t, int> files[] = {
        {0, 1}, {block, 2}, {2 * block, 3}, {2 * block + 1, 4}, {block - 1, 2}};
    for (auto [size, reads] : files) {
      SCOPED_TRACE(testing::Message() << block << " " << size);
      drive_d_.MakeFileOfSize("S/A.BIN", size);
      Start();
      form().CBSizeBlock.SetItemIndex(item);
      form().FileListBox1.ClickEntry(0);
      const int before = platform_->Calls(PlatformCall::kRead, kPath);
      form().N3Click();
      EXPECT_EQ(platform_->Calls(PlatformCall::kRead, kPath) - before, reads);
      EXPECT_TRUE(Problems().empty());
      EXPECT_EQ(form().Scan.BytesRead, size);
      EXPECT_EQ(form().Gauge2.Position(), 100);
    }
  }
}

TEST_F(FileCheckTest, NoSelectionChecksAnEmptyPath) {
  drive_d_.MakeFile("S/A.BIN", "a");
  drive_e_.MakeFile("LIST.TXT");
  Start();
  form().CheckBox6.SetChecked(true);
  form().ListFileName = "E:\\LIST.TXT";
  form().N3Click();
  EXPECT_EQ(Problems(), std::vector<std::string>{"Файл : \"\" - не найден !"});
  EXPECT_EQ(dialogs_.Texts(DialogKind::kError), Problems());
  EXPECT_EQ(dialogs_.Count(DialogKind::kInformation), 0);
  EXPECT_TRUE(list_error_.Visible());
  EXPECT_EQ(drive_e_.ReadFile("LIST.TXT"), "\r\n");
}

TEST_F(FileCheckTest, FileBeyondFourGibibytesIsReadWhole) {
  constexpr std::int64_t kSize = 5LL << 30;
  drive_d_.MakeSparseFile("S/BIG.ISO", kSize);
  platform_->capacity = 10'000'000'000;
  Start();
  form().CBSizeBlock.SetItemIndex(4);
  form().CheckBoxMode.SetChecked(false);
  form().BitBtn1Click();
  EXPECT_TRUE(Problems().empty());
  EXPECT_EQ(form().Scan.BytesRead, kSize);
  EXPECT_EQ(form().Edit2.Text(), "5368709.120");
  EXPECT_EQ(form().Gauge3.Position(), kSize);
  EXPECT_EQ(ApplicationTitle::Get().Text(), "Диск D 53.7%");
  EXPECT_EQ(dlg_info_.Caption(), "Ok");
}

// The speed graph's picture goes where the save dialog says, written through the platform with
// its rules, as the list file is.
TEST_F(FileCheckTest, SpeedGraphIsSavedWhereChosen) {
  drive_d_.MakeDir("S");
  drive_e_.MakeFile("RO.PNG", "kept");
  drive_e_.Chmod("RO.PNG", 0444);
  Start();
  form().SpeedWindow.Picture = [] { return std::string("\x89PNG\r\n"); };
  dialogs_.Enter("E:\\GRAPH.PNG").Enter("E:\\RO.PNG");
  form().SpeedWindow.N1.Click();
  EXPECT_EQ(drive_e_.ReadFile("GRAPH.PNG"), "\x89PNG\r\n");
  EXPECT_THROW(form().SpeedWindow.N1.Click(), IoError);
  EXPECT_EQ(drive_e_.ReadFile("RO.PNG"), "kept");
}

}  // namespace
}  // namespace tarvik
