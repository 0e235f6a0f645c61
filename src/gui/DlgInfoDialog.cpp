#include "DlgInfoDialog.h"

#include <QVBoxLayout>

#include "Binders.h"

namespace tarvik {

DlgInfoDialog::DlgInfoDialog(TDlgInfo& DlgInfo, const Runner& run, QWidget* parent)
    : SecondaryDialog(DlgInfo.Layout, parent),
      group_box1_(new QGroupBox(this)),
      label1_(new QLabel(group_box1_)),
      button1_(new QPushButton(this)) {
  group_box1_->setObjectName("GroupBox1");
  group_box1_->setGeometry(0, 0, DlgInfo.Layout.width, 41);
  label1_->setObjectName("Label1");
  label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  auto* inside = new QVBoxLayout(group_box1_);
  inside->addWidget(label1_);
  button1_->setObjectName("Button1");
  button1_->setGeometry(120, 48, 75, 25);

  BindGroupBox(run, DlgInfo.GroupBox1, *group_box1_);
  BindLabel(run, DlgInfo.Label1, *label1_);
  BindButton(run, DlgInfo.Button1, *button1_);
  BindWindow(run, DlgInfo, *this);
}

}  // namespace tarvik
