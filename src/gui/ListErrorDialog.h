#pragma once

#include <QPlainTextEdit>
#include <QPushButton>

#include "Runner.h"
#include "SecondaryDialog.h"
#include "scan/TListError.h"

namespace tarvik {

// The problem-files window: the list in a word-wrapping text box the user may edit, and the
// "Скрыть" button. Widgets are named after their controls (Memo1, OKButton).
class ListErrorDialog : public SecondaryDialog {
 public:
  ListErrorDialog(TListError& ListError, const Runner& run, QWidget* parent = nullptr);

 private:
  QPlainTextEdit* memo1_;
  QPushButton* ok_button_;
};

}  // namespace tarvik
