#pragma once

#include <functional>
#include <optional>
#include <string>

#include "cli/Console.h"
#include "ui/Dialogs.h"

namespace tarvik {

// The answers of a check that nobody watches. The start command begins with the first file, a
// problem file does not stop the pass, and every question about stopping is answered OK: such
// questions come only after Ctrl+C. The save dialog of the list file chooses the file given on
// the command line. Error boxes become notices on the console; information boxes are kept for
// the summary.
class ConsoleDialogs : public Dialogs {
 public:
  // `list_file`: the list file's path in drive form, nothing when no list was asked for.
  ConsoleDialogs(Console& console, std::optional<std::string> list_file);

  // Runs at every message pump, where the engine looks at what happened meanwhile.
  void SetPump(std::function<void()> pump) { pump_ = std::move(pump); }
  // The text of the last information box, empty for none.
  const std::string& LastInformation() const { return last_information_; }

  std::optional<std::string> SaveFile(const SaveDialog& dialog) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  void ProcessMessages() override;
  void MessageBeep(BeepSound sound) override;

 protected:
  bool ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) override;
  void RunModal(Window& window) override;

 private:
  Console& console_;
  std::optional<std::string> list_file_;
  std::function<void()> pump_;
  std::string last_information_;
};

}  // namespace tarvik
