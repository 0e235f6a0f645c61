#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/Dialogs.h"

namespace tarvik {

enum class DialogKind {
  kError,
  kInformation,
  kConfirmation,
  kErrorConfirmation,
  kSaveFile,
  kInputBox,
  kModal,
  kBeep,
  kStopBeep,
};

// One entry of the log of what the program showed.
struct ShownDialog {
  DialogKind kind;
  std::string caption;    // box caption, dialog title, window caption
  std::string text;       // box text, input prompt
  std::string value;      // input box prefill, proposed file name
  std::string directory;  // initial directory of a save dialog
};

// Dialogs for tests: answers come from a script, everything shown is logged, and actions can
// be run at chosen message pumps, as if the user had pressed a key while a command ran.
//
// Only dialogs that ask something take an answer from the script: confirmations (also the
// error boxes with OK and Cancel), save
// dialogs, input boxes and modal windows. Error and information boxes have nothing to decide
// and are only logged. A question that finds the script empty counts as closed by the user
// (Cancel) and is counted in Unanswered().
class ScriptedDialogs : public Dialogs {
 public:
  using Action = std::function<void()>;

  // Answers, taken in order. `while_open` runs while the dialog is shown, before the answer
  // is given: a test fills in a modal window's fields there, or presses its buttons (a result
  // the window receives that way wins over the scripted one).
  ScriptedDialogs& Ok(Action while_open = {});
  ScriptedDialogs& Cancel(Action while_open = {});
  // The path chosen in a save dialog or the text typed into an input box, confirmed with OK.
  // Text beyond what the input box accepts is cut off, as the box would.
  ScriptedDialogs& Enter(std::string text);

  // Runs `action` inside the pump-th call of ProcessMessages (counting from 1 since the
  // object was made). Several actions may share a pump; they run in the order added.
  void AtPump(int pump, Action action);

  const std::vector<ShownDialog>& Log() const { return log_; }
  // The texts (captions for modal windows) of the logged entries of one kind, in order.
  std::vector<std::string> Texts(DialogKind kind) const;
  int Count(DialogKind kind) const;
  int Pumps() const { return pumps_; }
  std::size_t PendingAnswers() const { return answers_.size(); }
  int Unanswered() const { return unanswered_; }

  std::optional<std::string> SaveFile(const SaveDialog& dialog) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  void ProcessMessages() override;
  void MessageBeep(BeepSound sound) override;

 protected:
  bool ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) override;
  void RunModal(Window& window) override;

 private:
  struct Answer {
    bool ok = false;
    std::string text;
    Action while_open;
  };

  void Record(DialogKind kind, std::string caption = {}, std::string text = {},
              std::string value = {}, std::string directory = {});
  // The next answer with its action already run; a Cancel when the script is empty.
  Answer Take();

  std::deque<Answer> answers_;
  std::map<int, std::vector<Action>> pump_actions_;
  std::vector<ShownDialog> log_;
  int pumps_ = 0;
  int unanswered_ = 0;
};

}  // namespace tarvik
