#include <sys/mount.h>

#include <chrono>
#include <thread>

#include "CheckFixture.h"
#include "app/RunHandler.h"
#include "scan/ListFile.h"
#include "scan/ProblemLines.h"
#include "support/FaultyFs.h"

namespace tarvik {
namespace {

using std::chrono::milliseconds;
using Faults = FaultyFs::Faults;

constexpr std::int64_t kBlock = 2048;

std::string Data(std::int64_t size) { return std::string(static_cast<std::size_t>(size), 'd'); }

struct MediaCase {
  const char* name;
  std::vector<FaultyFs::Entry> tree;  // below the drive's root; the pass runs in S
  std::vector<std::string> lines;     // "NAME<suffix>" for D:\S\NAME
  std::int64_t bytes_read;
  std::int64_t gauge2;  // -1: not looked at
};

// The check over a file system whose faults come from the kernel, as a damaged disc's do.
class MediaFaultTest : public CheckTest {
 public:
  void Mount(const std::vector<FaultyFs::Entry>& tree) {
    fs_ = std::make_unique<FaultyFs>(tree);
    UseDriveD(fs_->Drive('D'));
  }
  std::unique_ptr<FaultyFs> fs_;
};

std::string Line(const std::string& name, std::string_view suffix) {
  return ProblemLine("D:\\S\\" + name, suffix);
}

TEST_F(MediaFaultTest, KernelFaultsInThePass) {
  const MediaCase cases[] = {
      {"EIO on open",
       {FaultyFs::File("S/A.BIN", Data(10), Faults().EioOnOpen()), FaultyFs::File("S/B.BIN", "b")},
       {Line("A.BIN", kFirstOpenSuffix)},
       1,
       -1},
      {"EIO on the first open only (the shown size's): never opened again",
       {FaultyFs::File("S/A.BIN", Data(10), Faults().EioOnFirstOpen()),
        FaultyFs::File("S/B.BIN", "b")},
       {Line("A.BIN", kFirstOpenSuffix)},
       1,
       -1},
      {"EIO at block 4, the next file still read",
       {FaultyFs::File("S/A.BIN", Data(10000), Faults().EioFrom(3 * kBlock)),
        FaultyFs::File("S/B.BIN", "b")},
       {Line("A.BIN", kReadSuffix)},
       3 * kBlock + 1,
       -1},
      {"EIO at block 4 keeps the file's bar",
       {FaultyFs::File("S/A.BIN", Data(10000), Faults().EioFrom(3 * kBlock))},
       {Line("A.BIN", kReadSuffix)},
       3 * kBlock,
       61},
      {"shrinks while read",
       {FaultyFs::File("S/A.BIN", Data(3 * kBlock), Faults().SizeAfterFirstRead(kBlock + 7))},
       {Line("A.BIN", kSizeSuffix)},
       kBlock + 7,
       100},
      {"grows while read",
       {FaultyFs::File("S/A.BIN", Data(3 * kBlock), Faults().SizeAfterFirstRead(4 * kBlock))},
       {Line("A.BIN", kSizeSuffix)},
       4 * kBlock,
       100},
  };
  for (const MediaCase& c : cases) {
    SCOPED_TRACE(c.name);
    Mount(c.tree);
    Start();
    form().CheckBoxMode.SetChecked(false);
    form().CBSizeBlock.SetItemIndex(0);
    dialogs_.Cancel().Ok();  // from the first file; go on after a problem file
    form().BitBtn1Click();
    EXPECT_EQ(Problems(), c.lines);
    EXPECT_EQ(form().Scan.BytesRead, c.bytes_read);
    if (c.gauge2 >= 0) {
      EXPECT_EQ(form().Gauge2.Position(), c.gauge2);
    }
    EXPECT_EQ(dlg_info_.Caption(), "Были ошибки !!!");
    list_error_.Clear();
    dialogs_ = ScriptedDialogs();
    UseDriveD({'D', drive_d_.path(), kDriveCdrom, "DISC", 0});
    fs_.reset();
  }
}

TEST_F(MediaFaultTest, EscDuringAReadThatWaitsIsAskedAtOnce) {
  const struct {
    const char* name;
    Faults faults;
    bool ok;                         // the answer to the question
    std::vector<std::string> lines;  // for D:\S\SLOW.BIN
    std::int64_t bytes_read;
  } cases[] = {
      {"a held read, OK: the read is given up",
       Faults().HoldFirstRead(),
       true,
       {Line("SLOW.BIN", kAbortSuffix), Line("SLOW.BIN", kSizeSuffix)},
       0},
      {"a held read that returns while Cancel is asked is taken",
       Faults().HoldFirstRead(),
       false,
       {},
       3 * kBlock},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Mount({FaultyFs::File("S/SLOW.BIN", Data(3 * kBlock), c.faults)});
    Start();
    form().CheckBoxMode.SetChecked(false);
    form().CBSizeBlock.SetItemIndex(0);
    int pumps_at_question = 0;
    int reads_at_question = 0;
    const auto asked = [&] {
      pumps_at_question = dialogs_.Pumps();
      reads_at_question = fs_->ReadsServed("S/SLOW.BIN");
      if (!c.ok) fs_->ReleaseReads();
    };
    dialogs_.Cancel();  // from the first file
    c.ok ? dialogs_.Ok(asked) : dialogs_.Cancel(asked);
    EscAtPump(2);  // while the first read still waits for the medium
    form().BitBtn1Click();
    EXPECT_EQ(reads_at_question, 1);
    EXPECT_EQ(pumps_at_question, 2);  // asked in the pump that took Esc
    EXPECT_EQ(Problems(), c.lines);
    EXPECT_EQ(form().Scan.BytesRead, c.bytes_read);
    // The read given up ends in the reader's own buffer, after the check has let go of its.
    fs_->ReleaseReads();
    std::this_thread::sleep_for(milliseconds(100));
    list_error_.Clear();
    dialogs_ = ScriptedDialogs();
    UseDriveD({'D', drive_d_.path(), kDriveCdrom, "DISC", 0});
    fs_.reset();
  }
}

TEST_F(MediaFaultTest, WalkWithABadFileInTwoDirectories) {
  Mount({FaultyFs::File("S/A/BAD.BIN", Data(10), Faults().EioOnOpen()),
         FaultyFs::File("S/A/OK.BIN", "a"),
         FaultyFs::File("S/B/BAD.BIN", Data(5000), Faults().EioFrom(kBlock)),
         FaultyFs::File("S/OK.BIN", "s")});
  Start();
  UseListFile();
  dialogs_.Ok().Ok();
  form().BitBtn1Click();
  EXPECT_EQ(dialogs_.Texts(DialogKind::kError),
            (std::vector<std::string>{"Проблемы с файлами в каталоге : \"D:\\S\\A\"",
                                      "Проблемы с файлами в каталоге : \"D:\\S\\B\""}));
  EXPECT_EQ(dlg_info_.Caption(), "Были ошибки !!!");
  EXPECT_EQ(OfferedFiles(),
            (std::vector<std::string>{"S/A/BAD.BIN", "S/A/OK.BIN", "S/B/BAD.BIN", "S/OK.BIN"}));
}

TEST_F(MediaFaultTest, DirectoryThatCannotBeListedIsAProblem) {
  const struct {
    const char* name;
    bool walk;
    std::vector<FaultyFs::Entry> tree;
    std::string directory;
    std::vector<std::string> boxes;
  } cases[] = {
      {"the pass",
       false,
       {FaultyFs::Dir("S", Faults().ListingFails()), FaultyFs::File("S/A.BIN", "a")},
       "D:\\S",
       {}},
      {"the walk",
       true,
       {FaultyFs::Dir("S/BAD", Faults().ListingFails()), FaultyFs::File("S/BAD/X.BIN", "x"),
        FaultyFs::File("S/A/A.BIN", "a")},
       "D:\\S\\BAD",
       {"Проблемы с файлами в каталоге : \"D:\\S\\BAD\""}},
      // A fault that comes once: the next reading of the directory works, but the lists hold
      // the one that failed.
      {"the pass, the start directory's open fails once",
       false,
       {FaultyFs::Dir("S", Faults().EioOnFirstOpen()), FaultyFs::File("S/A.BIN", "a")},
       "D:\\S",
       {}},
      {"the walk, the start directory's listing fails once part way",
       true,
       {FaultyFs::Dir("S", Faults().ListingFailsOnce()), FaultyFs::File("S/A/A.BIN", "a"),
        FaultyFs::File("S/B.BIN", "b")},
       "D:\\S",
       {"Проблемы с файлами в каталоге : \"D:\\S\""}},
      {"the pass, a file listed that cannot be looked at",
       false,
       {FaultyFs::Dir("S"), FaultyFs::File("S/A.BIN", "a", Faults().LookUpFails()),
        FaultyFs::File("S/B.BIN", "b")},
       "D:\\S",
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Mount(c.tree);
    Start();
    form().CheckBoxMode.SetChecked(c.walk);
    form().BitBtn1Click();
    EXPECT_EQ(Problems(), std::vector<std::string>{ProblemLine(c.directory, kReadSuffix)});
    EXPECT_EQ(dialogs_.Texts(DialogKind::kError), c.boxes);
    EXPECT_EQ(dialogs_.Count(DialogKind::kInformation), 0);  // not "Список файлов ПУСТ !!!"
    EXPECT_TRUE(list_error_.Visible());
    EXPECT_EQ(dlg_info_.Caption(), "Были ошибки !!!");
    list_error_.Clear();
    dialogs_ = ScriptedDialogs();
    UseDriveD({'D', drive_d_.path(), kDriveCdrom, "DISC", 0});
    fs_.reset();
  }
}

// Unmounted as "umount -l" does while the walk reads its first file: the directory it is in is
// gone, and so is the way back up.
TEST_F(MediaFaultTest, MediumUnmountedDuringAWalkEndsItWithTheListFileClosed) {
  Mount({FaultyFs::File("S/A/A.BIN", Data(3 * kBlock)), FaultyFs::File("S/B/B.BIN", "b")});
  Start();
  UseListFile();
  form().CBSizeBlock.SetItemIndex(0);
  dialogs_.Ok();
  AtPump(2, [this] { umount2(fs_->mount_point().c_str(), MNT_DETACH); });
  RunHandler(dialogs_, [this] { form().BitBtn1Click(); });
  EXPECT_EQ(Problems(), std::vector<std::string>{Line("A\\A.BIN", kNotFoundSuffix)});
  EXPECT_EQ(dialogs_.Texts(DialogKind::kError),
            (std::vector<std::string>{"Проблемы с файлами в каталоге : \"D:\\S\\A\"",
                                      "File not found."}));
  EXPECT_EQ(ListFileLines().back(), kListFileEndLine);
}

}  // namespace
}  // namespace tarvik
