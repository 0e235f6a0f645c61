#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "Runner.h"
#include "SecondaryDialog.h"
#include "net/TDlgNetConnect.h"

class QKeyEvent;

namespace tarvik {

// The network connection dialog: four labelled fields and OK / Cancel, shown modally by the
// connect command. Widgets are named after their controls (CB1, EditComp, ...); focus starts
// on OK and Tab goes on to Cancel and then down the fields.
class NetConnectDialog : public SecondaryDialog {
 public:
  NetConnectDialog(TDlgNetConnect& dialog, const Runner& run, QWidget* parent = nullptr);

 protected:
  // Esc is the Cancel button here.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* ok_button_;
  QPushButton* cancel_button_;
};

}  // namespace tarvik
