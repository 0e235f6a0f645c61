#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/Net.h"
#include "platform/ErrorCodes.h"
#include "platform/posix/PosixPlatform.h"
#include "support/FaultyPlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

// Records the connection calls in order and answers the add with a chosen code.
class RecordingPlatform : public FaultyPlatform {
 public:
  using FaultyPlatform::FaultyPlatform;

  int AddConnection(const std::string& remote_name, const std::string& password,
                    const std::string& local_name) override {
    calls.push_back("add " + remote_name + " " + password + " " + local_name);
    return add_result;
  }
  int CancelConnection(const std::string& local_name, bool force) override {
    calls.push_back("cancel " + local_name + (force ? " force" : ""));
    return kErrNotConnected;
  }

  std::vector<std::string> calls;
  int add_result = kNoError;
};

class NetUnitTest : public ::testing::Test {
 protected:
  TempDir dir_;
  PosixPlatform posix_{{{'C', dir_.path(), kDriveFixed, "", 0x3}}, "C:\\"};
  RecordingPlatform platform_{posix_};
  ScriptedDialogs dialogs_;
};

TEST_F(NetUnitTest, NamesAreNormalisedAndTheLetterCancelledFirst) {
  struct Case {
    std::string remote, local;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"\\\\SRV\\DOCS", "z", {"cancel z: force", "add \\\\SRV\\DOCS pw z:"}},
      {"\\\\SRV\\D:\\", "Z:", {"cancel Z: force", "add \\\\SRV\\D pw Z:"}},
      {"\\\\SRV\\C:", "Z", {"cancel Z: force", "add \\\\SRV\\C pw Z:"}},
      {"\\\\SRV\\", "Z", {"cancel Z: force", "add \\\\SRV pw Z:"}},
      {"\\\\SRV\\D\\\\", "Z", {"cancel Z: force", "add \\\\SRV\\D\\ pw Z:"}},
      {"\\\\SRV\\D:\\:", "Z", {"cancel Z: force", "add \\\\SRV\\D:\\ pw Z:"}},
      {"\\", "", {"cancel  force", "add  pw "}},
      {"", " Z ", {"cancel  Z : force", "add  pw  Z :"}},
  };
  for (const Case& c : cases) {
    platform_.calls.clear();
    EXPECT_EQ(NetConnect(platform_, c.remote, "pw", c.local), kNoError);
    EXPECT_EQ(platform_.calls, c.calls) << c.remote << " / " << c.local;
  }
}

TEST_F(NetUnitTest, OverlongFieldsAreRefusedBeforeAnythingIsSent) {
  const std::string letters32(32, 'Z');
  const std::string cyrillic32 = [] {
    std::string text;
    for (int i = 0; i < 32; ++i) text += "Я";
    return text;
  }();
  struct Case {
    std::string remote, password, local;
    int code;
  };
  const Case cases[] = {
      {"\\\\S\\D", "", letters32, kNoError},
      {"\\\\S\\D", "", cyrillic32, kNoError},
      {"\\\\S\\D", "", letters32 + "Z", kErrBadDevice},
      {"\\\\S\\D", std::string(64, 'p'), "Z", kNoError},
      {"\\\\S\\D", std::string(65, 'p'), "Z", kErrInvalidPassword},
      {"\\\\S\\" + std::string(251, 'D'), "", "Z", kNoError},
      {"\\\\S\\" + std::string(252, 'D'), "", "Z", kErrBadNetName},
  };
  for (const Case& c : cases) {
    platform_.calls.clear();
    EXPECT_EQ(NetConnect(platform_, c.remote, c.password, c.local), c.code);
    EXPECT_EQ(platform_.calls.size(), c.code == kNoError ? 2u : 0u) << c.code;
  }
  platform_.calls.clear();
  EXPECT_EQ(NetDisconnect(platform_, letters32 + "Z"), kErrBadDevice);
  EXPECT_TRUE(platform_.calls.empty());
}

