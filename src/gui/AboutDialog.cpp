#include "AboutDialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "Binders.h"
#include "ProgramIcon.h"
#include "SecondaryDialog.h"

namespace tarvik {

namespace {

QLabel* BoundLabel(const Runner& run, Label& label, Qt::Alignment alignment = Qt::AlignLeft) {
  auto* widget = new QLabel;
  BindLabel(run, label, *widget);
  widget->setWordWrap(true);
  widget->setAlignment(alignment | Qt::AlignVCenter);
  return widget;
}

QFrame* Panel(QFrame::Shadow shadow) {
  auto* panel = new QFrame;
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(shadow);
  return panel;
}

}  // namespace

AboutDialog::AboutDialog(TAboutBox& about, const Runner& run, QWidget* parent) : QDialog(parent) {
  setFont(DesignFont());
  setWindowIcon(ProgramIcon());
  BindWindow(run, about, *this);

  QFrame* panel = Panel(QFrame::Raised);
  panel->setFixedWidth(305);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(8, 8, 8, 8);
  grid->setVerticalSpacing(4);

  auto* icon = new QLabel;
  icon->setPixmap(style()->standardIcon(QStyle::SP_DriveCDIcon).pixmap(57, 57));
  icon->setFixedSize(57, 73);
  grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
  QLabel* product = BoundLabel(run, about.ProductName);
  QFont underlined = product->font();
  underlined.setUnderline(true);
  product->setFont(underlined);
  grid->addWidget(product, 0, 1);
  grid->addWidget(BoundLabel(run, about.Label1), 1, 1);
  grid->addWidget(BoundLabel(run, about.Version), 2, 1);
  grid->addWidget(BoundLabel(run, about.Copyright), 3, 0, 1, 2);
  grid->addWidget(BoundLabel(run, about.Contact), 4, 0, 1, 2);

  QFrame* inner = Panel(QFrame::Sunken);
  inner->setFixedWidth(289);
  auto* inner_layout = new QVBoxLayout(inner);
  inner_layout->setContentsMargins(2, 2, 2, 2);
  inner_layout->addWidget(BoundLabel(run, about.Label2, Qt::AlignHCenter));
  grid->addWidget(inner, 5, 0, 1, 2, Qt::AlignHCenter);
  QLabel* comments = BoundLabel(run, about.Comments, Qt::AlignHCenter);
  comments->setFixedWidth(289);
  grid->addWidget(comments, 6, 0, 1, 2, Qt::AlignHCenter);
  grid->addWidget(BoundLabel(run, about.Label5, Qt::AlignHCenter), 7, 0, 1, 2);

  auto* ok = new QPushButton;
  ok->setDefault(true);
  BindButton(run, about.OKButton, *ok);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addWidget(panel, 0, Qt::AlignHCenter);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  // The designed 322 x 330 pixels, grown where this system's font needs more room, so that
  // no text is cut off.
  setFixedSize(about.Layout.width, std::max(about.Layout.height, sizeHint().height()));
}

}  // namespace tarvik
