#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenu>

#include "ControlFocus.h"
#include "PercentBarWidget.h"
#include "Runner.h"
#include "app/TForm1.h"
#include "ui/MenuItem.h"

namespace tarvik {

// The main window's widgets, built in code top to bottom as the window is designed, bound to
// the TForm1 model. It decides nothing: it shows the model and forwards the user's input.
class MainWindow : public QMainWindow {
 public:
  MainWindow(TForm1& form, const Runner& run);
  ~MainWindow() override;

  QComboBox* drive_combo() const { return drive_combo_; }
  QListView* directory_list() const { return directory_list_; }
  QListView* file_list() const { return file_list_; }
  QMenu* popup_menu1() const { return popup_menu1_; }
  QMenu* popup_menu2() const { return popup_menu2_; }

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildTopBand();
  QWidget* BuildFileGroup();
  QWidget* BuildSettingsBand();
  QWidget* BuildStatusBand();
  void BuildMenus();
  // A widget bound to its control; width 0 leaves the width to the layout.
  QLabel* NewLabel(Label& label);
  QLineEdit* NewEdit(Edit& edit, int width = 0);
  PercentBarWidget* NewGauge(PercentBar& bar);
  QAction* BindMenuItem(MenuItem& item, QWidget* owner);
  void FillMenu(QMenu* menu, MenuItem& items);

  TForm1& form_;
  Runner run_;
  QComboBox* drive_combo_ = nullptr;
  QListView* directory_list_ = nullptr;
  QListView* file_list_ = nullptr;
  QMenu* popup_menu1_ = nullptr;
  QMenu* popup_menu2_ = nullptr;
  // A member, so that it goes before the widgets do: the focus leaving the lists while they are
  // torn down calls no handler.
  ControlFocus focus_;
  // The application title lives as long as the process; its binding goes with this window.
  std::size_t title_binding_ = 0;
};

}  // namespace tarvik
