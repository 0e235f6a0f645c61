#include <filesystem>

#include "CheckFixture.h"
#include "scan/ProblemLines.h"

namespace tarvik {
namespace {

// One walk over a tree on D:. Tree entries: "S/A/f" a file, "S/A/" a directory, "S/L -> T"
// a symbolic link, "S/P|" a FIFO.
struct Walk {
  const char* name;
  const char* start;
  std::vector<std::string> tree;
  std::function<void(class SubdirectoryWalkTest&)> arrange;
  std::vector<std::string> offered;
  std::vector<std::int64_t> gauge1;  // empty: not looked at
  std::vector<std::string> boxes;    // error boxes
  const char* caption;
};

class SubdirectoryWalkTest : public CheckTest {
 public:
  void Build(const std::vector<std::string>& tree) {
    for (const std::string& entry : tree) {
      if (const auto arrow = entry.find(" -> "); arrow != std::string::npos) {
        drive_d_.MakeSymlink(entry.substr(0, arrow), entry.substr(arrow + 4));
      } else if (entry.back() == '|') {
        drive_d_.MakeFifo(entry.substr(0, entry.size() - 1));
      } else if (entry.back() == '/') {
        drive_d_.MakeDir(entry);
      } else {
        drive_d_.MakeFile(entry, "x");
      }
    }
  }
  // Presses Esc once, just before the walk's first test point in `directory`: the second
  // pump after the directory list got there (the first ends the iteration that entered it).
  void EscBeforeTestPointIn(const std::string& directory) {
    form().DirectoryListBox1.OnChange.Subscribe([this, directory, pressed = false]() mutable {
      if (pressed || form().DirectoryListBox1.Directory() != directory) return;
      pressed = true;
      EscAtPump(2);
    });
  }
};

std::string Deep(int levels, const std::string& name = "d") {
  std::string path = "S";
  for (int i = 0; i < levels; ++i) path += "/" + name;
  return path;
}

// 17 nested folders of 250-character names below S, a file "f" in each: paths past PATH_MAX.
// Made from the bottom up, so that no path used to make them is that long.
const std::string kLongName(250, 'n');
constexpr int kLongLevels = 17;

void MakeLongTree(TempDir& drive) {
  for (int level = kLongLevels; level > 0; --level) {
    drive.MakeFile("N/f", "x");
    if (level < kLongLevels) std::filesystem::rename(drive.Path("L"), drive.Path("N/" + kLongName));
    std::filesystem::rename(drive.Path("N"), drive.Path("L"));
  }
  std::filesystem::rename(drive.Path("L"), drive.Path("S/" + kLongName));
}

std::vector<std::string> LongTreeFiles() {
  std::vector<std::string> files = {"S/A/f"};
  for (int level = kLongLevels; level > 0; --level) files.push_back(Deep(level, kLongName) + "/f");
  files.insert(files.end(), {"S/Z/f", "S/f"});
  return files;
}

TEST_F(SubdirectoryWalkTest, WalksDeepestFirstAndComesBack) {
  const std::vector<std::string> ab_tree = {"S/A/f", "S/B/f", "S/f"};
  const auto rename_a = [](SubdirectoryWalkTest& t) {
    t.platform_->After(PlatformCall::kOpenForReading, "D:\\S\\A\\f", 2, [&t] {
      std::filesystem::rename(t.drive_d_.Path("S/A"), t.drive_d_.Path("S/Z"));
    });
  };
  // The same, over a tree whose listings the lists keep.
  const auto settled = [](std::function<void(SubdirectoryWalkTest&)> arrange) {
    return [arrange](SubdirectoryWalkTest& t) {
      SettleDirectories();
      if (arrange) arrange(t);
    };
  };
  const Walk walks[] = {
      {"post-order",
       "D:\\S",
       {"S/A/A1/f", "S/A/A2/f", "S/A/f", "S/B/f", "S/f"},
       {},
       {"S/A/A1/f", "S/A/A2/f", "S/A/f", "S/B/f", "S/f"},
       {},
       {},
       "Ok"},
      {"no subdirectories", "D:\\S", {"S/f", "S/g"}, {}, {"S/f", "S/g"}, {50, 100}, {}, "Ok"},
      {"root with subdirectories",
       "D:\\",
       {"A/f", "B/f", "f"},
       {},
       {"A/f", "B/f", "f"},
       {},
       {},
       "Ok"},
      {"root of files only", "D:\\", {"f", "g"}, {}, {"f", "g"}, {}, {}, "Ok"},
      {"progress over four leaves",
       "D:\\S",
       {"S/A/f", "S/B/f", "S/C/f", "S/D/f"},
       {},
       {"S/A/f", "S/B/f", "S/C/f", "S/D/f"},
       {16, 33, 50, 66, 83, 100},
       {},
       "Ok"},
      {"dot, linked and special entries stay out",
       "D:\\S",
       {"S/T/f", "S/L -> T", "S/T/loop -> ..", "S/P|", "S/f"},
       {},
       {"S/T/f", "S/f"},
       {},
       {},
       "Ok"},
      {"hidden folders of any name walked at every depth",
       "D:\\S",
       {"S/.../f", "S/. ./f", "S/.a/.b/f", "S/.a/f", "S/B/.h/f", "S/B/.g", "S/f"},
       {},
       {"S/.a/.b/f", "S/.a/f", "S/B/.h/f", "S/B/.g", "S/<U+F02E><U+F020><U+F02E>/f",
        "S/<U+F02E><U+F02E><U+F02E>/f", "S/f"},
       {},
       {},
       "Ok"},
      {"hidden folders stay out without the Hidden box",
       "D:\\S",
       {"S/.../f", "S/.a/f", "S/B/.h/f", "S/B/f", "S/f"},
       [](SubdirectoryWalkTest& t) { t.form().CheckBox2.Click(); },
       {"S/B/f", "S/f"},
       {},
       {},
       "Ok"},
      {"case twins each once",
       "D:\\S",
       {"S/FOO/f", "S/Foo/f", "S/f"},
       {},
       {"S/FOO/f", "S/Foo/f", "S/f"},
       {},
       {},
       "Ok"},
      {"problem files in two directories",
       "D:\\S",
       ab_tree,
       [](SubdirectoryWalkTest& t) {
         t.platform_->Fail(PlatformCall::kOpenForReading, "D:\\S\\A\\f", 1, 5);
         t.platform_->Fail(PlatformCall::kOpenForReading, "D:\\S\\B\\f", 1, 5);
         t.dialogs_.Ok().Ok();
       },
       {"S/A/f", "S/B/f", "S/f"},
       {},
       {"Проблемы с файлами в каталоге : \"D:\\S\\A\"",
        "Проблемы с файлами в каталоге : \"D:\\S\\B\""},
       "Были ошибки !!!"},
      {"directory renamed while inside",
       "D:\\S",
       ab_tree,
       rename_a,
       {"S/A/f"},
       {},
       {"Программная ошибка при возврате наверх"},
       "Были ошибки !!!"},
      {"directory renamed while inside, listings kept",
       "D:\\S",
       ab_tree,
       settled(rename_a),
       {"S/A/f"},
       {},
       {"Программная ошибка при возврате наверх"},
       "Были ошибки !!!"},
      {"directory replaced while inside a folder below it, listings kept",
       "D:\\S",
       {"S/A/B/f", "S/A/f", "S/f"},
       settled([](SubdirectoryWalkTest& t) {
         t.platform_->After(PlatformCall::kOpenForReading, "D:\\S\\A\\B\\f", 2, [&t] {
           std::filesystem::rename(t.drive_d_.Path("S/A"), t.drive_d_.Path("S/Z"));
           t.drive_d_.MakeDir("S/A/B");
           t.drive_d_.MakeFile("S/A/g", "x");
         });
       }),
       {"S/A/B/f", "S/A/g", "S/Z/B/f", "S/Z/f", "S/f"},
       {},
       {},
       "Ok"},
      {"directory made behind the walk while inside an earlier one, listings kept",
       "D:\\S",
       {"S/A/f", "S/C/f", "S/f"},
       settled([](SubdirectoryWalkTest& t) {
         t.platform_->After(PlatformCall::kOpenForReading, "D:\\S\\A\\f", 2,
                            [&t] { t.drive_d_.MakeFile("S/B/f", "x"); });
       }),
       {"S/A/f", "S/B/f", "S/C/f", "S/f"},
       {},
       {},
       "Ok"},
      {"case twins each once, listings kept",
       "D:\\S",
       {"S/FOO/f", "S/Foo/f", "S/f"},
       settled(nullptr),
       {"S/FOO/f", "S/Foo/f", "S/f"},
       {},
       {},
       "Ok"},
      {"three hundred levels",
       "D:\\S",
       {Deep(300) + "/f", Deep(2) + "/f"},
       {},
       {Deep(300) + "/f", Deep(2) + "/f"},
       {},
       {},
       "Ok"},
      {"paths past 4,096 bytes beside shallow folders",
       "D:\\S",
       {"S/A/f", "S/Z/f", "S/f"},
       [](SubdirectoryWalkTest& t) { MakeLongTree(t.drive_d_); },
       LongTreeFiles(),
       {},
       {},
       "Ok"},
  };
  for (const Walk& walk : walks) {
    SCOPED_TRACE(walk.name);
    Build(walk.tree);
    Start(walk.start);
    UseListFile();
    if (walk.arrange) walk.arrange(*this);
    form().BitBtn1Click();

    EXPECT_EQ(OfferedFiles(), walk.offered);
    if (!walk.gauge1.empty()) {
      EXPECT_EQ(Gauge1Positions(), walk.gauge1);
    }
    EXPECT_EQ(dialogs_.Texts(DialogKind::kError), walk.boxes);
    EXPECT_EQ(dlg_info_.Caption(), walk.caption);
    EXPECT_EQ(form().DirectoryListBox1.Directory(), walk.start);
    EXPECT_EQ(form().Gauge1.Position(), 100);
    EXPECT_EQ(dialogs_.PendingAnswers(), 0u);

    std::filesystem::remove_all(drive_d_.path());
    std::filesystem::create_directory(drive_d_.path());
    drive_e_.Remove("LIST.TXT");
    dialogs_ = ScriptedDialogs();
    platform_->Reset();
  }
}

TEST_F(SubdirectoryWalkTest, EscInALeafAsksEveryLevel) {
  for (bool ok_at_c : {true, false}) {
    SCOPED_TRACE(ok_at_c);
    Build({"S/A/f", "S/B/f", "S/f"});
    Start();
    UseListFile();
    EscBeforeTestPointIn("D:\\S\\A");
    dialogs_.Ok().Ok().Ok().Ok();
    if (ok_at_c)
      dialogs_.Ok();
    else
      dialogs_.Cancel();
    form().BitBtn1Click();

    const std::string a = "каталога \"D:\\S\\A\" ?";
    EXPECT_EQ(dialogs_.Texts(DialogKind::kConfirmation),
              (std::vector<std::string>{"Вы желаете превать сканирование " + a,
                                        "Вы желаете превать сканирование файла \"D:\\S\\A\\f\" ?",
                                        "Вы желаете превать сканирование " + a,
                                        "Вы желаете превать сканирование каталога \"D:\\S\" ?",
                                        "Вы желаете прервать сканирование каталога \"D:\\S\" ?"}));
    EXPECT_EQ(OfferedFiles(), std::vector<std::string>{"S/A/f"});
    EXPECT_EQ(Problems(), std::vector<std::string>{ProblemLine("D:\\S\\A\\f", kAbortSuffix)});
    EXPECT_EQ(form().Scan.AbortFlag, ok_at_c);
    EXPECT_EQ(form().DirectoryListBox1.Directory(), "D:\\S");
    EXPECT_EQ(dlg_info_.Caption(), "Ok");

    std::filesystem::remove_all(drive_d_.path() + "/S");
    drive_e_.Remove("LIST.TXT");
    dialogs_ = ScriptedDialogs();
    list_error_.Clear();
  }
}

TEST_F(SubdirectoryWalkTest, SameNameInTheNextDirectoryKeepsTheSizeShown) {
  drive_d_.MakeFileOfSize("S/A/X.BIN", 1000);
  drive_d_.MakeFileOfSize("S/X.BIN", 2000);
  Start();
  form().BitBtn1Click();
  EXPECT_EQ(form().EditCurFile.Text(), "X.BIN");
  EXPECT_EQ(form().EditSize.Text(), "1.000  Кб");
  EXPECT_EQ(form().Scan.BytesRead, 3000);
}

}  // namespace
}  // namespace tarvik
