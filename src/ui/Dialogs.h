#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "ui/Window.h"

namespace tarvik {

// Message boxes come in four kinds, each with its own icon, caption and buttons: an error
// ("Error", "OK"), an information ("Information", "OK"), a confirmation ("Confirm", "OK" and
// "Cancel") and an error that asks whether to go on ("Error", "OK" and "Cancel").
enum class MessageKind { kError, kInformation, kConfirmation, kErrorConfirmation };

const char* MessageCaption(MessageKind kind);

enum class BeepSound {
  kDefault,  // the default message sound
  kStop,     // the error (stop) sound
};

// The most characters the input box lets the user type.
inline constexpr std::size_t kInputBoxMaxLength = 255;

struct FileFilter {
  std::string name;     // "Текстовые файлы"
  std::string pattern;  // "*.TXT"
};

// The settings of a file dialog, kept by the window that shows it: a save dialog, or with
// `open_existing` one that picks an existing file to read.
struct SaveDialog {
  std::string title;
  std::vector<FileFilter> filters;  // the first one is selected when the dialog opens
  std::string default_extension;    // appended to a typed name that has none
  bool overwrite_prompt = false;    // ask before an existing file is chosen
  bool hide_read_only = false;      // do not offer the "open read-only" box
  bool resizable = false;
  std::string initial_dir;
  std::string file_name;  // proposed to the user
  bool open_existing = false;
};

// Everything modal or outside the windows: the front end implements it with real dialogs,
// tests with a script of answers. Long commands call ProcessMessages at fixed points to keep
// the program responsive; anything the user does meanwhile runs inside that call.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A modal box captioned after its kind. True when the user pressed OK; closing the box
  // counts as Cancel.
  bool MessageBox(MessageKind kind, const std::string& text);
  // The box of a command that ended with an error: an error box captioned with the current
  // application title, whose text is the error's text followed by a full stop.
  void ShowCommandError(const std::string& error_text);

  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> SaveFile(const SaveDialog& dialog) = 0;
  // A one-line input box with OK and Cancel, its field prefilled with `value`. The text
  // entered, or nothing when the user cancelled.
  virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& value) = 0;
  // Shows the window modally and returns once its result is set or it is closed; the window
  // is hidden again afterwards. Closing it counts as kCancel.
  ModalResult ShowModal(Window& window);

  virtual void ProcessMessages() = 0;
  virtual void MessageBeep(BeepSound sound) = 0;

 protected:
  virtual bool ShowMessage(MessageKind kind, const std::string& caption,
                           const std::string& text) = 0;
  // Runs until the window has a result; Window::Hide sets kCancel when the user closes it.
  virtual void RunModal(Window& window) = 0;
};

}  // namespace tarvik
