#include "ui/Window.h"

namespace tarvik {

void Window::Show() {
  Assign(visible_, true);
  BringToFront();
}

void Window::ShowBeside(const Window& other) {
  neighbour_ = &other;
  Assign(visible_, true);
  PlaceBeside();
}

void Window::Hide() {
  if (modal_ && result_ == ModalResult::kNone) SetResult(ModalResult::kCancel);
  Assign(visible_, false);
}

void Window::BeginModal() {
  result_ = ModalResult::kNone;
  modal_ = true;
  visible_ = true;
  StateChanged();
  BringToFront();
}

void Window::EndModal() {
  if (result_ == ModalResult::kNone) result_ = ModalResult::kCancel;
  modal_ = false;
  visible_ = false;
  StateChanged();
}

}  // namespace tarvik