TEST_F(NetUnitTest, DisconnectAppendsAColonAndForces) {
  const std::pair<const char*, const char*> cases[] = {
      {"Z", "cancel Z: force"},
      {"z:", "cancel z: force"},
      {"ZX", "cancel ZX: force"},
      {"", "cancel  force"},
  };
  for (auto [letter, call] : cases) {
    platform_.calls.clear();
    EXPECT_EQ(NetDisconnect(platform_, letter), kErrNotConnected);
    EXPECT_EQ(platform_.calls, std::vector<std::string>{call}) << letter;
  }
}

TEST_F(NetUnitTest, EveryCodeHasItsText) {
  const std::pair<int, const char*> cases[] = {
      {5, "ОТКАЗАНО В ДОСТУПЕ"},
      {8, "НЕ хватает памяти"},
      {50, "СЕТЕВЫЕ функции НЕ поддерживаются"},
      {59, "СЕТЕВАЯ ОШИБКА"},
      {67, "НЕ КОРРЕКТНОЕ СЕТЕВОЕ ИМЯ КОМПЬЮТЕРА"},
      {85, "СОЕДИНЕНИЕ УЖЕ СУЩЕСТВУЕТ"},
      {86, "НЕ КОРРЕКТНЫЙ ПАРОЛЬ"},
      {87, "НЕ КОРРЕКТНЫЙ ВИРТУАЛЬНЫЙ ДИСК ИЛИ СЕТЕВОЕ ИМЯ"},
      {487, "НЕ КОРРЕКТНЫЙ УКАЗАТЕЛЬ"},
      {1200, "НЕ КОРРЕКТНОЕ ИМЯ ВИРТУАЛЬНОГО ДИСКА"},
      {2250, "НЕ УДАЧНАЯ ПОПЫТКА СЕТЕВОГО СОЕДИНЕНИЯ"},
      {2401, "НА ЗАДАННОМ ВИРТУАЛЬНОМ ДИСКЕ ОТКРЫТ ФАЙЛ"},
      {999998, "ЗАПРОС НА СОЕДИНЕНИЕ С СОБСТВЕННЫМ КОМПЬЮТЕРОМ !"},
      {999999, "ЗАПРЕТ НА СОЕДИНЕНИЕ С БАЗОЙ ДАННЫХ !"},
      {2, "???"},
      {-1, "???"},
      {1000000, "???"},
  };
  for (auto [code, text] : cases) {
    ScriptedDialogs dialogs;
    EXPECT_TRUE(NetErrorMessage(dialogs, code));
    ASSERT_EQ(dialogs.Log().size(), 2u) << code;
    EXPECT_EQ(dialogs.Log()[0].kind, DialogKind::kStopBeep);
    EXPECT_EQ(dialogs.Log()[1].kind, DialogKind::kError);
    EXPECT_EQ(dialogs.Log()[1].caption, "Error");
    EXPECT_EQ(dialogs.Log()[1].text, std::string("СЕТЕВАЯ ОШИБКА : ") + text);
  }
  EXPECT_TRUE(NetErrorMessage(dialogs_, kNoError));
  EXPECT_TRUE(dialogs_.Log().empty());
}

TEST_F(NetUnitTest, ReportShowsTheErrorOnlyWhenAsked) {
  struct Case {
    int result;
    bool report;
    bool connected;
    int boxes;
  };
  const Case cases[] = {
      {kNoError, true, true, 0},
      {kErrInvalidPassword, true, false, 1},
      {kErrInvalidPassword, false, false, 0},
  };
  for (const Case& c : cases) {
    ScriptedDialogs dialogs;
    platform_.add_result = c.result;
    EXPECT_EQ(NetConnectReport(platform_, dialogs, c.report, "\\\\S\\D", "", "Z"), c.connected);
    EXPECT_EQ(dialogs.Count(DialogKind::kError), c.boxes);
  }
}

}  // namespace
}  // namespace tarvik
