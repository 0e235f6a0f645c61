// The check's throughput over a share on the loopback interface, beside smbclient's `get` of
// the same file from the same server, both measured in one run. The server is the tests' own
// smbd on 127.0.0.1; the file sits in its page cache after the first read, so both sides
// measure the network path, not the disk.
//
//   apt-get install smbclient       (the reference client; the program itself does not need it)
//   build/default/bench/net/tarvik_bench_share [MEGABYTES]     (default 128)
//
// Each round reads the file once with smbclient and once with the check at every block size;
// the table gives the median of the rounds in MB/s (10^6 bytes per second).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

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

double SecondsOf(const std::function<void()>& run) {
  const Clock::time_point start = Clock::now();
  run();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// smbclient's get of the file into /dev/null, as a guest; false when it failed.
bool SmbclientGet(const SmbServer& server) {
  const std::string command = "smbclient //127.0.0.1/DOCS -p " + std::to_string(server.port()) +
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

int Run(std::int64_t megabytes) {
  const std::int64_t size = megabytes * 1'000'000;
  SmbServer server;
  server.files().MakeFileOfSize(std::string(SmbServer::kGuestFolder) + "/" + kFileName, size);
  TempDir c_drive;
  PosixPlatform local({{'C', c_drive.path(), kDriveFixed, "SYSTEM", 0x3}}, "C:\\");
  SmbPlatform platform(local);
  if (NetConnect(platform, "\\\\127.0.0.1\\DOCS", "", "Z") != kNoError ||
      platform.SetCurrentDirectory("Z:\\") != kNoError) {
    std::fprintf(stderr, "cannot connect to the share\n");
    return 1;
  }
  // Warm the server's page cache and make sure the reference client is there.
  if (!SmbclientGet(server)) {
    std::fprintf(stderr, "smbclient failed; is it installed (apt-get install smbclient)?\n");
    return 1;
  }

  constexpr int kBlockCount = static_cast<int>(std::size(ScanEngine::kBlockSizes));
  std::vector<double> smbclient;
  std::map<int, std::vector<double>> check;
  for (int round = 0; round < kRounds; ++round) {
    smbclient.push_back(SecondsOf([&] { SmbclientGet(server); }));
    for (int block = 0; block < kBlockCount; ++block) {
      std::int64_t read = 0;
      check[block].push_back(SecondsOf([&] { read = CheckShare(platform, block); }));
      if (read != size) {
        std::fprintf(stderr, "the check read %lld bytes of %lld\n", static_cast<long long>(read),
                     static_cast<long long>(size));
        return 1;
      }
    }
  }

  const double mb = static_cast<double>(size) / 1e6;
  std::printf("file of %lld MB over \\\\127.0.0.1\\DOCS, median of %d rounds\n",
              static_cast<long long>(megabytes), kRounds);
  std::printf("%-28s %8.1f MB/s\n", "smbclient get", mb / Median(smbclient));
  for (int block = 0; block < kBlockCount; ++block) {
    const std::string name = "check, block " + std::to_string(ScanEngine::kBlockSizes[block]);
    std::printf("%-28s %8.1f MB/s\n", name.c_str(), mb / Median(check[block]));
  }
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
