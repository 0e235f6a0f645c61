#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// A shared directory named the Windows way: "\\computer\share", optionally with a directory
// below the share ("\\computer\share\dir").
struct RemoteName {
  std::string computer;
  std::string share;
  std::vector<std::string> names;  // the directories below the share, if any
};

// Splits a remote name at "\" or "/"; false unless it starts with two separators and names
// both a computer and a share.
bool ParseRemoteName(std::string_view text, RemoteName& remote);

// The libsmbclient URL of the computer alone ("smb://computer/").
std::string ComputerUrl(const RemoteName& remote);
// The libsmbclient URL of a path given as names below the connected directory, in the
// program's form: a name is sent as stored, the characters Windows forbids mapped back
// (WindowsName.h), and percent-encoded, since the library decodes "%" escapes and reads "?"
// as the start of options.
std::string SmbUrl(const RemoteName& remote, const std::vector<std::string>& names);

// Whether two paths given as names below a share name the same entry: shares find names
// regardless of case.
bool SameRemoteNames(std::span<const std::string> a, std::span<const std::string> b);

}  // namespace tarvik
