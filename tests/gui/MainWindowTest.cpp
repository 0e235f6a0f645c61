#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <map>
#include <memory>

#include "Program.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempDir.h"
#include "ui/ApplicationTitle.h"

namespace tarvik {
namespace {

// The whole program's windows over a temporary drive C:.
class MainWindowGuiTest : public ::testing::Test {
 protected:
  MainWindowGuiTest() {
    tmp_.MakeFile("WORK/a.txt", "a");
    tmp_.MakeFile("WORK/SUB/b.txt", "bb");
    tmp_.MakeFile("WORK/SUB/c.txt", "cc");
    tmp_.MakeDir("WORK/SUB/X");
    platform_ = std::make_unique<PosixPlatform>(
        std::vector<DriveSpec>{{'C', tmp_.path(), kDriveFixed, "SYSTEM", 0x3}}, "C:\\WORK");
    program_ = std::make_unique<Program>(*platform_);
    program_->Show();
    QApplication::processEvents();
  }

  MainWindow& window() { return program_->main_window; }
  TForm1& form() { return program_->application.Form1; }

  // The widgets of the main window itself, not of the dialogs it owns.
  template <typename W>
  std::vector<W*> All() {
    std::vector<W*> widgets;
    for (W* widget : window().findChildren<W*>())
      if (widget->window() == &window()) widgets.push_back(widget);
    return widgets;
  }

  QAction* MenuAction(const QString& text) {
    for (QAction* action : window().findChildren<QAction*>())
      if (action->text() == text) return action;
    return nullptr;
  }

  TempDir tmp_;
  std::unique_ptr<PosixPlatform> platform_;
  std::unique_ptr<Program> program_;
};

// Gives the focus to a shown top-level window other than `window`, if there is one.
void FocusAnotherWindow(const QWidget& window) {
  for (QWidget* other : QApplication::topLevelWidgets()) {
    if (other == &window || !other->isVisible()) continue;
    other->activateWindow();
    return;
  }
}

// Makes `window` the one the keys go to. A dialog counts as active already while its parent is,
// which is not enough here.
bool Activate(QWidget& window) {
  // Requests still queued (a window shown by the last command takes the focus) are answered
  // first, so that an active window is one that stays active.
  QApplication::processEvents();
  // A busy display server may drop a request to activate: it is asked again while waiting.
  return QTest::qWaitFor(
      [&window] {
        if (QApplication::activeWindow() == &window) return true;
        // The offscreen platform leaves the focus with a window hidden while it had it, and
        // asking the window that has the focus to take it changes nothing: once shown again
        // the window would never become active. The focus leaves it first.
        if (QGuiApplication::focusWindow() == window.windowHandle()) FocusAnotherWindow(window);
        window.raise();
        window.activateWindow();
        return false;
      },
      15'000);
}

QStringList RowTexts(const QAbstractItemView& view) {
  QStringList texts;
  for (int row = 0; row < view.model()->rowCount(); ++row)
    texts << view.model()->index(row, 0).data().toString();
  return texts;
}

bool HasText(const std::vector<QLineEdit*>& edits, const QString& text, const QString& tip) {
  for (QLineEdit* edit : edits)
    if (edit->text() == text && edit->toolTip() == tip) return true;
  return false;
}

TEST_F(MainWindowGuiTest, CaptionsHintsAndInitialTexts) {
  EXPECT_TRUE(window().isMaximized() || window().isVisible());

  const auto edits = All<QLineEdit>();
  const std::pair<QString, QString> fields[] = {
      {"C:\\WORK", "Текущий Каталог"},
      {"0", "Кол-во ПодКаталогов в текущем каталоге"},
      {"*.*", "Маска обрабатываемых файлов"},
      {"00:00:00", "Общие затраты времени на обработку"},
      {"1", "Всего файлов в текущем Каталоге"},
      {"*.*", "Имя текущего файла"},
      {"0", "Затраты на проверку текущего файла"},
  };
  for (const auto& [text, tip] : fields)
    EXPECT_TRUE(HasText(edits, text, tip)) << tip.toStdString();

  QStringList labels;
  for (QLabel* label : All<QLabel>()) labels << label->text();
  for (const char* caption :
       {"Каталог :", "Всего = ", "Маска  :", "Размер блоков : ", "Время  = ", "Размер файла  = ",
        "Секунд", "Файлов  = ", "Кб", "Объем диска C:  = ", "Правая кнопка мыши - меню"}) {
    EXPECT_TRUE(labels.filter(caption).size() > 0) << caption;
  }
  QStringList groups;
  for (QGroupBox* box : All<QGroupBox>()) groups << box->title();
  for (const char* title : {"Список файлов  :  ", "Тип файлов : ", "Всего считано : "})
    EXPECT_TRUE(groups.contains(title)) << title;

  QStringList boxes;
  for (QCheckBox* box : All<QCheckBox>()) boxes << box->text() + (box->isChecked() ? "+" : "-");
  EXPECT_EQ(boxes,
            (QStringList{"ReadOnly+", "Hidden+", "System+", "Archive+", "Normal+",
                         "проверять, включая ПодКаталоги+", "Список файлов  -> в текст.файл.-"}));
  ASSERT_EQ(All<QPushButton>().size(), 1u);
  EXPECT_EQ(All<QPushButton>()[0]->text(), "Проверить файлы");
  EXPECT_EQ(window().drive_combo()->toolTip(),
            "Текущий диск (по правой кнопке - соединение с сетевым диском)");
}

TEST_F(MainWindowGuiTest, ShortcutsReachTheirMenuItems) {
  const std::pair<QString, QString> shortcuts[] = {
      {"Проверить", "F5"},
      {"Показать последний список проблемных файлов", "Ctrl+F5"},
      {"График скорости чтения", "Ctrl+G"},
      {"Прервать", "Esc"},
  };
  for (const auto& [text, keys] : shortcuts) {
    QAction* action = MenuAction(text);
    ASSERT_NE(action, nullptr) << text.toStdString();
    EXPECT_EQ(action->shortcut(), QKeySequence(keys));
    EXPECT_TRUE(window().actions().contains(action)) << "shortcut active without the menu open";
  }
  EXPECT_FALSE(MenuAction("Прервать")->isEnabled());

  // Ctrl+F5 shows the problem list.
  MenuAction("Показать последний список проблемных файлов")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(program_->list_error.isVisible());
  EXPECT_EQ(program_->list_error.windowTitle(), "Проблемные файлы");
}

TEST_F(MainWindowGuiTest, QuestionMarkOpensTheAboutBoxAtOnce) {
  QAction* about = nullptr;
  for (QAction* action : window().menuBar()->actions())
    if (action->text() == "?") about = action;
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->menu(), nullptr);
  QString shown;
  QTimer::singleShot(0, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      shown = modal->windowTitle();
      modal->close();
    }
  });
  about->trigger();
  EXPECT_EQ(shown, "Краткая информация");
  EXPECT_FALSE(program_->application.AboutBox.Visible());
}

