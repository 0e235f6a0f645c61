#include "NetConnectDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

#include "Binders.h"

namespace tarvik {

namespace {

template <typename Widget>
Widget* Placed(Widget* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(name);
  widget->setGeometry(left, top, width, height);
  return widget;
}

}  // namespace

NetConnectDialog::NetConnectDialog(TDlgNetConnect& dialog, const Runner& run, QWidget* parent)
    : SecondaryDialog(dialog.Layout, parent) {
  const std::pair<Label*, int> labels[] = {
      {&dialog.Label1, 12}, {&dialog.Label2, 36}, {&dialog.Label3, 60}, {&dialog.Label4, 84}};
  // The fields begin where the widest caption ends in the font at hand, never inside it, and
  // keep their right edge; the window widens only should they become too narrow.
  constexpr int kFieldsLeft = 160, kFieldsRight = 305, kMinFieldWidth = 120;
  int fields_left = kFieldsLeft;
  for (auto [label, top] : labels) {
    auto* widget = Placed(new QLabel(this), "", 8, top, 150, 16);
    BindLabel(run, *label, *widget);
    widget->resize(widget->sizeHint().width(), 16);
    fields_left = std::max(fields_left, 8 + widget->width() + 4);
  }
  const int fields_right = std::max(kFieldsRight, fields_left + kMinFieldWidth);
  if (fields_right > kFieldsRight) setFixedWidth(width() + fields_right - kFieldsRight);
  const int field_width = fields_right - fields_left;
  auto* cb1 = Placed(new QComboBox(this), "CB1", fields_left, 8, 49, 21);
  auto* edit_comp = Placed(new QLineEdit(this), "EditComp", fields_left, 32, field_width, 21);
  auto* edit_net_disk =
      Placed(new QLineEdit(this), "EditNetDisk", fields_left, 56, field_width, 21);
  auto* edit_net_psw = Placed(new QLineEdit(this), "EditNetPSW", fields_left, 80, field_width, 21);
  edit_net_psw->setEchoMode(QLineEdit::Password);
  edit_net_psw->setStyleSheet("lineedit-password-character: 42");
  ok_button_ = Placed(new QPushButton(this), "OKBtn", 72, 108, 75, 25);
  cancel_button_ = Placed(new QPushButton(this), "CancelBtn", 166, 108, 75, 25);
  ok_button_->setDefault(true);

  BindComboBox(run, dialog.CB1, *cb1);
  BindEdit(run, dialog.EditComp, *edit_comp);
  BindEdit(run, dialog.EditNetDisk, *edit_net_disk);
  BindEdit(run, dialog.EditNetPSW, *edit_net_psw);
  BindButton(run, dialog.OKBtn, *ok_button_);
  BindButton(run, dialog.CancelBtn, *cancel_button_);
  BindWindow(run, dialog, *this);

  QWidget::setTabOrder(ok_button_, cancel_button_);
  QWidget::setTabOrder(cancel_button_, cb1);
  QWidget::setTabOrder(cb1, edit_comp);
  QWidget::setTabOrder(edit_comp, edit_net_disk);
  QWidget::setTabOrder(edit_net_disk, edit_net_psw);
  ok_button_->setFocus();
}

void NetConnectDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    cancel_button_->click();
    return;
  }
  SecondaryDialog::keyPressEvent(event);
}

}  // namespace tarvik
