#include "app/RunHandler.h"

#include "platform/IoError.h"

namespace tarvik {

void RunHandler(Dialogs& dialogs, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const IoError& error) {
    dialogs.ShowCommandError(error.what());
  }
}

}  // namespace tarvik