TEST_F(MainWindowGuiTest, RightClickOpensTheContextMenus) {
  QContextMenuEvent on_window(QContextMenuEvent::Mouse, {10, 10},
                              window().mapToGlobal(QPoint{10, 10}));
  QApplication::sendEvent(&window(), &on_window);
  EXPECT_TRUE(window().popup_menu1()->isVisible());
  window().popup_menu1()->hide();
  QStringList items;
  for (QAction* action : window().popup_menu1()->actions())
    if (!action->isSeparator()) items << action->text();
  EXPECT_EQ(items, (QStringList{"проверить файл", "проверить каталог", "Сделать сетевое соединение",
                                "Прервать сетевое соединение"}));

  emit window().drive_combo()->customContextMenuRequested({5, 5});
  EXPECT_TRUE(window().popup_menu2()->isVisible());
  EXPECT_FALSE(window().popup_menu1()->isVisible());
  window().popup_menu2()->hide();
}

TEST_F(MainWindowGuiTest, OpeningADirectoryUpdatesTheFields) {
  QAbstractItemView* directories = window().directory_list();
  const int sub = static_cast<int>(RowTexts(*directories).indexOf("SUB"));
  ASSERT_GE(sub, 0);
  emit directories->doubleClicked(directories->model()->index(sub, 0));
  QApplication::processEvents();
  EXPECT_EQ(form().EditCurDir.Text(), "C:\\WORK\\SUB");
  EXPECT_EQ(form().EditCountDir.Text(), "4");  // C:\, WORK, SUB, X
  EXPECT_EQ(RowTexts(*window().file_list()), (QStringList{"b.txt", "c.txt"}));
  EXPECT_TRUE(HasText(All<QLineEdit>(), "C:\\WORK\\SUB", "Текущий Каталог"));
}

// Turning the glyphs off or on with the same names shows or drops the icons.
TEST_F(MainWindowGuiTest, FileListFollowsItsGlyphsWithTheSameNames) {
  tmp_.MakeFile("WORK/run.exe");
  program_->run([this] { form().EditMask.SetText("*"); });  // read again, with run.exe
  const QAbstractItemModel& rows = *window().file_list()->model();
  ASSERT_EQ(RowTexts(*window().file_list()), (QStringList{"a.txt", "run.exe"}));
  for (bool glyphs : {false, true, false}) {
    program_->run([this, glyphs] { form().FileListBox1.SetShowGlyphs(glyphs); });
    for (int row = 0; row < rows.rowCount(); ++row) {
      const QIcon icon = rows.index(row, 0).data(Qt::DecorationRole).value<QIcon>();
      EXPECT_EQ(!icon.isNull(), glyphs) << row;
    }
  }
}

