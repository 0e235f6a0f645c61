#include "MainWindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QSocketNotifier>
#include <QSplitter>
#include <QVBoxLayout>

#include "Binders.h"
#include "ListBinders.h"
#include "PercentBarWidget.h"
#include "ProgramIcon.h"
#include "SecondaryDialog.h"
#include "ui/ApplicationTitle.h"

namespace tarvik {

namespace {

QSplitter* NavySplitter(Qt::Orientation orientation) {
  auto* splitter = new QSplitter(orientation);
  splitter->setHandleWidth(3);
  splitter->setChildrenCollapsible(false);
  splitter->setStyleSheet("QSplitter::handle { background: navy; }");
  return splitter;
}

// Widgets of the window take no context menu of their own, so that a right click anywhere
// reaches the window's menu.
template <typename W>
W* Plain(W* widget) {
  widget->setContextMenuPolicy(Qt::NoContextMenu);
  return widget;
}

}  // namespace

MainWindow::MainWindow(TForm1& form, const Runner& run)
    : form_(form), run_(run), focus_(*this, run) {
  setFont(DesignFont());
  setWindowIcon(ProgramIcon());
  setGeometry(form.Layout.left, form.Layout.top, form.Layout.width, form.Layout.height);

  auto* splitter2 = NavySplitter(Qt::Vertical);
  splitter2->addWidget(BuildTopBand());
  splitter2->addWidget(BuildFileGroup());
  splitter2->setStretchFactor(1, 1);
  splitter2->setSizes({113, 400});
  setCentralWidget(splitter2);
  BuildMenus();

  // The application title (the progress of a check) follows the window's own caption here
  // only; Qt's application display name would add it to every window's and box's title.
  const auto show_title = [this] {
    const std::string& title = ApplicationTitle::Get().Text();
    setWindowTitle(ToQt(title.empty() ? form_.Caption() : form_.Caption() + " — " + title));
  };
  run_.refresher().Bind(form.StateChanged, show_title);
  title_binding_ = run_.refresher().Bind(ApplicationTitle::Get().StateChanged, show_title);

  if (const int watch = form.DriveWatchDescriptor(); watch >= 0) {
    auto* notifier = new QSocketNotifier(watch, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this,
            [this] { run_([this] { form_.DriveWatchReady(); }); });
  }
}

MainWindow::~MainWindow() { ApplicationTitle::Get().StateChanged.Unsubscribe(title_binding_); }

QWidget* MainWindow::BuildTopBand() {
  auto* group_box4 = new QGroupBox;
  BindGroupBox(run_, form_.GroupBox4, *group_box4);
  auto* band = new QVBoxLayout(group_box4);
  band->setContentsMargins(2, 2, 2, 2);

  auto* panel1 = new QHBoxLayout;
  drive_combo_ = new QComboBox;
  drive_combo_->setFixedWidth(145);
  drive_combo_->setContextMenuPolicy(Qt::CustomContextMenu);
  BindDriveCombo(run_, form_.DriveComboBox1, *drive_combo_);
  panel1->addWidget(drive_combo_);
  panel1->addWidget(NewLabel(form_.Label1));
  panel1->addWidget(NewEdit(form_.EditCurDir, 281));
  panel1->addWidget(NewLabel(form_.Label3));
  panel1->addWidget(NewEdit(form_.EditCountDir, 57));
  panel1->addStretch();
  band->addLayout(panel1);

  auto* splitter1 = NavySplitter(Qt::Horizontal);
  directory_list_ = Plain(new QListView);
  BindDirectoryList(run_, form_.DirectoryListBox1, *directory_list_);
  focus_.Watch(
      *directory_list_, [this] { form_.DirectoryListBox1Enter(); },
      [this] { form_.DirectoryListBox1Exit(); });
  splitter1->addWidget(directory_list_);
  // The subdirectory list is walked by the check but never shown.
  auto* file_list2 = new QListView;
  file_list2->setToolTip(ToQt(form_.FileListBox2.Hint()));
  file_list2->setFixedWidth(137);
  file_list2->hide();
  splitter1->addWidget(file_list2);
  band->addWidget(splitter1, 1);
  return group_box4;
}

QWidget* MainWindow::BuildFileGroup() {
  auto* group_box1 = new QGroupBox;
  BindGroupBox(run_, form_.GroupBox1, *group_box1);
  auto* group = new QVBoxLayout(group_box1);
  group->setContentsMargins(2, 2, 2, 2);
  group->addWidget(BuildSettingsBand());

  auto* splitter3 = NavySplitter(Qt::Vertical);
  file_list_ = Plain(new QListView);
  BindFileList(run_, form_.FileListBox1, *file_list_);
  focus_.Watch(
      *file_list_, [this] { form_.FileListBox1Enter(); }, [this] { form_.FileListBox1Exit(); });
  splitter3->addWidget(file_list_);
  splitter3->addWidget(BuildStatusBand());
  splitter3->setStretchFactor(0, 1);
  group->addWidget(splitter3, 1);
  return group_box1;
}

QWidget* MainWindow::BuildSettingsBand() {
  auto* panel3 = new QWidget;
  panel3->setFixedHeight(106);
  auto* row = new QHBoxLayout(panel3);
  row->setContentsMargins(0, 0, 0, 0);

  auto* group_box2 = new QGroupBox;
  group_box2->setFixedWidth(255);
  BindGroupBox(run_, form_.GroupBox2, *group_box2);
  auto* types = new QGridLayout(group_box2);
  const std::pair<CheckBox*, std::pair<int, int>> boxes[] = {
      {&form_.CheckBox1, {0, 0}}, {&form_.CheckBox2, {1, 0}}, {&form_.CheckBox3, {2, 0}},
      {&form_.CheckBox4, {0, 1}}, {&form_.CheckBox5, {1, 1}},
  };
  for (auto [box, cell] : boxes) {
    auto* widget = new QCheckBox;
    BindCheckBox(run_, *box, *widget);
    types->addWidget(widget, cell.first, cell.second);
  }
  auto* mask_row = new QHBoxLayout;
  mask_row->addWidget(NewLabel(form_.Label2));
  mask_row->addWidget(NewEdit(form_.EditMask, 57));
  types->addLayout(mask_row, 2, 1);
  row->addWidget(group_box2);

  auto* group_box5 = new QGroupBox;
  BindGroupBox(run_, form_.GroupBox5, *group_box5);
  auto* columns = new QHBoxLayout(group_box5);
  auto* left = new QVBoxLayout;
  auto* bit_btn1 = new QPushButton;
  bit_btn1->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  BindButton(run_, form_.BitBtn1, *bit_btn1);
  left->addWidget(bit_btn1);
  left->addWidget(NewGauge(form_.Gauge1));
  for (CheckBox* box : {&form_.CheckBoxMode, &form_.CheckBox6}) {
    auto* widget = new QCheckBox;
    BindCheckBox(run_, *box, *widget);
    left->addWidget(widget);
  }
  columns->addLayout(left, 1);

  auto* right = new QGridLayout;
  right->addWidget(NewLabel(form_.Label10), 0, 0);
  auto* size_block = new QComboBox;
  BindComboBox(run_, form_.CBSizeBlock, *size_block);
  right->addWidget(size_block, 0, 1);
  const std::pair<Label*, Edit*> fields[] = {{&form_.Label7, &form_.EditSec1},
                                             {&form_.Label4, &form_.EditCountFile}};
  int line = 1;
  for (auto [label, edit] : fields) {
    right->addWidget(NewLabel(*label), line, 0);
    right->addWidget(NewEdit(*edit), line++, 1);
  }
  columns->addLayout(right);
  row->addWidget(group_box5, 1);
  return panel3;
}

QWidget* MainWindow::BuildStatusBand() {
  auto* panel5 = new QWidget;
  panel5->setMinimumHeight(102);
  auto* band = new QVBoxLayout(panel5);
  band->setContentsMargins(0, 0, 0, 0);
  band->setSpacing(2);

  band->addWidget(NewEdit(form_.EditCurFile));

  constexpr int kFieldWidth = 110;
  auto* size_row = new QHBoxLayout;
  size_row->addWidget(NewLabel(form_.Label5));
  size_row->addWidget(NewEdit(form_.EditSize, kFieldWidth));
  size_row->addWidget(NewEdit(form_.EditSec, kFieldWidth));
  size_row->addWidget(NewLabel(form_.Label6));
  size_row->addWidget(NewGauge(form_.Gauge2), 1);
  band->addLayout(size_row);

  auto* group_box3 = new QGroupBox;
  group_box3->setFixedHeight(40);
  BindGroupBox(run_, form_.GroupBox3, *group_box3);
  auto* totals = new QHBoxLayout(group_box3);
  totals->setContentsMargins(4, 0, 4, 0);
  totals->addWidget(NewLabel(form_.Label8));
  totals->addWidget(NewEdit(form_.Edit1, kFieldWidth));
  totals->addWidget(NewEdit(form_.Edit2, kFieldWidth));
  totals->addWidget(NewLabel(form_.Label9));
  totals->addWidget(NewGauge(form_.Gauge3), 1);
  band->addWidget(group_box3);

  auto* panel6 = new QFrame;
  panel6->setFrameShape(QFrame::Panel);
  panel6->setFrameShadow(QFrame::Sunken);
  panel6->setFixedHeight(20);
  auto* strip = new QHBoxLayout(panel6);
  strip->setContentsMargins(4, 0, 4, 0);
  strip->addWidget(NewLabel(form_.LabelDiskSize));
  strip->addStretch();
  strip->addWidget(NewLabel(form_.Label11));
  band->addWidget(panel6);
  return panel5;
}

QLabel* MainWindow::NewLabel(Label& label) {
  auto* widget = new QLabel;
  BindLabel(run_, label, *widget);
  return widget;
}

QLineEdit* MainWindow::NewEdit(Edit& edit, int width) {
  auto* widget = Plain(new QLineEdit);
  if (width > 0) widget->setFixedWidth(width);
  BindEdit(run_, edit, *widget);
  return widget;
}

PercentBarWidget* MainWindow::NewGauge(PercentBar& bar) {
  auto* widget = new PercentBarWidget;
  BindPercentBar(run_, bar, *widget);
  return widget;
}

QAction* MainWindow::BindMenuItem(MenuItem& item, QWidget* owner) {
  auto* action = new QAction(owner);
  // The main menu's keys work in whichever of the program's windows is active; a modal box
  // still takes them for itself, as it blocks this window.
  action->setShortcutContext(Qt::ApplicationShortcut);
  if (item.IsSeparator()) {
    action->setSeparator(true);
    return action;
  }
  run_.refresher().Bind(item.StateChanged, [&item, action] {
    action->setText(ToQt(item.Caption()));
    action->setEnabled(item.Enabled());
    action->setVisible(item.Visible());
    action->setCheckable(item.Checked());
    action->setChecked(item.Checked());
    action->setShortcut(QKeySequence(ToQt(item.ShortCut())));
  });
  connect(action, &QAction::triggered, this, [this, &item] { run_([&item] { item.Click(); }); });
  return action;
}

void MainWindow::FillMenu(QMenu* menu, MenuItem& items) {
  for (MenuItem* item : items.Items()) menu->addAction(BindMenuItem(*item, menu));
}

void MainWindow::BuildMenus() {
  for (MenuItem* top : form_.MainMenu1.Items()) {
    if (top->Items().empty()) {
      // An item without a submenu runs its handler straight from the menu bar.
      menuBar()->addAction(BindMenuItem(*top, this));
      continue;
    }
    auto* submenu = menuBar()->addMenu(ToQt(top->Caption()));
    FillMenu(submenu, *top);
    // The shortcuts work while the submenu is closed.
    addActions(submenu->actions());
  }
  popup_menu1_ = new QMenu(this);
  FillMenu(popup_menu1_, form_.PopupMenu1);
  popup_menu2_ = new QMenu(this);
  FillMenu(popup_menu2_, form_.PopupMenu2);
  connect(drive_combo_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popup_menu2_->popup(drive_combo_->mapToGlobal(at)); });
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  popup_menu1_->popup(event->globalPos());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (form_.FormCloseQuery()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace tarvik
