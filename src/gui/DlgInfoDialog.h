#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "Runner.h"
#include "SecondaryDialog.h"
#include "scan/TDlgInfo.h"

namespace tarvik {

// The end-of-check notice, on top of every other window: the text centred in a frame along
// the top and the "Скрыть" button. Widgets are named after their controls (GroupBox1,
// Label1, Button1).
class DlgInfoDialog : public SecondaryDialog {
 public:
  DlgInfoDialog(TDlgInfo& DlgInfo, const Runner& run, QWidget* parent = nullptr);

 private:
  QGroupBox* group_box1_;
  QLabel* label1_;
  QPushButton* button1_;
};

}  // namespace tarvik
