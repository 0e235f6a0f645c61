#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "history/CheckTable.h"
#include "history/HistoryStore.h"
#include "scan/TSpeedWindow.h"
#include "ui/Window.h"

namespace tarvik {

// The checks of the current drive's volume, newest first. Choosing one draws its speed curve
// under the current one in the read-speed window.
class THistoryWindow : public Window {
 public:
  // `samples` gives the speed samples of a check by its id.
  THistoryWindow(TSpeedWindow& speed_window,
                 std::function<std::vector<SpeedSample>(std::int64_t)> samples);

  // Shows `checks`, none chosen.
  void Fill(std::vector<CheckSummary> checks);
  const std::vector<std::array<std::string, kCheckColumns>>& Rows() const { return rows_; }
  // The user chose row `row` (-1 for none): its curve goes to the read-speed window.
  void Choose(int row);
  int Chosen() const { return chosen_; }

 private:
  TSpeedWindow& speed_window_;
  std::function<std::vector<SpeedSample>(std::int64_t)> samples_;
  std::vector<CheckSummary> checks_;
  std::vector<std::array<std::string, kCheckColumns>> rows_;
  int chosen_ = -1;
};

}  // namespace tarvik
