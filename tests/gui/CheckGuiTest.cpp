#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <chrono>
#include <deque>
#include <memory>

#include "Program.h"
#include "platform/posix/PosixPlatform.h"
#include "support/FaultyFs.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

// Answers every message box as it shows, with the scripted button ("OK" once the script is
// empty), and keeps the texts asked.
class BoxAnswers : public QObject {
 public:
  std::deque<QString> script;
  QStringList asked;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(object);
    if (box == nullptr || event->type() != QEvent::Show) return false;
    asked << box->text();
    QString button = QStringLiteral("OK");
    if (!script.empty()) {
      button = script.front();
      script.pop_front();
    }
    QTimer::singleShot(0, box, [box, button] {
      for (QAbstractButton* candidate : box->buttons())
        if (candidate->text() == button) candidate->click();
    });
    return false;
  }
};

// A check run in the program's real windows over a temporary drive C:.
class CheckGuiTest : public ::testing::Test {
 protected:
  // Drive C: is the temporary directory; `more` drives may follow.
  void Start(std::vector<DriveSpec> more = {}, const std::string& start = "C:\\WORK") {
    more.insert(more.begin(), DriveSpec{'C', tmp_.path(), kDriveFixed, "SYSTEM", 0x3});
    platform_ = std::make_unique<PosixPlatform>(std::move(more), start);
    program_ = std::make_unique<Program>(*platform_);
    program_->Show();
    QApplication::instance()->installEventFilter(&answers_);
    QObject::connect(&window(), &QWidget::windowTitleChanged,
                     [this](const QString& title) { titles_ << title; });
    QApplication::processEvents();
  }
  ~CheckGuiTest() override { QApplication::instance()->removeEventFilter(&answers_); }

  QMainWindow& window() { return program_->main_window; }
  TForm1& form() { return program_->application.Form1; }
  void PressF5() { QTest::keyClick(&window(), Qt::Key_F5); }
  // A gigabyte file and a small one after it, checked without subdirectories in 2048-byte
  // blocks: the first read lasts long enough for the user to act during it.
  void StartLongRead() {
    tmp_.MakeSparseFile("WORK/big.iso", 1 << 30);
    tmp_.MakeFileOfSize("WORK/next.bin", 100);
    Start();
    form().CheckBoxMode.SetChecked(false);
    form().CBSizeBlock.SetItemIndex(0);
  }
  // The text the main window's field with the hint `tip` shows.
  QString FieldText(const QString& tip) {
    for (QLineEdit* edit : window().findChildren<QLineEdit*>())
      if (edit->toolTip() == tip) return edit->text();
    return {};
  }

  TempDir tmp_;
  std::unique_ptr<PosixPlatform> platform_;
  std::unique_ptr<Program> program_;
  BoxAnswers answers_;
  QStringList titles_;
};

TEST_F(CheckGuiTest, F5ChecksTheDirectoryAndTheWindowFollows) {
  tmp_.MakeFileOfSize("WORK/a.bin", 100);
  tmp_.MakeFileOfSize("WORK/b.bin", 4 << 20);
  tmp_.MakeFileOfSize("WORK/c.bin", 100);
  Start();
  form().CheckBoxMode.SetChecked(false);
  form().CBSizeBlock.SetItemIndex(0);
  answers_.script = {"Cancel"};  // from the first file
  PressF5();

  EXPECT_EQ(answers_.asked, QStringList{"Начать с текущего файла ?"});
  EXPECT_TRUE(titles_.contains("Проверка файлов на диске. — Проверка диска C"))
      << titles_.join('|').toStdString();
  EXPECT_TRUE(titles_.last().startsWith("Проверка файлов на диске. — Диск C "))
      << titles_.last().toStdString();
  EXPECT_EQ(FieldText("Имя текущего файла"), "c.bin");
  EXPECT_EQ(form().Edit1.Text(), "3");
  EXPECT_NE(FieldText("Общие затраты времени на обработку"), "0");
  EXPECT_TRUE(program_->dlg_info.isVisible());
  EXPECT_EQ(program_->dlg_info.windowTitle(), "Ok");
  EXPECT_FALSE(form().N6.Enabled());
  EXPECT_TRUE(program_->main_window.file_list()->isEnabled());
}

