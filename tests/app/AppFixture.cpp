#include "AppFixture.h"

namespace tarvik {

void TForm1Test::Start(const std::string& current,
                       const std::function<void(AppPlatform&)>& configure) {
  tmp_.MakeDir("APP");
  StartPlatform(current, {TempDrive('C', tmp_.path(), kDriveFixed, "SYSTEM"),
                          TempDrive('D', d_drive_.path(), kDriveFixed, "DATA")});
  if (configure) configure(*platform_);
  form_ = std::make_unique<TForm1>(
      *platform_, dialogs_, SecondaryWindows{about_box_, list_error_, dlg_info_, dlg_net_connect_});
  form_->ShowMaximised();
}

}  // namespace tarvik
