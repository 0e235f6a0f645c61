#include "platform/win32/SystemPath.h"

#include <array>

#include "platform/ErrorCodes.h"
#include "platform/Pattern.h"
#include "platform/WindowsName.h"
#include "platform/win32/Wide.h"
#include "util/Path.h"

namespace tarvik {

namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

bool IsLetter(wchar_t ch) { return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'); }

}  // namespace

int Utf8Path(const WindowsPath& path, std::wstring& system_path) {
  system_path.assign(kLongPrefix);
  system_path += RootOf(path.drive);
  std::string stored;
  std::string_view rest = path.text;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\\'), rest.size());
    if (!ToPosixName(rest.substr(0, end), stored)) return kErrInvalidName;
    if (system_path.back() != L'\\') system_path += L'\\';
    system_path += Widen(stored);
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
  }
  return kNoError;
}

std::wstring RootOf(char drive) { return {static_cast<wchar_t>(UpCaseDrive(drive)), L':', L'\\'}; }

char DriveOfRoot(std::string_view root) {
  if (root.size() < 2 || root.size() > 3 || root[1] != ':') return 0;
  if (root.size() == 3 && root[2] != '\\' && root[2] != '/') return 0;
  if (!IsLetter(static_cast<unsigned char>(root[0]))) return 0;
  return UpCaseDrive(root[0]);
}

std::wstring WithoutLongPrefix(std::wstring_view system_path) {
  if (system_path.starts_with(kLongUncPrefix)) {
    return L"\\\\" + std::wstring(system_path.substr(kLongUncPrefix.size()));
  }
  if (system_path.starts_with(kLongPrefix)) system_path.remove_prefix(kLongPrefix.size());
  return std::wstring(system_path);
}

bool ProgramPathOf(std::wstring_view system_path, WindowsPath& path) {
  const std::wstring plain = WithoutLongPrefix(system_path);
  if (plain.size() < 3 || !IsLetter(plain[0]) || plain[1] != L':' || plain[2] != L'\\')
    return false;
  path = WindowsPath{UpCaseDrive(static_cast<char>(plain[0])), {}};
  std::wstring_view rest = std::wstring_view(plain).substr(3);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find(L'\\'), rest.size());
    if (end > 0) path.Append(ToWindowsName(Narrow(rest.substr(0, end))));
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
  }
  return true;
}

bool IsDeviceName(std::string_view name) {
  // The device is named by what stands before the first full stop, trailing spaces aside.
  name = name.substr(0, std::min(name.find('.'), name.size()));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                               "NUL", "CONIN$", "CONOUT$"};
  for (const std::string_view device : kDevices) {
    if (EqualIgnoringCase(name, device)) return true;
  }
  if (name.size() < 4 || !(EqualIgnoringCase(name.substr(0, 3), "COM") ||
                           EqualIgnoringCase(name.substr(0, 3), "LPT"))) {
    return false;
  }
  // COM1 to COM9, and the superscript digits Windows reads as 1 to 3.
  const std::string_view number = name.substr(3);
  return (number.size() == 1 && number[0] >= '1' && number[0] <= '9') || number == "\xC2\xB9" ||
         number == "\xC2\xB2" || number == "\xC2\xB3";
}

}  // namespace tarvik
