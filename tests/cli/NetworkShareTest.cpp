// A share checked from a script: the binary connects the letter for its run, with the password
// from the environment, and reports a connection that fails as the window's box words it.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "CheckProcess.h"
#include "WindowCheck.h"
#include "platform/ErrorCodes.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/smb/SmbPlatform.h"
#include "support/SmbServer.h"
#include "support/TempDir.h"
#include "util/Cp1251.h"

namespace tarvik {
namespace {

const std::string kDocs = "\\\\127.0.0.1\\DOCS";
const std::string kSecret = "\\\\127.0.0.1\\SECRET";

// A run whose environment holds the password given, an empty one for none.
ProcessRun WithPassword(const std::string& password) {
  ProcessRun run;
  run.environment = {"TARVIK_PASSWORD=" + password};
  return run;
}

class NetworkShareTest : public ::testing::Test {
 protected:
  // A file of a share, by its path below the share's folder.
  void MakeShared(const std::string& folder, const std::string& relative, std::size_t size) {
    server_.files().MakeFileOfSize(folder + "/" + relative, static_cast<std::int64_t>(size));
  }

  SmbServer server_;
  TempDir dir_;
};

TEST_F(NetworkShareTest, AWalkOfAShareListsEveryFileAsTheWindowDoes) {
  const std::vector<std::string> files = {"корень.txt", "Папка\\файл.bin", "Папка\\пусто.txt",
                                          "Папка\\Вложенная\\глубоко.txt", "Папка\\пробел \\в.txt"};
  const std::size_t sizes[] = {7, 100'000, 0, 40'000, 5};
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::string relative = files[i];
    std::replace(relative.begin(), relative.end(), '\\', '/');
    MakeShared(SmbServer::kGuestFolder, relative, sizes[i]);
  }
  const ProcessResult cli = RunCheckBinary(
      {"--connect", "z=" + kDocs, "-r", "-l", dir_.Path("cli.txt"), "Z:\\"}, WithPassword(""));

  PosixPlatform local;
  SmbPlatform platform(local);
  ASSERT_EQ(platform.AddConnection(kDocs, "", "Z:"), kNoError);
  ASSERT_EQ(platform.SetCurrentDirectory("Z:\\"), kNoError);
  const WindowOutcome window =
      CheckInWindow(platform, DrivePath(dir_.Path("window.txt")),
                    [](TForm1& form) { form.CheckBoxMode.SetChecked(true); });

