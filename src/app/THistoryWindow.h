#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "history/CheckTable.h"
#include "history/HistoryStore.h"
#include "scan/TSpeedWindow.h"
#include "ui/Button.h"
#include "ui/Dialogs.h"
#include "ui/Label.h"
#include "ui/Window.h"

namespace tarvik {

// The checks of one volume as a look at the history found them.
struct VolumeChecks {
  std::string root;   // where the volume is seen: "D:\"
  std::string label;  // its label, "" for none
  std::vector<CheckSummary> checks;
  // Why the history could not be read, "" when it was read or is not begun yet.
  std::string trouble;
};

// What the window asks of the history, always about the current drive's volume.
struct HistoryAccess {
  std::function<VolumeChecks()> checks;
  // The speed samples of a check by its id.
  std::function<std::vector<SpeedSample>(std::int64_t)> samples;
  // Accepts the changes found in the volume's files: their number, -1 when the history cannot
  // be changed.
  std::function<std::int64_t()> accept;
};

// The checks of the current drive's volume, newest first. Choosing one draws its speed curve
// under the current one in the read-speed window, which then stands beside this one.
class THistoryWindow : public Window {
 public:
  static constexpr char kCaption[] = "История проверок";
  static constexpr char kNoChecks[] = "Проверок этого диска ещё не записано";

  THistoryWindow(TSpeedWindow& speed_window, Dialogs& dialogs, HistoryAccess access);

  // Shows the current drive's volume anew: its drive and label in the title, its checks, none
  // chosen.
  void Refill();
  // The root of the volume shown, "" before the first Refill.
  const std::string& Root() const { return root_; }
  const std::vector<std::array<std::string, kCheckColumns>>& Rows() const { return rows_; }
  // The user chose row `row` (-1 for none): its curve goes to the read-speed window.
  void Choose(int row);
  int Chosen() const { return chosen_; }
  // Once the user agrees, the content of the volume's changed files becomes their known-good
  // content; the status line says how many files that was, and the table is refilled.
  void AcceptButtonClick();

  // Below the table: an empty or unreadable history, or what accepting the changes did.
  Label StatusLine;
  Button AcceptButton;

 private:
  TSpeedWindow& speed_window_;
  Dialogs& dialogs_;
  HistoryAccess access_;
  std::string root_;
  // Why the last look could not read the history, "" when it could.
  std::string trouble_;
  std::vector<CheckSummary> checks_;
  std::vector<std::array<std::string, kCheckColumns>> rows_;
  int chosen_ = -1;
};

}  // namespace tarvik
