#include "support/ScriptedDialogs.h"

#include <utility>

#include "util/Utf8.h"

namespace tarvik {
namespace {

// The text as far as its first `max_chars` characters.
std::string CutToLength(const std::string& text, std::size_t max_chars) {
  std::size_t pos = 0;
  for (std::size_t chars = 0; chars < max_chars && pos < text.size(); ++chars) {
    DecodeUtf8(text, pos);
  }
  return text.substr(0, pos);
}

}  // namespace

ScriptedDialogs& ScriptedDialogs::Ok(Action while_open) {
  answers_.push_back({true, {}, std::move(while_open)});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::Cancel(Action while_open) {
  answers_.push_back({false, {}, std::move(while_open)});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::Enter(std::string text) {
  answers_.push_back({true, std::move(text), {}});
  return *this;
}

void ScriptedDialogs::AtPump(int pump, Action action) {
  pump_actions_[pump].push_back(std::move(action));
}

std::vector<std::string> ScriptedDialogs::Texts(DialogKind kind) const {
  std::vector<std::string> texts;
  for (const auto& shown : log_) {
    if (shown.kind != kind) continue;
    texts.push_back(kind == DialogKind::kModal ? shown.caption : shown.text);
  }
  return texts;
}

int ScriptedDialogs::Count(DialogKind kind) const {
  int count = 0;
  for (const auto& shown : log_) count += shown.kind == kind;
  return count;
}

std::optional<std::string> ScriptedDialogs::SaveFile(const SaveDialog& dialog) {
  Record(DialogKind::kSaveFile, dialog.title, {}, dialog.file_name, dialog.initial_dir);
  Answer answer = Take();
  if (!answer.ok) return std::nullopt;
  return answer.text;
}

std::optional<std::string> ScriptedDialogs::InputBox(const std::string& caption,
                                                     const std::string& prompt,
                                                     const std::string& value) {
  Record(DialogKind::kInputBox, caption, prompt, value);
  Answer answer = Take();
  if (!answer.ok) return std::nullopt;
  return CutToLength(answer.text, kInputBoxMaxLength);
}

void ScriptedDialogs::ProcessMessages() {
  const auto found = pump_actions_.find(++pumps_);
  if (found == pump_actions_.end()) return;
  // Taken out first: an action may pump again or add actions of its own.
  const std::vector<Action> actions = std::move(found->second);
  pump_actions_.erase(found);
  for (const auto& action : actions) action();
}

void ScriptedDialogs::MessageBeep(BeepSound sound) {
  Record(sound == BeepSound::kStop ? DialogKind::kStopBeep : DialogKind::kBeep);
}

bool ScriptedDialogs::ShowMessage(MessageKind kind, const std::string& caption,
                                  const std::string& text) {
  switch (kind) {
    case MessageKind::kError:
      Record(DialogKind::kError, caption, text);
      return true;
    case MessageKind::kInformation:
      Record(DialogKind::kInformation, caption, text);
      return true;
    case MessageKind::kConfirmation:
      Record(DialogKind::kConfirmation, caption, text);
      return Take().ok;
    case MessageKind::kErrorConfirmation:
      Record(DialogKind::kErrorConfirmation, caption, text);
      return Take().ok;
  }
  return false;
}

void ScriptedDialogs::RunModal(Window& window) {
  Record(DialogKind::kModal, window.Caption());
  const Answer answer = Take();
  if (window.Result() == ModalResult::kNone) {
    window.SetResult(answer.ok ? ModalResult::kOk : ModalResult::kCancel);
  }
}

void ScriptedDialogs::Record(DialogKind kind, std::string caption, std::string text,
                             std::string value, std::string directory) {
  log_.push_back(
      {kind, std::move(caption), std::move(text), std::move(value), std::move(directory)});
}

ScriptedDialogs::Answer ScriptedDialogs::Take() {
  if (answers_.empty()) {
    ++unanswered_;
    return {};
  }
  Answer answer = std::move(answers_.front());
  answers_.pop_front();
  if (answer.while_open) answer.while_open();
  return answer;
}

}  // namespace tarvik
