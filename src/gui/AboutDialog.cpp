#include "AboutDialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "Binders.h"

namespace tarvik {

namespace {

QLabel* BoundLabel(const Runner& run, Label& label, bool wrapped) {
  auto* widget = new QLabel;
  BindLabel(run, label, *widget);
  widget->setWordWrap(wrapped);
  if (wrapped) widget->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  return widget;
}

}  // namespace

AboutDialog::AboutDialog(TAboutBox& about, const Runner& run, QWidget* parent) : QDialog(parent) {
  setFixedSize(about.Layout.width, about.Layout.height);
  BindWindow(run, about, *this);

  auto* panel = new QFrame;
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  auto* grid = new QGridLayout(panel);

  auto* icon = new QLabel;
  icon->setPixmap(style()->standardIcon(QStyle::SP_DriveCDIcon).pixmap(57, 57));
  icon->setFixedSize(57, 73);
  grid->addWidget(icon, 0, 0, 3, 1);
  QLabel* product = BoundLabel(run, about.ProductName, false);
  QFont underlined = product->font();
  underlined.setUnderline(true);
  product->setFont(underlined);
  grid->addWidget(product, 0, 1);
  grid->addWidget(BoundLabel(run, about.Label1, false), 1, 1);
  grid->addWidget(BoundLabel(run, about.Version, false), 2, 1);
  grid->addWidget(BoundLabel(run, about.Copyright, false), 3, 0, 1, 2);
  grid->addWidget(BoundLabel(run, about.Contact, true), 4, 0, 1, 2);

  auto* inner = new QFrame;
  inner->setFrameShape(QFrame::Panel);
  inner->setFrameShadow(QFrame::Sunken);
  inner->setFixedSize(289, 49);
  auto* inner_layout = new QVBoxLayout(inner);
  inner_layout->setContentsMargins(2, 2, 2, 2);
  inner_layout->addWidget(BoundLabel(run, about.Label2, true));
  grid->addWidget(inner, 5, 0, 1, 2, Qt::AlignHCenter);
  QLabel* comments = BoundLabel(run, about.Comments, true);
  comments->setFixedWidth(289);
  grid->addWidget(comments, 6, 0, 1, 2, Qt::AlignHCenter);
  grid->addWidget(BoundLabel(run, about.Label5, true), 7, 0, 1, 2);

  auto* ok = new QPushButton;
  ok->setDefault(true);
  BindButton(run, about.OKButton, *ok);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel, 1);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

}  // namespace tarvik
