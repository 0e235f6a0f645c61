#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "Refresher.h"
#include "ui/Dialogs.h"

namespace tarvik {

// Dialogs with real Qt boxes. The program speaks Windows-form paths ("C:\APP\LIST.TXT"),
// the file dialog POSIX ones; the two translators given at construction convert between
// them and return an empty text for a path that no drive holds. The save dialog does not
// answer with such a path: it says so and opens again.
class QtDialogs : public Dialogs {
 public:
  using PathTranslator = std::function<std::string(const std::string&)>;

  QtDialogs(Refresher& refresher, PathTranslator posix_path_of, PathTranslator windows_path_of);

  // The Qt dialog that shows `window` when it is shown modally. Both live for the whole run.
  void RegisterWindow(Window& window, QDialog& dialog);

  std::optional<std::string> SaveFile(const SaveDialog& dialog) override;
  std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  void ProcessMessages() override;
  void MessageBeep(BeepSound sound) override;

 protected:
  bool ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) override;
  void RunModal(Window& window) override;

 private:
  Refresher& refresher_;
  PathTranslator posix_path_of_;
  PathTranslator windows_path_of_;
  std::map<const Window*, QDialog*> dialogs_;
};

}  // namespace tarvik
