#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "QtDialogs.h"
#include "support/TempDir.h"
#include "ui/ApplicationTitle.h"

namespace tarvik {
namespace {

// Plays the user: each step acts on the next modal widget that waits in exec(). A widget
// no step expects is closed, so that a failing test cannot hang.
class ModalScript {
 public:
  ModalScript() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(5);
  }

  template <typename W>
  ModalScript& Then(std::function<void(W&)> step) {
    steps_.push_back([step](QWidget& widget) {
      if (auto* typed = qobject_cast<W*>(&widget)) return step(*typed);
      ADD_FAILURE() << "unexpected " << widget.metaObject()->className();
      widget.close();
    });
    return *this;
  }
  bool Done() const { return steps_.empty(); }

 private:
  void Tick() {
    QWidget* widget = QApplication::activeModalWidget();
    if (widget == nullptr) return;
    if (steps_.empty()) {
      ADD_FAILURE() << "unexpected " << widget->metaObject()->className();
      widget->close();
      return;
    }
    const auto step = std::move(steps_.front());
    steps_.pop_front();
    step(*widget);
  }

  QTimer timer_;
  std::deque<std::function<void(QWidget&)>> steps_;
};

void Click(const QList<QAbstractButton*>& buttons, const QString& text) {
  for (QAbstractButton* button : buttons) {
    if (button->text() == text) return button->click();
  }
  ADD_FAILURE() << "no button " << text.toStdString();
}

QStringList TextsOf(const QList<QAbstractButton*>& buttons) {
  QStringList texts;
  for (const QAbstractButton* button : buttons) texts.append(button->text());
  return texts;
}

// C: is a temporary directory; other paths are on no drive.
class QtDialogsTest : public ::testing::Test {
 protected:
  std::string PosixOf(const std::string& windows) const {
    if (windows.rfind("C:\\", 0) != 0) return "";
    std::string rest = windows.substr(3);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    return drive_.Path(rest);
  }
  std::string WindowsOf(const std::string& posix) const {
    if (posix.rfind(drive_.path() + "/", 0) != 0) return "";
    std::string rest = posix.substr(drive_.path().size() + 1);
    std::replace(rest.begin(), rest.end(), '/', '\\');
    return "C:\\" + rest;
  }

  TempDir drive_;
  Refresher refresher_;
  QtDialogs dialogs_{refresher_, [this](const std::string& p) { return PosixOf(p); },
                     [this](const std::string& p) { return WindowsOf(p); }};
  ModalScript user_;
};

TEST_F(QtDialogsTest, MessageBoxesHaveTheirKindsLookAndAnswer) {
  const struct {
    MessageKind kind;
    QMessageBox::Icon icon;
    const char* caption;
    QStringList buttons;
    const char* press;  // nullptr: the box is closed
    bool expected;
  } cases[] = {
      {MessageKind::kError, QMessageBox::Critical, "Error", {"OK"}, "OK", true},
      {MessageKind::kInformation, QMessageBox::Information, "Information", {"OK"}, "OK", true},
      {MessageKind::kConfirmation, QMessageBox::Question, "Confirm", {"OK", "Cancel"}, "OK", true},
      {MessageKind::kErrorConfirmation,
       QMessageBox::Critical,
       "Error",
       {"OK", "Cancel"},
       "Cancel",
       false},
      {MessageKind::kConfirmation,
       QMessageBox::Question,
       "Confirm",
       {"OK", "Cancel"},
       "Cancel",
       false},
      {MessageKind::kConfirmation,
       QMessageBox::Question,
       "Confirm",
       {"OK", "Cancel"},
       nullptr,
       false},
  };
  for (const auto& c : cases) {
    user_.Then<QMessageBox>([&c](QMessageBox& box) {
      EXPECT_EQ(box.icon(), c.icon);
      EXPECT_EQ(box.windowTitle(), c.caption);
      EXPECT_EQ(box.text(), "Файл <b>&1</b> не найден");
      EXPECT_EQ(box.textFormat(), Qt::PlainText);
      EXPECT_EQ(TextsOf(box.buttons()), c.buttons);
      c.press != nullptr ? Click(box.buttons(), c.press) : void(box.close());
    });
    EXPECT_EQ(dialogs_.MessageBox(c.kind, "Файл <b>&1</b> не найден"), c.expected) << c.caption;
  }
  EXPECT_TRUE(user_.Done());
}

TEST_F(QtDialogsTest, CommandErrorBoxIsCaptionedWithTheApplicationTitle) {
  const std::string title = ApplicationTitle::Get().Text();
  ApplicationTitle::Get().SetText("42% D:\\DATA");
  user_.Then<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), "42% D:\\DATA");
    EXPECT_EQ(box.text(), "File access denied.");
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    EXPECT_EQ(TextsOf(box.buttons()), QStringList{"OK"});
    Click(box.buttons(), "OK");
  });
  dialogs_.ShowCommandError("File access denied");
  ApplicationTitle::Get().SetText(title);
  EXPECT_TRUE(user_.Done());
}