// What the context menu offers after each step of the user's, the menu being opened on the
// control that has the focus.
TEST_F(MainWindowGuiTest, OnlyAMoveToAnotherControlTakesTheCheckCommandsAway) {
  ASSERT_TRUE(Activate(window()));
  QLineEdit* mask = nullptr;
  for (QLineEdit* edit : All<QLineEdit>())
    if (edit->toolTip() == "Маска обрабатываемых файлов") mask = edit;
  ASSERT_NE(mask, nullptr);
  QWidget* file_list = window().file_list();
  QWidget* directory_list = window().directory_list();
  const struct {
    const char* step;
    std::function<void()> act;
    bool check_file;
    bool check_directory;
  } steps[] = {
      {"file list focused", [&] { file_list->setFocus(Qt::MouseFocusReason); }, true, false},
      {"another window in front",
       [&] {
         form().N8.Click();
         QApplication::processEvents();
         ASSERT_TRUE(Activate(program_->list_error));
         ASSERT_TRUE(Activate(window()));
       },
       true, false},
      {"directory list focused", [&] { directory_list->setFocus(Qt::TabFocusReason); }, false,
       true},
      {"mask field focused", [&] { mask->setFocus(Qt::TabFocusReason); }, false, false},
      {"file list again", [&] { file_list->setFocus(Qt::MouseFocusReason); }, true, false},
  };
  for (const auto& s : steps) {
    s.act();
    QApplication::processEvents();
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr) << s.step;
    QPoint at = focused->rect().center();
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, at, focused->mapToGlobal(at));
    QApplication::sendEvent(focused, &right_click);
    ASSERT_TRUE(window().popup_menu1()->isVisible()) << s.step;
    EXPECT_EQ(MenuAction("проверить файл")->isEnabled(), s.check_file) << s.step;
    EXPECT_EQ(MenuAction("проверить каталог")->isEnabled(), s.check_directory) << s.step;
    window().popup_menu1()->hide();
    QApplication::processEvents();
    ASSERT_TRUE(Activate(window()));
    EXPECT_EQ(form().N3.Enabled(), s.check_file) << s.step << ", menu closed";
    EXPECT_EQ(form().N4.Enabled(), s.check_directory) << s.step << ", menu closed";
  }
}

// Every way the user moves the highlight moves the model's selection, as a click does.
TEST_F(MainWindowGuiTest, KeysAndRightPressMoveTheSelection) {
  for (int i = 0; i < 30; ++i) {
    tmp_.MakeFileOfSize("WORK/MANY/f" + std::to_string(100 + i) + ".txt", (i + 1) * 1000);
  }
  program_->run([this] { form().DirectoryListBox1.SetDirectory("C:\\WORK\\MANY"); });
  QAbstractItemView* files = window().file_list();
  int clicks = 0;
  form().FileListBox1.OnClick.Subscribe([&clicks] { ++clicks; });
  const auto right_press = [files](int row) {
    return [files, row] {
      const QPoint at = files->visualRect(files->model()->index(row, 0)).center();
      QTest::mousePress(files->viewport(), Qt::RightButton, {}, at);
      QTest::mouseRelease(files->viewport(), Qt::RightButton, {}, at);
    };
  };
  const auto key = [files](Qt::Key pressed) {
    return [files, pressed] { QTest::keyClick(files, pressed); };
  };
  const struct {
    const char* step;
    std::function<void()> act;
    int expected;  // -1: further down than before
  } steps[] = {
      {"right press", right_press(2), 2},  {"down", key(Qt::Key_Down), 3},
      {"end", key(Qt::Key_End), 29},       {"up", key(Qt::Key_Up), 28},
      {"home", key(Qt::Key_Home), 0},      {"page down", key(Qt::Key_PageDown), -1},
      {"page up", key(Qt::Key_PageUp), 0},
  };
  // Taking the focus selects nothing.
  ASSERT_TRUE(Activate(window()));
  files->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(form().FileListBox1.ItemIndex(), -1);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(form().EditCurFile.Text(), "*.*");
  int before = 0;
  for (const auto& s : steps) {
    const int clicks_before = clicks;
    s.act();
    QApplication::processEvents();
    const int index = form().FileListBox1.ItemIndex();
    if (s.expected >= 0) {
      EXPECT_EQ(index, s.expected) << s.step;
    } else {
      EXPECT_GT(index, before) << s.step;
    }
    EXPECT_EQ(files->currentIndex().row(), index) << s.step;
    EXPECT_EQ(clicks, clicks_before + 1) << s.step;
    EXPECT_EQ(form().EditCurFile.Text(), "f" + std::to_string(100 + index) + ".txt") << s.step;
    EXPECT_EQ(form().EditSize.Text(), std::to_string(index + 1) + ".000  Кб") << s.step;
    EXPECT_EQ(form().FileListBox1.SelectedPath(),
              "C:\\WORK\\MANY\\f" + std::to_string(100 + index) + ".txt")
        << s.step;
    before = index;
  }
}

