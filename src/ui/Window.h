#pragma once

#include <string>
#include <utility>

#include "ui/Observable.h"

namespace tarvik {

// How a modal showing of a window ended.
enum class ModalResult { kNone, kOk, kCancel };

// Where a window appears and how it may be sized; fixed by each window's design.
struct WindowLayout {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool client_size = false;  // width and height are those of the client area
  bool centred = false;      // placed at the centre of the screen; left and top are unused
  bool maximised = false;
  bool fixed_size = false;  // a dialog frame: no resizing, no minimise or maximise
  bool stay_on_top = false;

  // A dialog of a fixed client size, centred on the screen.
  static WindowLayout CentredDialog(int client_width, int client_height) {
    return {.width = client_width,
            .height = client_height,
            .client_size = true,
            .centred = true,
            .fixed_size = true};
  }
};

// A window model's own state. Windows live for the whole run and are only shown and
// hidden; showing modally goes through Dialogs::ShowModal.
class Window : public Observable {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Assign(caption_, std::move(caption)); }

  bool Visible() const { return visible_; }
  // Makes the window visible and asks for it to come to the front, also when it already is
  // visible.
  void Show();
  // Makes the window visible next to `other` without covering it or taking the keyboard from
  // it: the front end moves the window beside `other` when it is hidden or lies over it.
  void ShowBeside(const Window& other);
  // The window ShowBeside last named; null before.
  const Window* Neighbour() const { return neighbour_; }
  // Also what the user's closing of a window does. Hiding a modal window ends its showing,
  // with kCancel unless a result is set, rather than leave an invisible window waiting for an
  // answer.
  void Hide();

  bool Modal() const { return modal_; }
  // Setting a result other than kNone ends a modal showing.
  ModalResult Result() const { return result_; }
  void SetResult(ModalResult result) { Assign(result_, result); }

  WindowLayout Layout;

  // Fired by Show(): the window is to be raised above the program's other windows.
  Signal BringToFront;
  // Fired by ShowBeside(): the window is to be shown beside Neighbour().
  Signal PlaceBeside;

 private:
  friend class Dialogs;
  void BeginModal();
  void EndModal();

  std::string caption_;
  const Window* neighbour_ = nullptr;
  bool visible_ = false;
  bool modal_ = false;
  ModalResult result_ = ModalResult::kNone;
};

}  // namespace tarvik
