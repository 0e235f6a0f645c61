// The check's throughput over a share on the loopback interface, beside smbclient's `get` of
// the same file from the same server, both measured in one run. The server is the tests' own
// smbd on 127.0.0.1; the file sits in its page cache after the first read, so both sides
// measure the network path, not the disk.
//
//   apt-get install smbclient       (the reference client; the program itself does not need it)
//   build/default/bench/net/tarvik_bench_share [MEGABYTES]     (default 128)
//
// Each round reads the file once with smbclient and once with the check at every block size;
// a table gives the median of the rounds in MB/s (10^6 bytes per second) and each speed's
// ratio to smbclient's. The first table is the plain loopback, where a round trip costs
// microseconds. The second is the same server through a relay that the bench starts on
// loopback and that holds every chunk 0.25 ms in each direction: a round trip of 0.5 ms, as
// on a local network, where a client that waits for each answer before it asks again is
// bound by the round trips rather than by the bytes. Both clients go through the same relay.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../Median.h"
#include "DelayRelay.h"
#include "app/TApplication.h"
#include "net/Net.h"
#include "platform/ErrorCodes.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/smb/SmbPlatform.h"
#include "scan/ScanEngine.h"
#include "support/ScriptedDialogs.h"
#include "support/SmbServer.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 3;
constexpr char kFileName[] = "large.bin";
constexpr std::chrono::microseconds kRelayDelay(250);
constexpr int kBlockCount = static_cast<int>(std::size(ScanEngine::kBlockSizes));

// Seconds of each round: smbclient's, and the check's by block size index.
struct Timings {
  std::vector<double> smbclient;
  std::map<int, std::vector<double>> check;
};

double SecondsOf(const std::function<void()>& run) {
  const Clock::time_point start = Clock::now();
  run();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// smbclient's get of the file into /dev/null, as a guest; false when it failed.
bool SmbclientGet(int port) {
  const std::string command = "smbclient //127.0.0.1/DOCS -p " + std::to_string(port) +
                              " -N -c 'get " + kFileName + " /dev/null' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// The main window's check of the share's root with one block size; the bytes it read.
std::int64_t CheckShare(Platform& platform, int block_index) {
  ScriptedDialogs dialogs;
  TApplication application(platform, dialogs);
  TForm1& form = application.Form1;
  application.Run();
  form.CheckBoxMode.SetChecked(false);
  form.CheckBox6.SetChecked(false);
  form.CBSizeBlock.SetItemIndex(block_index);
  dialogs.Cancel();  // begin with the first file
  form.BitBtn1Click();
  return form.Scan.BytesRead;
}

// The letter Z connected to the share at the port `platform` was made for, as the current
// directory; false when that failed.
bool ConnectShare(Platform& platform) {
  return NetConnect(platform, "\\\\127.0.0.1\\DOCS", "", "Z") == kNoError &&
         platform.SetCurrentDirectory("Z:\\") == kNoError;
}

// kRounds rounds of smbclient through `port` and the check through `platform`, which reaches
// the server at the same port; false when a check did not read the whole file.
bool Measure(int port, Platform& platform, std::int64_t size, Timings& timings) {
  for (int round = 0; round < kRounds; ++round) {
    timings.smbclient.push_back(SecondsOf([&] { SmbclientGet(port); }));
    for (int block = 0; block < kBlockCount; ++block) {
      std::int64_t read = 0;
      timings.check[block].push_back(SecondsOf([&] { read = CheckShare(platform, block); }));
      if (read != size) {
        std::fprintf(stderr, "the check read %lld bytes of %lld\n", static_cast<long long>(read),
                     static_cast<long long>(size));
        return false;
      }
    }
  }
  return true;
}

void PrintTable(const char* title, std::int64_t size, const Timings& timings) {
  const double mb = static_cast<double>(size) / 1e6;
  const double reference = mb / Median(timings.smbclient);
  std::printf("%s, median of %d rounds\n", title, kRounds);
  std::printf("%-28s %8.1f MB/s\n", "smbclient get", reference);
  for (int block = 0; block < kBlockCount; ++block) {
    const std::string name = "check, block " + std::to_string(ScanEngine::kBlockSizes[block]);
    const double speed = mb / Median(timings.check.at(block));
    std::printf("%-28s %8.1f MB/s   ratio %.2f\n", name.c_str(), speed, speed / reference);
  }
}

int Run(std::int64_t megabytes) {
  const std::int64_t size = megabytes * 1'000'000;
  SmbServer server;
  server.files().MakeFileOfSize(std::string(SmbServer::kGuestFolder) + "/" + kFileName, size);
  TempDir c_drive;
  PosixPlatform local({{'C', c_drive.path(), kDriveFixed, "SYSTEM", 0x3}}, "C:\\");
  SmbPlatform platform(local);
  // A platform takes the server's port from the setting when it is made, so the one that
  // goes through the relay is made after the setting names the relay.
  DelayRelay relay(server.port(), kRelayDelay);
  setenv("TARVIK_SMB_PORT", std::to_string(relay.port()).c_str(), 1);
  SmbPlatform relayed(local);
  if (!ConnectShare(platform) || !ConnectShare(relayed)) {
    std::fprintf(stderr, "cannot connect to the share\n");
    return 1;
  }
  // Warm the server's page cache and make sure the reference client is there.
  if (!SmbclientGet(server.port())) {
    std::fprintf(stderr, "smbclient failed; is it installed (apt-get install smbclient)?\n");
    return 1;
  }

  Timings direct;
  Timings delayed;
  if (!Measure(server.port(), platform, size, direct) ||
      !Measure(relay.port(), relayed, size, delayed)) {
    return 1;
  }
  const std::string file = "file of " + std::to_string(megabytes) + " MB over \\\\127.0.0.1\\DOCS";
  PrintTable(file.c_str(), size, direct);
  std::printf("\n");
  PrintTable((file + " through a 0.5 ms relay").c_str(), size, delayed);
  return 0;
}

}  // namespace
}  // namespace tarvik

int main(int argc, char* argv[]) {
  const long long megabytes = argc > 1 ? std::atoll(argv[1]) : 128;
  if (megabytes <= 0) {
    std::fprintf(stderr, "usage: %s [MEGABYTES]\n", argv[0]);
    return 2;
  }
  return tarvik::Run(megabytes);
}
