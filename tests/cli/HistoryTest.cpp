// The volume history: a second check of a tree compared with the first, and a history that
// is locked, damaged, killed mid-check or cannot be written.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CheckProcess.h"
#include "history/CheckRecorder.h"
#include "history/HistoryStore.h"
#include "support/ScopedMount.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

// The first column of the first row `sql` gives, as text; "" for none.
std::string Query(const std::string& database, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  std::string value;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return value;
}

TEST(HistoryTest, TheSecondCheckTellsWhatChangedSinceTheFirst) {
  struct Case {
    const char* name;
    std::function<void(TempDir&)> change;
    std::vector<std::string> options;
    int status;
    std::string line;     // the problem line's ending for B.TXT, "" for none
    std::string row_end;  // how B.TXT's report row ends
    std::string since;    // the summary's line about the last check
  };
  const std::string kChanged = " - содержимое изменилось, хотя дата изменения прежняя !";
  const Case cases[] = {
      {"content changed, date set back",
       [](TempDir& dir) {
         const std::string b = "'" + dir.Path("tree/sub/B.TXT") + "'";
         const std::string was = "'" + dir.MakeFile("was") + "'";
         ASSERT_EQ(std::system(("touch -r " + b + " " + was).c_str()), 0);
         dir.MakeFile("tree/sub/B.TXT", "bbbX");
         const std::string touch = "touch -r " + was + " " + b;
         ASSERT_EQ(std::system(touch.c_str()), 0);
       },
       {},
       1,
       kChanged,
       ",changed,yes,",
       "новых файлов = 0, исчезло = 0, изменилось = 1"},
      {"edited as usual",
       [](TempDir& dir) {
         dir.MakeFile("tree/sub/B.TXT", "bbbX");
         const std::string touch = "touch -d '2001-01-01' '" + dir.Path("tree/sub/B.TXT") + "'";
         ASSERT_EQ(std::system(touch.c_str()), 0);
       },
       {},
       0,
       "",
       ",ok,,",
       "новых файлов = 0, исчезло = 0, изменилось = 0"},
      {"removed",
       [](TempDir& dir) { dir.Remove("tree/sub/C.TXT"); },
       {},
       0,
       "",
       ",ok,,",
       "новых файлов = 0, исчезло = 1, изменилось = 0"},
      {"added",
       [](TempDir& dir) { dir.MakeFile("tree/sub/D.TXT", "d"); },
       {},
       0,
       "",
       ",ok,,",
       "новых файлов = 1, исчезло = 0, изменилось = 0"},
      {"unreadable now",
       [](TempDir& dir) {
         dir.Remove("tree/sub/B.TXT");
         dir.MakeSymlink("tree/sub/B.TXT", "nowhere");
       },
       {},
       1,
       " - не удалось открыть файл для чтения(1) !",
       ",open1,yes,",
       "новых файлов = 0, исчезло = 0, изменилось = 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.MakeFile("tree/sub/A.TXT", "a");
    dir.MakeFile("tree/sub/B.TXT", "bbbb");
    dir.MakeFile("tree/sub/C.TXT", "c");
    // After the subfolder's files in the history's order.
    dir.MakeFile("tree/zz.txt", "z");
    // More than one batch of rows.
    for (std::size_t f = 0; f <= HistoryStore::kBatchFiles; ++f) {
      dir.MakeFile("tree/many/" + std::to_string(f), "");
    }
    ProcessRun run;
    run.environment = {"XDG_DATA_HOME=" + dir.Path("data")};
    const std::vector<std::string> args = {"-r", "--report=" + dir.Path("r.csv"), dir.Path("tree")};
    ASSERT_EQ(RunCheckBinary(args, run).status, 0);
    c.change(dir);
    const ProcessResult second = RunCheckBinary(args, run);

    EXPECT_EQ(second.status, c.status) << second.out << second.err;
    const std::string b_line = "Файл : \"" + DrivePath(dir.Path("tree/sub/B.TXT")) + "\"";
    EXPECT_EQ(second.out.starts_with(b_line), !c.line.empty()) << second.out;
    if (!c.line.empty()) {
      EXPECT_EQ(Lines(second.out)[0], b_line + c.line);
    }
    EXPECT_NE(second.out.find("С прошлой проверки : " + c.since), std::string::npos) << second.out;
    const std::string report = dir.ReadFile("r.csv");
    const std::size_t row = report.find(DrivePath(dir.Path("tree/sub/B.TXT")) + ",");
    ASSERT_NE(row, std::string::npos) << report;
    EXPECT_NE(report.substr(row, report.find("\r\n", row) - row).find(c.row_end), std::string::npos)
        << report;
    const ProcessResult listed = RunCheckBinary({"-q", "--history", dir.Path("tree")}, run);
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(Lines(listed.out).size(), 3u) << listed.out;
    EXPECT_NE(listed.out.find("\t" + DrivePath(dir.Path("tree")) + "\\\t"), std::string::npos)
        << listed.out;
  }
}

// What a case holds beside the check while it runs.
struct Held {
  sqlite3* holder = nullptr;
  std::unique_ptr<ScopedMount> mount;
  ~Held() { sqlite3_close(holder); }
};

// Runs `sql` on the database; false when it fails.
bool Change(const std::string& database, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(database.c_str(), &db);
  const bool done = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return done;
}

// Changes the content of a file, keeping its size and modification time.
void ChangeSilently(TempDir& dir, const std::string& name, const std::string& content) {
  const std::string path = "'" + dir.Path(name) + "'";
  const std::string was = "'" + dir.MakeFile("was") + "'";
  ASSERT_EQ(std::system(("touch -r " + path + " " + was).c_str()), 0);
  dir.MakeFile(name, content);
  ASSERT_EQ(std::system(("touch -r " + was + " " + path).c_str()), 0);
}

// Each file is compared with the last state of it read without a problem, whatever the checks
// between covered; a change stays a problem until it is accepted; a damaged row is named, not
// taken for a change; a history held by another process is still compared with.
TEST(HistoryTest, EachFileIsComparedWithItsLastGoodState) {
  // One command of a case: its arguments before the tree (or an action on the files or the
  // database), the status it ends with, and text its output and errors must hold.
  struct Step {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
    std::function<void(TempDir&, const std::string& database)> action;
  };
  const auto command = [](std::vector<std::string> args, int status, std::string out,
                          std::string err = "") {
    return Step{std::move(args), status, std::move(out), std::move(err), nullptr};
  };
  const std::string kChanged = "F1.TXT\" - содержимое изменилось, хотя дата изменения прежняя !";
  const Step change_f1{{}, 0, "", "", [](TempDir& dir, const std::string&) {
                         ChangeSilently(dir, "tree/F1.TXT", "onE");
                       }};
  const Step flip_a_bit{{}, 0, "", "", [](TempDir&, const std::string& database) {
                          ASSERT_TRUE(Change(database,
                                             "UPDATE known_files SET sha256 = zeroblob(31) || "
                                             "substr(sha256, 32) WHERE path LIKE '%F1.TXT'"));
                        }};
  const Step finds_it = command({"-r"}, 1, kChanged);
  const Step quiet = command({"-r"}, 0, "исчезло = 0, изменилось = 0");
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"a check of a subfolder between", {command({"-r", "sub"}, 0, ""), change_f1, finds_it}},
      {"a masked check between",
       {command({"-r", "-m", "*.JPG"}, 0, "новых файлов = 0, исчезло = 0"), change_f1, finds_it}},
      {"reported until accepted",
       {change_f1, finds_it, finds_it,
        command({"--accept-changes"}, 0, "", "accepted the new content of 1 changed file(s)"),
        quiet}},
      {"one file accepted",
       {change_f1, finds_it, command({"--accept-changes", "F1.TXT"}, 0, "", "of 1 changed file(s)"),
        quiet}},
      {"a flipped bit in a stored digest",
       {flip_a_bit, command({"-r"}, 0, "", "F1.TXT' is damaged: not compared, written anew"),
        quiet}},
      {"held by another process",
       {change_f1,
        command({"-r"}, 1, kChanged, "is in use by another instance: this check is not recorded")}},
      {"no place for it",
       {command({"-r"}, 0, "", "the history is off: neither XDG_DATA_HOME nor HOME is set"),
        command({"--history"}, 3, "", "the history is off")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.MakeFile("tree/F1.TXT", "one");
    dir.MakeFile("tree/sub/F2.TXT", "two");
    dir.MakeFile("tree/sub/F3.TXT", "three");
    const std::string database = dir.Path("data/tarvik/history.sqlite3");
    ProcessRun run;
    run.environment = {"XDG_DATA_HOME=" + dir.Path("data")};
    ASSERT_EQ(RunCheckBinary({"-r", dir.Path("tree")}, run).status, 0);
    Held held;
    if (std::string(c.name) == "held by another process") {
      sqlite3_open(database.c_str(), &held.holder);
      sqlite3_exec(held.holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    }
    if (std::string(c.name) == "no place for it") run.environment = {"XDG_DATA_HOME=", "HOME="};
    for (const Step& step : c.steps) {
      if (step.action) {
        step.action(dir, database);
        continue;
      }
      std::vector<std::string> args = step.args;
      // A last argument naming a file or folder goes below the tree, else the tree is the path.
      if (args.back() == "sub" || args.back() == "F1.TXT") {
        args.back() = dir.Path("tree/" + args.back());
      } else {
        args.push_back(dir.Path("tree"));
      }
      const ProcessResult result = RunCheckBinary(args, run);
      SCOPED_TRACE(args.front());
      EXPECT_EQ(result.status, step.status) << result.out << result.err;
      EXPECT_NE(result.out.find(step.out), std::string::npos) << result.out;
      EXPECT_NE(result.err.find(step.err), std::string::npos) << result.err;
      if (step.err.empty() && step.status == 0) {
        EXPECT_EQ(result.err, "");
      }
    }
  }
}

// A database of the first version: its checks stay, and its files' rows are the known states
// the next check compares with, also for a volume it knew by the time of its root; a change it
// found stays one until it is accepted.
TEST(HistoryTest, AFirstVersionDatabaseIsTakenOver) {
  TempDir dir;
  dir.MakeFile("tree/F1.TXT", "one");
  ProcessRun run;
  run.environment = {"XDG_DATA_HOME=" + dir.Path("data")};
  ASSERT_EQ(RunCheckBinary({"-r", dir.Path("tree")}, run).status, 0);
  const std::string database = dir.Path("data/tarvik/history.sqlite3");
  std::string key = Query(database, "SELECT key FROM volumes");
  const std::string digest = Query(database, "SELECT hex(sha256) FROM known_files");
  std::filesystem::remove(database);
  if (const std::size_t source = key.rfind("\nSOURCE="); source != std::string::npos) {
    key = key.substr(0, source) + "\nROOT=1765432100.123456789";
  }
  const std::string path = DrivePath(dir.Path("tree/F1.TXT")).substr(3);
  ASSERT_TRUE(Change(
      database,
      "CREATE TABLE volumes(id INTEGER PRIMARY KEY, key TEXT NOT NULL UNIQUE);"
      "CREATE TABLE checks(id INTEGER PRIMARY KEY, volume INTEGER NOT NULL, started INTEGER "
      "NOT NULL, ended INTEGER, block_size INTEGER NOT NULL, mode TEXT NOT NULL, "
      "start_directory TEXT NOT NULL, files INTEGER NOT NULL DEFAULT 0, bytes INTEGER NOT NULL "
      "DEFAULT 0, problems INTEGER NOT NULL DEFAULT 0, seconds REAL NOT NULL DEFAULT 0, "
      "changed INTEGER NOT NULL DEFAULT 0, gone INTEGER, new_files INTEGER, finished INTEGER "
      "NOT NULL DEFAULT 0);"
      "CREATE TABLE files(check_id INTEGER NOT NULL, path TEXT NOT NULL, size INTEGER, "
      "modified INTEGER, sha256 BLOB, outcome TEXT NOT NULL, seconds REAL NOT NULL, "
      "PRIMARY KEY(check_id, path)) WITHOUT ROWID;"
      "CREATE TABLE speed_samples(check_id INTEGER NOT NULL, position INTEGER NOT NULL, bytes "
      "INTEGER NOT NULL, milliseconds INTEGER NOT NULL, PRIMARY KEY(check_id, position)) "
      "WITHOUT ROWID;"
      "PRAGMA journal_mode=WAL;"
      "INSERT INTO volumes VALUES(1, '" + key + "');"
      "INSERT INTO checks(volume, started, block_size, mode, start_directory, files, finished) "
      "VALUES(1, 1765432100, 16384, 'subdirectories', '', 1, 1);"
      "INSERT INTO files SELECT 1, '" + path + "', 3, modified, x'" + digest +
      "', 'ok', 0.1 FROM (SELECT 0 AS modified);"
      // A second check that found the change and, as the first version did, kept its content.
      "INSERT INTO checks(volume, started, block_size, mode, start_directory, files, finished) "
      "VALUES(1, 1765432200, 16384, 'subdirectories', '', 1, 1);"
      "INSERT INTO files VALUES(2, '" + path + "', 3, 0, "
      "x'89db7a74f68f0d04dfe1f9178b6028f175f312d7a71defdfad96a647a2fab856', 'changed', 0.1);"));
  // The first version's modification time is the file's own, so that only the content differs.
  struct stat status;
  ASSERT_EQ(stat(dir.Path("tree/F1.TXT").c_str(), &status), 0);
  const std::int64_t modified = std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 +
                                status.st_mtim.tv_nsec;
  ASSERT_TRUE(Change(database, "UPDATE files SET modified = " + std::to_string(modified)));
  ChangeSilently(dir, "tree/F1.TXT", "onE");

  const ProcessResult checked = RunCheckBinary({"-r", dir.Path("tree")}, run);
  EXPECT_EQ(checked.status, 1) << checked.out << checked.err;
  EXPECT_EQ(Query(database, "PRAGMA journal_mode"), "delete");
  const ProcessResult listed = RunCheckBinary({"-q", "--history", dir.Path("tree")}, run);
  EXPECT_EQ(Lines(listed.out).size(), 4u) << listed.out;
}

TEST(HistoryTest, AHistoryThatCannotBeUsedNeverStopsTheCheck) {
  struct Case {
    const char* name;
    // Prepares the history at `database` and the run.
    std::function<void(TempDir&, const std::string& database, ProcessRun& run, Held& held)> prepare;
    int status;
    std::string err;  // the start of standard error's line
    // After the run: checks recorded, of them unfinished.
    const char* checks;
    const char* unfinished;
    // The command's options before the tree: a check, or a look at the history.
    std::vector<std::string> options = {"-r"};
  };
  const auto not_a_database = [](TempDir& dir, const std::string& database, ProcessRun&, Held&) {
    dir.MakeFile(database.substr(dir.path().size() + 1), "not a database at all");
  };
  const Case cases[] = {
      {"locked by another instance",
       [](TempDir&, const std::string& database, ProcessRun&, Held& held) {
         sqlite3_open(database.c_str(), &held.holder);
         sqlite3_exec(held.holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
       },
       0, "tarvik-check: history '{}' is in use by another instance", "1", "0"},
      {"not a database", not_a_database, 0,
       "tarvik-check: history '{}' was damaged: moved aside as '{}.damaged-", "1", "0"},
      {"killed during the walk",
       [](TempDir& dir, const std::string&, ProcessRun& run, Held&) {
         dir.MakeSparseFile("tree/sub/HUGE.BIN", std::int64_t{8} << 30);
         const auto start = std::chrono::steady_clock::now();
         run.interrupt_signal = SIGKILL;
         run.interrupt_when = [start](const ProcessResult&) {
           return std::chrono::steady_clock::now() - start > std::chrono::milliseconds(1500);
         };
       },
       128 + SIGKILL, "", "2", "1"},
      {"in a folder that cannot be made",
       [](TempDir& dir, const std::string&, ProcessRun& run, Held&) {
         dir.MakeFile("file");
         run.environment = {"XDG_DATA_HOME=" + dir.Path("file/data")};
       },
       0, "tarvik-check: history '", "1", "0"},
      {"on a full disk",
       [](TempDir& dir, const std::string&, ProcessRun& run, Held& held) {
         held.mount = std::make_unique<ScopedMount>(dir.MakeDir("full"), "8k");
         if (!held.mount->mounted()) GTEST_SKIP() << "needs mount privileges";
         run.environment = {"XDG_DATA_HOME=" + dir.Path("full")};
       },
       0, "tarvik-check: history '", "1", "0"},
      {"on a disk that fills during the walk",
       [](TempDir& dir, const std::string&, ProcessRun& run, Held& held) {
         // Rows that do not fit, then a file that reads long enough for them to be committed
         // while it is read.
         for (int f = 0; f < 1500; ++f) {
           dir.MakeFile("tree/sub/F" + std::string(100, 'x') + std::to_string(f));
         }
         dir.MakeSparseFile("tree/sub/HUGE.BIN", std::int64_t{1} << 29);
         held.mount = std::make_unique<ScopedMount>(dir.MakeDir("full"), "160k");
         if (!held.mount->mounted()) GTEST_SKIP() << "needs mount privileges";
         run.environment = {"XDG_DATA_HOME=" + dir.Path("full")};
       },
       0, "tarvik-check: history '", "1", "0"},
      {"not a database, listed",
       not_a_database,
       0,
       "tarvik-check: history '{}' was damaged: moved aside as '{}.damaged-",
       "0",
       "0",
       {"--history"}},
      {"not a database, forgotten",
       not_a_database,
       0,
       "tarvik-check: history '{}' was damaged: moved aside as '{}.damaged-",
       "0",
       "0",
       {"--forget-history"}},
      {"written by another instance, listed",
       [](TempDir&, const std::string& database, ProcessRun&, Held& held) {
         sqlite3_open(database.c_str(), &held.holder);
         sqlite3_exec(held.holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
       },
       0,
       "",
       "1",
       "0",
       {"--history"}},
      {"in a folder that cannot be made, listed",
       [](TempDir& dir, const std::string&, ProcessRun& run, Held&) {
         dir.MakeFile("file");
         run.environment = {"XDG_DATA_HOME=" + dir.Path("file/data")};
       },
       3,
       "tarvik-check: history '",
       "1",
       "0",
       {"--history"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.MakeFile("tree/sub/A.TXT", "a");
    const std::string database = dir.Path("data/tarvik/history.sqlite3");
    ProcessRun run;
    run.environment = {"XDG_DATA_HOME=" + dir.Path("data")};
    ASSERT_EQ(RunCheckBinary({"-r", dir.Path("tree")}, run).status, 0);
    ProcessResult result;
    {
      Held held;
      c.prepare(dir, database, run, held);
      std::vector<std::string> args = c.options;
      args.push_back(dir.Path("tree"));
      result = RunCheckBinary(args, run);
    }

    EXPECT_EQ(result.status, c.status) << result.err;
    std::string err = c.err;
    for (std::size_t at; (at = err.find("{}")) != std::string::npos;) err.replace(at, 2, database);
    EXPECT_TRUE(result.err.starts_with(err)) << result.err;
    // Said once; --forget-history adds the line of what it forgot.
    const std::size_t forgot = c.options.front() == "--forget-history" ? 1 : 0;
    EXPECT_EQ(Lines(result.err).size(), (err.empty() ? 0u : 1u) + forgot) << result.err;
    EXPECT_EQ(Query(database, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(Query(database, "SELECT count(*) FROM checks"), c.checks);
    EXPECT_EQ(Query(database, "SELECT count(*) FROM checks WHERE finished = 0"), c.unfinished);
  }
}

// Nothing to show or forget: no folder and no database made for it.
TEST(HistoryTest, ALookAtAHistoryNeverBegunMakesNoFile) {
  const std::pair<const char*, const char*> cases[] = {
      {"--history", ""}, {"--forget-history", "tarvik-check: forgot 0 check(s) of the volume of "}};
  for (const auto& [option, err] : cases) {
    SCOPED_TRACE(option);
    TempDir dir;
    dir.MakeFile("tree/A.TXT", "a");
    ProcessRun run;
    run.environment = {"XDG_DATA_HOME=" + dir.Path("data")};
    const ProcessResult result = RunCheckBinary({option, dir.Path("tree")}, run);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Lines(result.out).size(), *err == '\0' ? 1u : 0u) << result.out;
    EXPECT_EQ(result.err, *err == '\0' ? "" : err + dir.Path("tree") + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("data")));
  }
}

TEST(HistoryTest, EachFileIsComparedWithItsOwnRowHoweverTheWalkOrdersThem) {
  // A folder's subfolders before its own files, names by their upper case: not the order of
  // the paths' bytes, in which the last check is read.
  const std::vector<std::string> first = {"C:\\D\\sub\\b", "C:\\D\\sub\\C", "C:\\D\\a",
                                          "C:\\D\\B",      "C:\\D\\Z",      "C:\\e"};
  const std::vector<std::string> second = {first[0],     first[1], first[2],
                                           "C:\\D\\new", first[4], first[5]};
  const CheckStart start{
      .volume_key = "V", .block_size = 512, .mode = "subdirectories", .start_directory = "C:\\"};
  // Rows read at a time: from one (every file in a window of its own) to all.
  for (const std::size_t window : {1, 2, 3, 100}) {
    SCOPED_TRACE(window);
    TempDir dir;
    HistoryOpening opening;
    std::string detail;
    const std::unique_ptr<HistoryStore> store =
        HistoryStore::Open(dir.Path("history.sqlite3"), opening, detail);
    ASSERT_NE(store, nullptr) << detail;
    std::size_t changed = 0;
    for (const std::vector<std::string>* walk : {&first, &second}) {
      CheckRecorder recorder(*store, start, window);
      for (const std::string& path : *walk) {
        // Each file's content differs from the last check's, its size and date do not.
        FileSpeed file{.path = path, .size = 1, .bytes = 1, .fingerprint = Digest{}, .modified = 1};
        file.fingerprint->bytes[0] = walk == &first ? 1 : 2;
        changed += recorder.Compare(file);
        recorder.Record(file);
      }
      recorder.End(true, {}, [walk](const std::string& path) {
        return std::find(walk->begin(), walk->end(), path) == walk->end();
      });
      EXPECT_EQ(recorder.Stopped(), "");
      if (walk == &second) {
        EXPECT_EQ(changed, first.size() - 1);
        EXPECT_EQ(recorder.NewFiles(), 1);
        EXPECT_EQ(recorder.Gone(), 1);
      }
    }
  }
}

}  // namespace
}  // namespace tarvik
