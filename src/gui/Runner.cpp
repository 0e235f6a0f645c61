#include "Runner.h"

#include "app/RunHandler.h"

namespace tarvik {

void Runner::operator()(const std::function<void()>& handler) const {
  RunHandler(dialogs_, handler);
  refresher_.RefreshAll();
}

}  // namespace tarvik
