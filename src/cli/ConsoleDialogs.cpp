#include "cli/ConsoleDialogs.h"

#include <utility>

namespace tarvik {

namespace {

// The start command's question whether to begin with the selected file rather than the first.
constexpr char kStartQuestion[] = "Начать с текущего файла ?";

}  // namespace

ConsoleDialogs::ConsoleDialogs(Console& console, std::optional<std::string> list_file)
    : console_(console), list_file_(std::move(list_file)) {}

std::optional<std::string> ConsoleDialogs::SaveFile(const SaveDialog&) { return list_file_; }

std::optional<std::string> ConsoleDialogs::InputBox(const std::string&, const std::string&,
                                                    const std::string&) {
  return std::nullopt;
}

void ConsoleDialogs::ProcessMessages() {
  if (pump_) pump_();
}

void ConsoleDialogs::MessageBeep(BeepSound) {}

bool ConsoleDialogs::ShowMessage(MessageKind kind, const std::string&, const std::string& text) {
  switch (kind) {
    case MessageKind::kConfirmation:
      return text != kStartQuestion;
    case MessageKind::kErrorConfirmation:
      // A problem file: its problem line has been printed already.
      return true;
    case MessageKind::kInformation:
      last_information_ = text;
      return true;
    case MessageKind::kError:
      console_.Notice(text);
      return true;
  }
  return true;
}

void ConsoleDialogs::RunModal(Window& window) { window.Hide(); }

}  // namespace tarvik
