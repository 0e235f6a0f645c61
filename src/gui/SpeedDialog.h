#pragma once

#include <QListWidget>
#include <QTimer>
#include <cstdint>

#include "Runner.h"
#include "SecondaryDialog.h"
#include "SpeedGraphWidget.h"
#include "scan/TSpeedWindow.h"

namespace tarvik {

// The read-speed window: the graph above, the slowest files and those slower than at the
// volume's last check below it.
//
// Samples arrive up to a thousand times a second on a fast medium, too often to announce
// each one, so nothing is announced: while the window is shown, a timer looks four times a
// second whether the samples changed and repaints then. The check itself pays nothing for it.
class SpeedDialog : public SecondaryDialog {
 public:
  SpeedDialog(TSpeedWindow& model, const Runner& run, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Refresh();

  static constexpr int kRefreshMs = 250;

  TSpeedWindow& model_;
  SpeedGraphWidget* graph_;
  QListWidget* slowest_;
  QListWidget* slower_;
  QTimer timer_;
  std::uint64_t shown_revision_ = 0;
};

}  // namespace tarvik
