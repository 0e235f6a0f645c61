#include "net/Net.h"

#include "platform/ErrorCodes.h"
#include "util/Utf8.h"

namespace tarvik {

namespace {

// Codes of the unit's own, outside the platform's range; nothing produces them.
constexpr int kOwnComputer = 999998;
constexpr int kDatabase = 999999;

struct CodeText {
  int code;
  const char* text;
};

constexpr CodeText kErrorTexts[] = {
    {kErrAccessDenied, "ОТКАЗАНО В ДОСТУПЕ"},
    {kErrNotEnoughMemory, "НЕ хватает памяти"},
    {kErrNotSupported, "СЕТЕВЫЕ функции НЕ поддерживаются"},
    {kErrUnexpectedNetError, "СЕТЕВАЯ ОШИБКА"},
    {kErrBadNetName, "НЕ КОРРЕКТНОЕ СЕТЕВОЕ ИМЯ КОМПЬЮТЕРА"},
    {kErrAlreadyAssigned, "СОЕДИНЕНИЕ УЖЕ СУЩЕСТВУЕТ"},
    {kErrInvalidPassword, "НЕ КОРРЕКТНЫЙ ПАРОЛЬ"},
    {kErrInvalidParameter, "НЕ КОРРЕКТНЫЙ ВИРТУАЛЬНЫЙ ДИСК ИЛИ СЕТЕВОЕ ИМЯ"},
    {487, "НЕ КОРРЕКТНЫЙ УКАЗАТЕЛЬ"},
    {kErrBadDevice, "НЕ КОРРЕКТНОЕ ИМЯ ВИРТУАЛЬНОГО ДИСКА"},
    {kErrNotConnected, "НЕ УДАЧНАЯ ПОПЫТКА СЕТЕВОГО СОЕДИНЕНИЯ"},
    {kErrOpenFiles, "НА ЗАДАННОМ ВИРТУАЛЬНОМ ДИСКЕ ОТКРЫТ ФАЙЛ"},
    {kOwnComputer, "ЗАПРОС НА СОЕДИНЕНИЕ С СОБСТВЕННЫМ КОМПЬЮТЕРОМ !"},
    {kDatabase, "ЗАПРЕТ НА СОЕДИНЕНИЕ С БАЗОЙ ДАННЫХ !"},
};

struct FailureTexts {
  ConnectFailure failure;
  const char* text;   // the window's
  const char* words;  // the command line's
};

constexpr FailureTexts kFailureTexts[] = {
    {ConnectFailure::kLocalDrive, "буква занята диском этого компьютера",
     "is a drive of this machine"},
    {ConnectFailure::kRefused, "компьютер отверг соединение",
     "the computer refused the connection"},
    {ConnectFailure::kNoAnswer, "компьютер не отвечает", "the computer does not answer"},
    {ConnectFailure::kUnreachable, "компьютер недоступен по сети",
     "no network route to the computer"},
    {ConnectFailure::kNoSuchComputer, "нет компьютера с таким именем", "no computer of that name"},
    {ConnectFailure::kNoSuchShare, "нет такого сетевого каталога", "no such share"},
    {ConnectFailure::kLogonDenied, "вход отклонён: неверное имя пользователя или пароль",
     "logon denied: wrong user name or password"},
    {ConnectFailure::kShareDenied, "каталог не доступен этому пользователю",
     "the share refuses this user"},
};

const FailureTexts* TextsOf(ConnectFailure failure) {
  for (const FailureTexts& entry : kFailureTexts) {
    if (entry.failure == failure) return &entry;
  }
  return nullptr;
}

void AppendColon(std::string& local) {
  if (!local.empty() && !local.ends_with(':')) local += ':';
}

}  // namespace

int NetConnect(Platform& platform, const std::string& remote, const std::string& password,
               const std::string& local) {
  if (Utf8Length(local) > kMaxLocalName) return kErrBadDevice;
  if (Utf8Length(password) > kMaxPassword) return kErrInvalidPassword;
  if (Utf8Length(remote) > kMaxRemoteName) return kErrBadNetName;
  std::string local_name = local;
  AppendColon(local_name);
  std::string remote_name = remote;
  if (remote_name.ends_with('\\')) remote_name.pop_back();
  if (remote_name.ends_with(':')) remote_name.pop_back();
  platform.CancelConnection(local_name, true);
  return platform.AddConnection(remote_name, password, local_name);
}

bool NetConnectReport(Platform& platform, Dialogs& dialogs, bool report, const std::string& remote,
                      const std::string& password, const std::string& local) {
  const int code = NetConnect(platform, remote, password, local);
  if (code == kNoError) return true;
  if (report) NetErrorMessage(dialogs, code);
  return false;
}

int NetDisconnect(Platform& platform, const std::string& letter) {
  if (Utf8Length(letter) > kMaxLocalName) return kErrBadDevice;
  std::string local_name = letter;
  AppendColon(local_name);
  return platform.CancelConnection(local_name, true);
}

bool NetErrorMessage(Dialogs& dialogs, int code) {
  if (code == kNoError) return true;
  dialogs.MessageBeep(BeepSound::kStop);
  dialogs.MessageBox(MessageKind::kError, NetErrorBoxText(code));
  return true;
}

std::string ConnectFailureText(Platform& platform) {
  const FailureTexts* texts = TextsOf(platform.LastConnectFailure());
  return texts == nullptr ? std::string() : texts->text;
}

std::string ConnectFailureWords(Platform& platform, const std::string& local) {
  const ConnectFailure failure = platform.LastConnectFailure();
  const FailureTexts* texts = TextsOf(failure);
  if (texts == nullptr) return "";
  if (failure != ConnectFailure::kLocalDrive) return texts->words;
  std::string letter = local;
  AppendColon(letter);
  return "drive " + letter + " " + texts->words;
}

std::string NetErrorBoxText(int code) {
  return std::string("СЕТЕВАЯ ОШИБКА : ") + NetErrorText(code);
}

const char* NetErrorText(int code) {
  for (const CodeText& entry : kErrorTexts) {
    if (entry.code == code) return entry.text;
  }
  return "???";
}

}  // namespace tarvik