// What the user sees when a box opens must not lag behind the command that opened it.
class RefreshCountAtShow : public QObject {
 public:
  explicit RefreshCountAtShow(const int& refreshes) : refreshes_(refreshes) {
    qApp->installEventFilter(this);
  }
  ~RefreshCountAtShow() override { qApp->removeEventFilter(this); }
  int seen = -1;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show && seen < 0 && qobject_cast<QDialog*>(object)) {
      seen = refreshes_;
    }
    return false;
  }

 private:
  const int& refreshes_;
};

TEST_F(QtDialogsTest, StaleWidgetsAreRefreshedBeforeAnythingModalOpens) {
  Window window;
  QDialog dialog;
  dialogs_.RegisterWindow(window, dialog);
  const std::function<void()> openers[] = {
      [&] { dialogs_.MessageBox(MessageKind::kInformation, "x"); },
      [&] { dialogs_.SaveFile(SaveDialog{}); },
      [&] { dialogs_.InputBox("c", "p", "v"); },
      [&] { dialogs_.ShowModal(window); },
  };
  Signal changed;
  int refreshes = 0;
  refresher_.Bind(changed, [&refreshes] { ++refreshes; });
  for (const auto& open : openers) {
    changed();
    const int before = refreshes;
    RefreshCountAtShow at_show(refreshes);
    user_.Then<QWidget>([](QWidget& widget) { widget.close(); });
    open();
    EXPECT_EQ(at_show.seen, before + 1);
  }
  EXPECT_TRUE(user_.Done());
}

// The list file's dialog as the main window sets it up.
SaveDialog ListFileDialog() {
  return {"Выбрать файл для списка найденных",
          {{"Текстовые файлы", "*.TXT"}, {"Все файлы", "*.*"}},
          "TXT",
          true,
          true,
          true,
          "C:\\APP\\",
          "C:\\APP\\!ListFiles.txt"};
}

TEST_F(QtDialogsTest, SaveDialogTakesItsSettings) {
  drive_.MakeDir("APP");
  SaveDialog other{"Журнал",  {{"Журналы", "*.log;*.TXT"}}, "log", false, true, false,
                   "C:\\APP", "Q:\\GONE\\old.log"};
  const struct {
    SaveDialog settings;
    QStringList filters;
    bool confirms_overwrite;
    QString proposed;
  } cases[] = {
      {ListFileDialog(),
       {"Текстовые файлы (*.TXT *.txt)", "Все файлы (*)"},
       true,
       "!ListFiles.txt"},
      {other, {"Журналы (*.log *.LOG *.TXT *.txt)"}, false, "old.log"},
  };
  for (const auto& c : cases) {
    user_.Then<QFileDialog>([&](QFileDialog& dialog) {
      EXPECT_EQ(dialog.windowTitle(), QString::fromStdString(c.settings.title));
      EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
      EXPECT_EQ(dialog.nameFilters(), c.filters);
      EXPECT_EQ(dialog.selectedNameFilter(), c.filters.front());
      EXPECT_EQ(dialog.defaultSuffix(), QString::fromStdString(c.settings.default_extension));
      EXPECT_EQ(!dialog.testOption(QFileDialog::DontConfirmOverwrite), c.confirms_overwrite);
      EXPECT_EQ(dialog.minimumSize() != dialog.maximumSize(), c.settings.resizable);
      EXPECT_EQ(dialog.directory().absolutePath(), QString::fromStdString(drive_.Path("APP")));
      EXPECT_EQ(dialog.findChild<QLineEdit*>("fileNameEdit")->text(), c.proposed);
      dialog.reject();
    });
    EXPECT_EQ(dialogs_.SaveFile(c.settings), std::nullopt) << c.settings.title;
  }
  EXPECT_TRUE(user_.Done());
}