TEST_F(MainWindowGuiTest, KeysMoveAndOpenInTheDirectoryList) {
  QAbstractItemView* directories = window().directory_list();
  const DirectoryListBox& model = form().DirectoryListBox1;
  ASSERT_EQ(model.ItemIndex(), 1);  // C:\, WORK, SUB
  QTest::keyClick(directories, Qt::Key_Down);
  EXPECT_EQ(model.ItemIndex(), 2);
  EXPECT_EQ(model.Directory(), "C:\\WORK");
  QTest::keyClick(directories, Qt::Key_Home);
  EXPECT_EQ(model.ItemIndex(), 0);
  QTest::keyClick(directories, Qt::Key_End);
  EXPECT_EQ(model.ItemIndex(), 2);
  QTest::keyClick(directories, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(model.Directory(), "C:\\WORK\\SUB");
  EXPECT_EQ(form().EditCurDir.Text(), "C:\\WORK\\SUB");
  EXPECT_EQ(directories->currentIndex().row(), model.ItemIndex());
}

// The main menu's keys reach their items from every non-modal window of the program, never
// from a modal box.
TEST_F(MainWindowGuiTest, ShortcutsWorkInEveryNonModalWindow) {
  form().N6.SetEnabled(true);
  program_->refresher.RefreshAll();
  std::map<const MenuItem*, int> clicks;
  for (MenuItem* item : {&form().N2, &form().N6, &form().N8, &form().N14})
    item->OnClick.Subscribe([&clicks, item] { ++clicks[item]; });
  const std::pair<Window*, QWidget*> windows[] = {
      {&form(), &window()},
      {&program_->application.ListError, &program_->list_error},
      {&program_->application.DlgInfo, &program_->dlg_info},
      {&form().SpeedWindow, &program_->speed_window},
  };
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const MenuItem* item;
  } keys[] = {
      {Qt::Key_F5, Qt::NoModifier, &form().N2},
      {Qt::Key_Escape, Qt::NoModifier, &form().N6},
      {Qt::Key_F5, Qt::ControlModifier, &form().N8},
      {Qt::Key_G, Qt::ControlModifier, &form().N14},
  };
  for (auto [model, widget] : windows) {
    for (const auto& k : keys) {
      // Esc disables its own item until the command answers it.
      form().N6.SetEnabled(true);
      model->Show();
      program_->refresher.RefreshAll();
      ASSERT_TRUE(Activate(*widget)) << model->Caption();
      const int before = clicks[k.item];
      QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : widget, k.key,
                      k.modifiers);
      EXPECT_EQ(clicks[k.item], before + 1) << model->Caption() << " " << k.item->Caption();
    }
  }

  // A modal box keeps the keys: F5 in the About box runs nothing.
  const int before = clicks[&form().N2];
  QTimer::singleShot(0, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    QTest::keyClick(modal, Qt::Key_F5);
    modal->close();
  });
  form().N7Click();
  EXPECT_EQ(clicks[&form().N2], before);
}

// The application title follows the main window's caption, live; every other window keeps
// the caption it was designed with.
TEST_F(MainWindowGuiTest, OnlyTheMainWindowShowsTheApplicationTitle) {
  const std::pair<QWidget*, QString> others[] = {
      {&program_->about_box, "Краткая информация"},
      {&program_->list_error, "Проблемные файлы"},
      {&program_->net_connect, "Сетевое соединение"},
      {&program_->dlg_info, "Info"},
  };
  for (const char* title : {"Проверка дисков", "Диск C 12.5%"}) {
    ApplicationTitle::Get().SetText(title);
    program_->refresher.RefreshAll();
    EXPECT_EQ(window().windowTitle(), QString("Проверка файлов на диске. — ") + title);
    EXPECT_NE(QGuiApplication::applicationDisplayName(), title);
    for (const auto& [widget, caption] : others) EXPECT_EQ(widget->windowTitle(), caption);
  }
  EXPECT_EQ(form().Caption(), "Проверка файлов на диске.");
}

}  // namespace
}  // namespace tarvik
