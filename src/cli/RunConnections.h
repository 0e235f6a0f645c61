#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "platform/Platform.h"

namespace tarvik {

// The letters a run connects to shares: those of --connect and the one a network PATH
// ("\\COMPUTER\SHARE\DIR") is reached through. Each is cancelled when the run ends, so that the
// run leaves the machine's letters as it found them (a Windows connection would outlive it).
class RunConnections {
 public:
  RunConnections(Platform& platform, Console& console) : platform_(platform), console_(console) {}
  ~RunConnections();
  RunConnections(const RunConnections&) = delete;
  RunConnections& operator=(const RunConnections&) = delete;

  // Connects the letters given, as the window's connect command does; false, with the text of
  // its error box, at the first that fails.
  bool Connect(const std::vector<NetworkDrive>& drives, const std::string& password);
  // A network path in drive form, through the letter that is connected to its share already or,
  // failing that, the last free letter connected to it now; any other path as it is. Empty,
  // after an error that names the share, when no letter can be connected.
  std::string DriveFormOf(const std::string& path, const std::string& password);

 private:
  bool ConnectOne(const std::string& local, const std::string& remote, const std::string& password);

  Platform& platform_;
  Console& console_;
  std::vector<std::string> connected_;
};

// Whether a path names a share ("\\COMPUTER\SHARE..." or "//COMPUTER/SHARE...").
bool IsNetworkPath(const std::string& path);

}  // namespace tarvik