// After a check, Ctrl+G shows the graph window with the files of at least a mebibyte that
// were slowest by the samples of the check.
TEST_F(CheckGuiTest, CtrlGShowsTheSlowestFilesOfTheCheck) {
  tmp_.MakeFileOfSize("WORK/a.bin", 100);
  for (const char* file : {"WORK/b.bin", "WORK/c.bin", "WORK/d.bin"})
    tmp_.MakeFileOfSize(file, 3 << 20);
  Start();
  form().CheckBoxMode.SetChecked(false);
  form().CBSizeBlock.SetItemIndex(0);
  answers_.script = {"Cancel"};
  PressF5();
  ASSERT_TRUE(program_->dlg_info.isVisible());
  EXPECT_FALSE(program_->speed_window.isVisible());

  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &window(); }));
  QTest::keyClick(&window(), Qt::Key_G, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_TRUE(program_->speed_window.isVisible());
  EXPECT_EQ(program_->speed_window.windowTitle(), "Скорость чтения");
  const auto* list = program_->speed_window.findChild<QListWidget*>("Slowest");
  ASSERT_NE(list, nullptr);
  QStringList shown, expected;
  for (int row = 0; row < list->count(); ++row) shown << list->item(row)->text();
  for (const FileSpeed& file : form().Scan.Speed.Slowest()) {
    EXPECT_NE(file.path, "C:\\WORK\\a.bin");
    expected << QString::fromStdString(
        SpeedText(*MegabytesPerSecond(file.bytes, file.milliseconds)) + "  " + file.path);
  }
  EXPECT_FALSE(expected.isEmpty());
  EXPECT_EQ(shown, expected);
}

TEST_F(CheckGuiTest, EscDuringALongReadAsksAtEveryLevel) {
  StartLongRead();
  answers_.script = {"Cancel", "OK", "OK"};
  bool lists_locked = false;
  QTimer::singleShot(100, &window(), [this, &lists_locked] {
    lists_locked = !program_->main_window.file_list()->isEnabled();
    // The question box took the activation; the user's Esc goes to the main window.
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &window(); }));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window(),
                    Qt::Key_Escape);
  });
  PressF5();

  EXPECT_TRUE(lists_locked);
  EXPECT_EQ(answers_.asked,
            (QStringList{"Начать с текущего файла ?",
                         "Вы желаете превать сканирование файла \"C:\\WORK\\big.iso\" ?",
                         "Вы желаете превать сканирование каталога \"C:\\WORK\" ?"}));
  EXPECT_EQ(form().Edit1.Text(), "1");  // next.bin was not checked
  EXPECT_TRUE(program_->list_error.isVisible());
  EXPECT_EQ(program_->dlg_info.windowTitle(), "Ok");
}

TEST_F(CheckGuiTest, WalkMovesTheListsThroughTheTree) {
  // Files large enough that the window is refreshed while the walk stands in each directory.
  for (const char* file : {"WORK/A/a.bin", "WORK/B/b.bin", "WORK/w.bin"})
    tmp_.MakeSparseFile(file, 128 << 20);
  Start();
  form().CBSizeBlock.SetItemIndex(0);
  QStringList shown;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    const QString directory = FieldText("Текущий Каталог");
    if (shown.isEmpty() || shown.last() != directory) shown << directory;
  });
  poll.start(1);
  PressF5();
  poll.stop();

  EXPECT_TRUE(shown.contains("C:\\WORK\\A")) << shown.join('|').toStdString();
  EXPECT_TRUE(shown.contains("C:\\WORK\\B")) << shown.join('|').toStdString();
  EXPECT_EQ(FieldText("Текущий Каталог"), "C:\\WORK");
  EXPECT_EQ(form().Edit1.Text(), "3");
  EXPECT_EQ(program_->dlg_info.windowTitle(), "Ok");
  EXPECT_TRUE(answers_.asked.isEmpty()) << answers_.asked.join('|').toStdString();
}

TEST_F(CheckGuiTest, ClosingTheWindowEndsTheCheckWithoutQuestions) {
  using Clock = std::chrono::steady_clock;
  for (const bool held : {false, true}) {
    SCOPED_TRACE(held ? "a read that hangs on a disc" : "a long read");
    std::unique_ptr<FaultyFs> disc;
    if (held) {
      disc = std::make_unique<FaultyFs>(std::vector<FaultyFs::Entry>{
          FaultyFs::File("S/big.iso", std::string(10000, 'h'), FaultyFs::Faults().HoldFirstRead()),
          FaultyFs::File("S/next.bin", "n")});
      Start({disc->Drive('D')}, "D:\\S");
      form().CheckBoxMode.SetChecked(false);
    } else {
      StartLongRead();
    }
    answers_.asked.clear();
    answers_.script = {"Cancel"};
    Clock::time_point closed_at;
    QTimer::singleShot(100, &window(), [&] {
      closed_at = Clock::now();
      window().close();
    });
    PressF5();

    EXPECT_FALSE(window().isVisible());
    // Nothing is shown after the main window: the program can end.
    EXPECT_FALSE(program_->dlg_info.isVisible());
    EXPECT_FALSE(program_->list_error.isVisible());
    EXPECT_EQ(answers_.asked, QStringList{"Начать с текущего файла ?"});
    EXPECT_EQ(form().Edit1.Text(), "1");  // next.bin was not opened
    EXPECT_LT(form().Scan.BytesRead, std::int64_t{1} << 30);
    EXPECT_FALSE(form().Scan.Running);
    // What main() does after its window closed: the program and its platform go.
    program_.reset();
    platform_.reset();
    EXPECT_LT(Clock::now() - closed_at, std::chrono::seconds(1));
  }
}

}  // namespace
}  // namespace tarvik
