#include "cli/RunConnections.h"

#include <algorithm>

#include "net/Net.h"
#include "platform/ErrorCodes.h"
#include "platform/Pattern.h"
#include "util/Path.h"

namespace tarvik {

namespace {

bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }

}  // namespace

bool IsNetworkPath(const std::string& path) {
  return path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

RunConnections::~RunConnections() {
  for (const std::string& local : connected_) platform_.CancelConnection(local, true);
}

bool RunConnections::ConnectOne(const std::string& local, const std::string& remote,
                                const std::string& password) {
  const int code = NetConnect(platform_, remote, password, local);
  if (code == kNoError) {
    connected_.push_back(local);
    return true;
  }
  const std::string reason = ConnectFailureWords(platform_, local);
  console_.Error("tarvik-check: " + local + "=" + remote + ": " + NetErrorBoxText(code) +
                 (reason.empty() ? "" : ": " + reason));
  return false;
}

bool RunConnections::Connect(const std::vector<NetworkDrive>& drives, const std::string& password) {
  for (const NetworkDrive& drive : drives) {
    if (!ConnectOne(drive.local, drive.remote, password)) return false;
  }
  return true;
}

std::string RunConnections::DriveFormOf(const std::string& path, const std::string& password) {
  if (!IsNetworkPath(path)) return path;
  std::string windows_path = path;
  std::replace(windows_path.begin(), windows_path.end(), '/', '\\');
  // "\\COMPUTER\SHARE": both names, neither empty.
  const std::string share = DrivePart(windows_path);
  const std::size_t computer_end = share.find('\\', 2);
  if (computer_end == std::string::npos || computer_end == 2 || computer_end + 1 == share.size()) {
    return path;
  }
  const std::string rest =
      share.size() == windows_path.size() ? "\\" : windows_path.substr(share.size());
  const std::uint32_t drives = platform_.LogicalDrives();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if ((drives & (1u << (letter - 'A'))) == 0) continue;
    const std::string local = std::string(1, letter) + ":";
    std::string remote;
    if (platform_.DriveType(local + "\\") == kDriveRemote &&
        platform_.NetworkConnection(local, remote) == kNoError &&
        EqualIgnoringCase(remote, share)) {
      return local + rest;
    }
  }
  for (char letter = 'Z'; letter >= 'D'; --letter) {
    if ((drives & (1u << (letter - 'A'))) != 0) continue;
    const std::string local = std::string(1, letter) + ":";
    return ConnectOne(local, share, password) ? local + rest : std::string();
  }
  console_.Error("tarvik-check: " + share + ": no free drive letter to connect it to");
  return "";
}

}  // namespace tarvik
