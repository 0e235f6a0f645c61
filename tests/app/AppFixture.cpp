#include "AppFixture.h"

namespace tarvik {

void MainWindowTest::Start(const std::string& current,
                           const std::function<void(AppPlatform&)>& configure) {
  tmp_.MakeDir("APP");
  platform_ = std::make_unique<AppPlatform>(
      std::vector<DriveSpec>{{'C', tmp_.path(), kDriveFixed, "SYSTEM",
                              kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames},
                             {'D', d_drive_.path(), kDriveFixed, "DATA",
                              kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames}},
      current);
  if (configure) configure(*platform_);
  form_ = std::make_unique<TForm1>(
      *platform_, dialogs_, SecondaryWindows{about_box_, list_error_, dlg_info_, dlg_net_connect_});
  form_->ShowMaximised();
}

}  // namespace tarvik