TEST_F(QtDialogsTest, SaveDialogAnswersInWindowsForm) {
  drive_.MakeDir("APP/SUB");
  TempDir elsewhere;
  const std::string outside = elsewhere.Path("found.txt");
  const struct {
    std::vector<std::string> typed;  // one name per showing of the dialog; "" cancels
    std::optional<std::string> expected;
  } cases[] = {
      {{"found"}, "C:\\APP\\found.TXT"},
      {{"list.log"}, "C:\\APP\\list.log"},
      {{"SUB/Найденные"}, "C:\\APP\\SUB\\Найденные.TXT"},
      {{""}, std::nullopt},
      // Outside every drive: told what to do, the dialog opens again.
      {{outside, drive_.Path("APP/found.txt")}, "C:\\APP\\found.txt"},
      {{outside, ""}, std::nullopt},
  };
  for (const auto& c : cases) {
    for (const std::string& typed : c.typed) {
      user_.Then<QFileDialog>([&typed](QFileDialog& dialog) {
        if (typed.empty()) return dialog.reject();
        dialog.findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(typed));
        static_cast<QDialog&>(dialog).accept();  // what the Save button does
      });
      if (typed != outside) continue;
      user_.Then<QMessageBox>([&](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_TRUE(box.text().contains(QString::fromStdString(outside)));
        EXPECT_TRUE(box.text().contains("Выберите файл на одном из дисков"));
        Click(box.buttons(), "OK");
      });
    }
    EXPECT_EQ(dialogs_.SaveFile(ListFileDialog()), c.expected) << c.typed.front();
    EXPECT_TRUE(user_.Done()) << c.typed.front();
  }
}

TEST_F(QtDialogsTest, InputBoxAnswers) {
  const struct {
    QString typed;
    const char* press;  // nullptr: the box is closed
    std::optional<std::string> expected;
  } cases[] = {
      {"", "OK", "C"},
      {"z", "OK", "z"},
      {QString(300, u'ж'), "OK", QString(255, u'ж').toStdString()},
      {"z", "Cancel", std::nullopt},
      {"z", nullptr, std::nullopt},
  };
  for (const auto& c : cases) {
    user_.Then<QDialog>([&c](QDialog& box) {
      EXPECT_EQ(box.windowTitle(), "Прервать сетевое соединение");
      EXPECT_EQ(box.findChild<QLabel*>()->text(), "Введите букву виртуального диска");
      auto* field = box.findChild<QLineEdit*>();
      EXPECT_EQ(field->text(), "C");
      // Typing replaces the proposed value.
      if (!c.typed.isEmpty()) field->insert(c.typed);
      const auto buttons = box.findChildren<QAbstractButton*>();
      EXPECT_EQ(TextsOf(buttons), (QStringList{"OK", "Cancel"}));
      c.press != nullptr ? Click(buttons, c.press) : void(box.close());
    });
    EXPECT_EQ(
        dialogs_.InputBox("Прервать сетевое соединение", "Введите букву виртуального диска", "C"),
        c.expected);
  }
  EXPECT_TRUE(user_.Done());
}

TEST_F(QtDialogsTest, ModalWindowEndsOnItsResultOrWhenClosed) {
  Window window;
  QDialog dialog;
  QPushButton ok("OK", &dialog);
  QObject::connect(&ok, &QPushButton::clicked, [&] { window.SetResult(ModalResult::kOk); });
  dialogs_.RegisterWindow(window, dialog);
  const struct {
    std::function<void()> act;
    ModalResult expected;
  } cases[] = {
      {[&] { ok.click(); }, ModalResult::kOk},
      {[&] { dialog.close(); }, ModalResult::kCancel},
      {[&] { window.Hide(); }, ModalResult::kCancel},
  };
  for (const auto& c : cases) {
    user_.Then<QDialog>([&](QDialog& shown) {
      EXPECT_EQ(&shown, &dialog);
      EXPECT_TRUE(window.Modal());
      c.act();
    });
    EXPECT_EQ(dialogs_.ShowModal(window), c.expected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.windowModality(), Qt::NonModal);
  }
  EXPECT_TRUE(user_.Done());

  Window unregistered;
  EXPECT_EQ(dialogs_.ShowModal(unregistered), ModalResult::kCancel);
}

}  // namespace
}  // namespace tarvik
