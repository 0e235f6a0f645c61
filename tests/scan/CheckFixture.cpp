#include "CheckFixture.h"

#include <sstream>

#include "platform/ErrorCodes.h"

namespace tarvik {

namespace {

constexpr std::uint32_t kCaseSensitiveVolume =
    kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames;

}  // namespace

CheckTest::CheckTest() {
  UseDriveD({'D', drive_d_.path(), kDriveCdrom, "DISC", kCaseSensitiveVolume});
}

void CheckTest::UseDriveD(const DriveSpec& drive) {
  form_.reset();
  platform_.reset();
  posix_ = std::make_unique<PosixPlatform>(
      std::vector<DriveSpec>{drive,
                             {'E', drive_e_.path(), kDriveFixed, "WORK", kCaseSensitiveVolume}},
      "D:\\");
  platform_ = std::make_unique<CheckPlatform>(*posix_);
}

void CheckTest::Start(const std::string& current) {
  if (platform_->SetCurrentDirectory(current) != kNoError) FAIL() << "no directory " << current;
  form_ = std::make_unique<TForm1>(
      *platform_, dialogs_, SecondaryWindows{about_box_, list_error_, dlg_info_, dlg_net_connect_});
  form_->ShowMaximised();
  gauge1_.clear();
  form_->Gauge1.StateChanged.Subscribe([this] {
    const std::int64_t position = form_->Gauge1.Position();
    if (gauge1_.empty() || gauge1_.back() != position) gauge1_.push_back(position);
  });
}

void CheckTest::UseListFile() {
  form().CheckBox6.SetChecked(true);
  dialogs_.Enter("E:\\LIST.TXT");
}

std::vector<std::string> CheckTest::ListFileLines() const {
  std::vector<std::string> lines;
  std::istringstream bytes(drive_e_.ReadFile("LIST.TXT"));
  for (std::string line; std::getline(bytes, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> CheckTest::OfferedFiles() const {
  std::vector<std::string> files;
  for (std::string line : ListFileLines()) {
    if (line.rfind("D:\\", 0) != 0) continue;
    line.erase(0, 3);
    for (char& c : line) {
      if (c == '\\') c = '/';
    }
    files.push_back(line);
  }
  return files;
}

void CheckTest::AtPump(int n, ScriptedDialogs::Action action) {
  dialogs_.AtPump(dialogs_.Pumps() + n, std::move(action));
}

void CheckTest::EscAtPump(int n) {
  AtPump(n, [this] { form().N6.Click(); });
}

}  // namespace tarvik
