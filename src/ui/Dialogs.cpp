#include "ui/Dialogs.h"

#include "ui/ApplicationTitle.h"

namespace tarvik {

const char* MessageCaption(MessageKind kind) {
  switch (kind) {
    case MessageKind::kError:
    case MessageKind::kErrorConfirmation:
      return "Error";
    case MessageKind::kInformation:
      return "Information";
    case MessageKind::kConfirmation:
      return "Confirm";
  }
  return "";
}

bool Dialogs::MessageBox(MessageKind kind, const std::string& text) {
  return ShowMessage(kind, MessageCaption(kind), text);
}

void Dialogs::ShowCommandError(const std::string& error_text) {
  ShowMessage(MessageKind::kError, ApplicationTitle::Get().Text(), error_text + ".");
}

ModalResult Dialogs::ShowModal(Window& window) {
  window.BeginModal();
  try {
    RunModal(window);
  } catch (...) {
    // An error that ends the command also closes the window it was shown in.
    window.EndModal();
    throw;
  }
  window.EndModal();
  return window.Result();
}

}  // namespace tarvik
