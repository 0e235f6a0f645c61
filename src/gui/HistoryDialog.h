#pragma once

#include <QTableWidget>

#include "Runner.h"
#include "SecondaryDialog.h"
#include "app/THistoryWindow.h"

namespace tarvik {

// The history window: a table of the volume's checks, newest first, with its status line and
// the button that accepts the changes below; choosing a row draws its curve in the read-speed
// window beside it.
class HistoryDialog : public SecondaryDialog {
 public:
  HistoryDialog(THistoryWindow& model, const Runner& run, QWidget* parent = nullptr);

 private:
  QTableWidget* table_;
};

}  // namespace tarvik
