#include "platform/smb/RemoteName.h"

#include <algorithm>

#include "platform/Pattern.h"
#include "platform/WindowsName.h"

namespace tarvik {

namespace {

bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }

void AppendEncoded(std::string& url, std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : name) {
    const auto byte = static_cast<unsigned char>(ch);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || byte >= 0x80 || ch == '-' || ch == '.' ||
                       ch == '_' || ch == '~';
    if (plain) {
      url += ch;
    } else {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 0xF];
    }
  }
}

}  // namespace

bool ParseRemoteName(std::string_view text, RemoteName& remote) {
  if (text.size() < 2 || !IsSeparator(text[0]) || !IsSeparator(text[1])) return false;
  text.remove_prefix(2);
  std::vector<std::string> parts;
  while (!text.empty()) {
    std::size_t end = 0;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    if (end > 0) parts.emplace_back(text.substr(0, end));
    text.remove_prefix(end < text.size() ? end + 1 : end);
  }
  if (parts.size() < 2) return false;
  remote.computer = parts[0];
  remote.share = parts[1];
  remote.names.assign(parts.begin() + 2, parts.end());
  return true;
}

std::string ComputerUrl(const RemoteName& remote) { return "smb://" + remote.computer + "/"; }

std::string SmbUrl(const RemoteName& remote, const std::vector<std::string>& names) {
  std::string url = "smb://" + remote.computer + "/";
  AppendEncoded(url, remote.share);
  for (const std::vector<std::string>* list : {&remote.names, &names}) {
    for (const std::string& name : *list) {
      url += '/';
      // A name that no file can be reached by goes as it is, for the server to refuse.
      std::string stored;
      AppendEncoded(url, ToPosixName(name, stored) ? stored : name);
    }
  }
  return url;
}

bool SameRemoteNames(std::span<const std::string> a, std::span<const std::string> b) {
  return std::equal(
      a.begin(), a.end(), b.begin(), b.end(),
      [](const std::string& x, const std::string& y) { return EqualIgnoringCase(x, y); });
}

}  // namespace tarvik