  EXPECT_EQ(cli.status, 0) << cli.err;
  ExpectSameAsWindow(cli, window);
  EXPECT_EQ(window.verdict, "Ok");
  const std::string list = ListWithoutDate(dir_.ReadFile("cli.txt"));
  EXPECT_EQ(list, ListWithoutDate(dir_.ReadFile("window.txt")));
  // Every file, deepest directory first, its directories upper-cased as on any volume whose
  // names are not case-sensitive.
  EXPECT_EQ(list, Utf8ToCp1251("\r\n          Список найденных файлов\r\n"
                               "-------------------------------------------\r\n"
                               "Z:\\ПАПКА\\ВЛОЖЕННАЯ\\глубоко.txt\r\n"
                               "Z:\\ПАПКА\\ПРОБЕЛ<U+F020>\\в.txt\r\n"
                               "Z:\\ПАПКА\\пусто.txt\r\n"
                               "Z:\\ПАПКА\\файл.bin\r\n"
                               "Z:\\корень.txt\r\n"
                               "-----------------The End.------------------\r\n"));
}

TEST_F(NetworkShareTest, ConnectionOutcomes) {
  MakeShared(SmbServer::kSecretFolder, "Отчёт.txt", 5000);
  struct Case {
    const char* name;
    std::string password;  // in the environment; empty for none
    std::string connect;
    int status;
    std::string error;         // the text after "tarvik-check: <connect>: "
    bool port_closed = false;  // the computer is asked on a port where nothing listens
  };
  const std::string password = SmbServer::kPassword;
  const Case cases[] = {
      {"the password from the environment", password, "Y:=" + kSecret, 0, ""},
      {"a wrong password", "wrong", "Y:=" + kSecret, 3,
       "СЕТЕВАЯ ОШИБКА : НЕ КОРРЕКТНЫЙ ПАРОЛЬ: logon denied: wrong user name or password"},
      {"no password for a share that wants one", "", "Y:=" + kSecret, 3,
       "СЕТЕВАЯ ОШИБКА : ОТКАЗАНО В ДОСТУПЕ: the share refuses this user"},
      {"an unknown share", password, "Y:=\\\\127.0.0.1\\NOSUCH", 3,
       "СЕТЕВАЯ ОШИБКА : НЕ КОРРЕКТНОЕ СЕТЕВОЕ ИМЯ КОМПЬЮТЕРА: no such share"},
      {"the letter of the root file system", password, "C:=" + kSecret, 3,
       "СЕТЕВАЯ ОШИБКА : СОЕДИНЕНИЕ УЖЕ СУЩЕСТВУЕТ: drive C: is a drive of this machine"},
      {"a port where nothing listens", password, "Y:=" + kDocs, 3,
       "СЕТЕВАЯ ОШИБКА : НЕ УДАЧНАЯ ПОПЫТКА СЕТЕВОГО СОЕДИНЕНИЯ: the computer refused the "
       "connection",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProcessRun run = WithPassword(c.password);
    if (c.port_closed) run.environment.push_back("TARVIK_SMB_PORT=1");
    const ProcessResult cli = RunCheckBinary({"--connect", c.connect, "Y:\\"}, run);
    EXPECT_EQ(cli.status, c.status) << cli.err;
    if (c.error.empty()) {
      EXPECT_EQ(Lines(cli.out).back(), "Ok");
      EXPECT_EQ(cli.err, "");
    } else {
      EXPECT_EQ(Lines(cli.err),
                std::vector<std::string>{"tarvik-check: " + c.connect + ": " + c.error});
      EXPECT_EQ(cli.out, "");
    }
  }
}

// A network path as PATH is checked through the last free letter, connected for the run only.
TEST_F(NetworkShareTest, ANetworkPathIsCheckedThroughALetterOfItsOwn) {
  MakeShared(SmbServer::kGuestFolder, "Папка/файл.txt", 300);
  struct Case {
    std::string path;
    int status;
    std::string last_line;  // of standard output, or of standard error when the run fails
  };
  const Case cases[] = {
      {kDocs + "\\Папка", 0, "Ok"},
      {"//127.0.0.1/DOCS/Папка/", 0, "Ok"},
      {"\\\\127.0.0.1\\NOSUCH\\x", 3,
       "tarvik-check: Z:=\\\\127.0.0.1\\NOSUCH: СЕТЕВАЯ ОШИБКА : НЕ КОРРЕКТНОЕ СЕТЕВОЕ ИМЯ "
       "КОМПЬЮТЕРА: no such share"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const ProcessResult cli =
        RunCheckBinary({"-l", dir_.Path("list.txt"), c.path}, WithPassword(""));
    EXPECT_EQ(cli.status, c.status) << cli.err;
    EXPECT_EQ(Lines(c.status == 0 ? cli.out : cli.err).back(), c.last_line);
    if (c.status == 0) {
      EXPECT_NE(dir_.ReadFile("list.txt").find(Utf8ToCp1251("Z:\\ПАПКА\\файл.txt")),
                std::string::npos);
    }
  }
}

// The server stops answering (SIGSTOP) once the progress line names the big file: Ctrl+C then
// ends the run at once, and without it the walk ends soon after the deadline with its lines;
// killed (SIGKILL), it leaves the same lines, never "not found" for a file the share listed.
TEST_F(NetworkShareTest, AServerThatFreezesOrDiesDuringARead) {
  server_.files().MakeSparseFile(std::string(SmbServer::kGuestFolder) + "/A/big.bin", 1LL << 32);
  MakeShared(SmbServer::kGuestFolder, "A/later.bin", 10);
  MakeShared(SmbServer::kGuestFolder, "B/next.bin", 10);
  MakeShared(SmbServer::kGuestFolder, "last.bin", 10);
  using Clock = std::chrono::steady_clock;
  for (const std::string mode : {"Ctrl+C", "the deadline", "a kill"}) {
    SCOPED_TRACE(mode);
    const bool interrupt = mode == "Ctrl+C";
    const bool kill = mode == "a kill";
    ProcessRun run = WithPassword("");
    run.environment.push_back("TARVIK_SMB_DEADLINE=2");
    run.err_on_terminal = true;
    Clock::time_point frozen_at{};
    run.interrupt_when = [&](const ProcessResult& so_far) {
      if (frozen_at == Clock::time_point{} && so_far.err.find("big.bin") != std::string::npos) {
        kill ? server_.Stop() : server_.Freeze();
        frozen_at = Clock::now();
      }
      return interrupt && frozen_at != Clock::time_point{} &&
             Clock::now() - frozen_at > std::chrono::milliseconds(300);
    };
    const ProcessResult cli =
        RunCheckBinary({"--connect", "Z:=" + kDocs, "-r", "-b", "2048", "Z:\\"}, run);
    const auto took = Clock::now() - frozen_at;
    kill ? server_.Start() : server_.Thaw();
    const std::vector<std::string> out = Lines(cli.out);
    ASSERT_FALSE(out.empty()) << cli.err;
    if (interrupt) {
      EXPECT_EQ(cli.status, 130) << cli.err;
      EXPECT_LT(took, std::chrono::milliseconds(300 + 2000));
      EXPECT_EQ(out.front(), "Файл : \"Z:\\A\\big.bin\" - отказ Пользователя от продолжения !");
    } else {
      // The walk cannot go back up a share that is gone.
      EXPECT_EQ(cli.status, 3) << cli.err << cli.out;
      EXPECT_TRUE(kill || took < std::chrono::seconds(2 + 2)) << cli.err;
      EXPECT_EQ(out, (std::vector<std::string>{
                         "Файл : \"Z:\\A\\big.bin\" - не удачное считывание !",
                         "Файл : \"Z:\\A\\later.bin\" - не удалось открыть файл для чтения(1) !"}));
    }
    EXPECT_NE(cli.err.find("tarvik-check: I/O error 59."), std::string::npos) << cli.err;
  }
}

}  // namespace
}  // namespace tarvik
