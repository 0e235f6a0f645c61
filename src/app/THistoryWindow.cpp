#include "app/THistoryWindow.h"

#include <utility>

namespace tarvik {

THistoryWindow::THistoryWindow(TSpeedWindow& speed_window,
                               std::function<std::vector<SpeedSample>(std::int64_t)> samples)
    : speed_window_(speed_window), samples_(std::move(samples)) {
  SetCaption("История проверок");
  Layout = {.width = 760, .height = 360, .centred = true};
}

void THistoryWindow::Fill(std::vector<CheckSummary> checks) {
  checks_ = std::move(checks);
  rows_.clear();
  for (const CheckSummary& check : checks_) rows_.push_back(CheckCells(check));
  chosen_ = -1;
  StateChanged();
}

void THistoryWindow::Choose(int row) {
  const bool valid = row >= 0 && row < static_cast<int>(checks_.size());
  chosen_ = valid ? row : -1;
  speed_window_.SetEarlier(valid ? samples_(checks_[row].id) : std::vector<SpeedSample>());
  if (valid) speed_window_.Show();
}

}  // namespace tarvik
