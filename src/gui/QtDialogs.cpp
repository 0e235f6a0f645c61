#include "QtDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "QtText.h"
#include "util/Text.h"

namespace tarvik {
namespace {

// Boxes belong to the window the user is looking at, so that they open over it.
QWidget* DialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QMessageBox::Icon IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::kError:
    case MessageKind::kErrorConfirmation:
      return QMessageBox::Critical;
    case MessageKind::kInformation:
      return QMessageBox::Information;
    case MessageKind::kConfirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// "Текстовые файлы (*.TXT *.txt)". Patterns are written for case-insensitive volumes, so each
// is offered in its lower- and upper-case forms too; "*.*" means every file there, also
// names without a dot, which is "*" here.
QString NameFilter(const FileFilter& filter) {
  QStringList patterns;
  for (const QString& part : ToQt(filter.pattern).split(u';', Qt::SkipEmptyParts)) {
    const std::string pattern = FromQt(part.trimmed());
    if (pattern == "*.*") {
      patterns.append(QStringLiteral("*"));
      continue;
    }
    std::string lower = pattern;
    LowerCase1251(lower);
    std::string upper = pattern;
    UpperCase1251(upper);
    for (const std::string& variant : {pattern, lower, upper}) {
      if (!patterns.contains(ToQt(variant))) patterns.append(ToQt(variant));
    }
  }
  return ToQt(filter.name) + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

// One modal showing of a registered dialog. The hooks are undone also when a handler that
// ran inside the showing throws.
class ModalShowing {
 public:
  ModalShowing(Window& window, QDialog& dialog)
      : window_(window), dialog_(dialog), modality_(dialog.windowModality()) {
    token_ = window.StateChanged.Subscribe([this] {
      if (Ended()) loop_.quit();
    });
    closed_ = QObject::connect(&dialog, &QDialog::finished, [&window] { window.Hide(); });
    // A modality set on a visible window only takes effect when it is shown again.
    dialog.hide();
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
  }

  ~ModalShowing() {
    QObject::disconnect(closed_);
    window_.StateChanged.Unsubscribe(token_);
    dialog_.hide();
    dialog_.setWindowModality(modality_);
  }

  ModalShowing(const ModalShowing&) = delete;
  ModalShowing& operator=(const ModalShowing&) = delete;

  void Run() {
    // A quit() before exec() would be lost.
    if (!Ended()) loop_.exec();
  }

 private:
  bool Ended() const { return window_.Result() != ModalResult::kNone; }

  Window& window_;
  QDialog& dialog_;
  const Qt::WindowModality modality_;
  QEventLoop loop_;
  std::size_t token_ = 0;
  QMetaObject::Connection closed_;
};

}  // namespace

QtDialogs::QtDialogs(Refresher& refresher, PathTranslator posix_path_of,
                     PathTranslator windows_path_of)
    : refresher_(refresher),
      posix_path_of_(std::move(posix_path_of)),
      windows_path_of_(std::move(windows_path_of)) {}

void QtDialogs::RegisterWindow(Window& window, QDialog& dialog) { dialogs_[&window] = &dialog; }

bool QtDialogs::ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) {
  refresher_.RefreshAll();
  QMessageBox box(IconOf(kind), ToQt(caption), ToQt(text), QMessageBox::NoButton, DialogParent());
  // File names may hold "<" and "&".
  box.setTextFormat(Qt::PlainText);
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  if (kind == MessageKind::kConfirmation || kind == MessageKind::kErrorConfirmation) {
    box.setEscapeButton(box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole));
  }
  box.exec();
  return box.clickedButton() == ok;
}

std::optional<std::string> QtDialogs::SaveFile(const SaveDialog& settings) {
  refresher_.RefreshAll();
  QFileDialog dialog(DialogParent(), ToQt(settings.title));
  dialog.setAcceptMode(settings.open_existing ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(settings.open_existing ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  QStringList filters;
  for (const FileFilter& filter : settings.filters) filters.append(NameFilter(filter));
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.front());
  dialog.setDefaultSuffix(ToQt(settings.default_extension));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.overwrite_prompt);
  // hide_read_only needs nothing: Qt's save dialog has no "open read-only" box.
  dialog.setSizeGripEnabled(settings.resizable);
  if (!settings.resizable) dialog.setFixedSize(dialog.sizeHint());

  const std::string directory = posix_path_of_(settings.initial_dir);
  if (!directory.empty()) dialog.setDirectory(ToQt(directory));
  // A proposed name with a directory opens the dialog there; one whose drive is gone still
  // offers its bare name.
  const std::string& proposed = settings.file_name;
  const std::size_t name_start = proposed.find_last_of("\\/:");
  if (name_start == std::string::npos) {
    dialog.selectFile(ToQt(proposed));
  } else {
    const std::string posix = posix_path_of_(proposed);
    dialog.selectFile(ToQt(posix.empty() ? proposed.substr(name_start + 1) : posix));
  }

  // A path that no drive holds cannot be handed on (the list would be written somewhere the
  // program cannot name); the user is told so and chooses again, or cancels.
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const std::string chosen = FromQt(dialog.selectedFiles().front());
    std::string path = windows_path_of_(chosen);
    if (!path.empty()) return path;
    MessageBox(MessageKind::kError, "Файл не лежит ни на одном диске программы:\n" + chosen +
                                        "\nВыберите файл на одном из дисков списка дисков "
                                        "или нажмите Cancel.");
  }
}

std::optional<std::string> QtDialogs::InputBox(const std::string& caption,
                                               const std::string& prompt,
                                               const std::string& value) {
  refresher_.RefreshAll();
  QDialog box(DialogParent());
  box.setWindowTitle(ToQt(caption));
  auto* label = new QLabel(ToQt(prompt), &box);
  label->setTextFormat(Qt::PlainText);
  auto* field = new QLineEdit(&box);
  field->setMaxLength(static_cast<int>(kInputBoxMaxLength));
  field->setText(ToQt(value));
  field->selectAll();
  field->setMinimumWidth(300);
  label->setBuddy(field);
  auto* buttons = new QDialogButtonBox(&box);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(label);
  layout->addWidget(field);
  layout->addWidget(buttons);

  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return FromQt(field->text());
}

void QtDialogs::RunModal(Window& window) {
  const auto found = dialogs_.find(&window);
  if (found == dialogs_.end()) {
    // Nothing the user could answer: the showing ends as if the window had been closed.
    qWarning("tarvik: no dialog registered for the window \"%s\"", window.Caption().c_str());
    return;
  }
  refresher_.RefreshAll();
  ModalShowing showing(window, *found->second);
  showing.Run();
}

void QtDialogs::ProcessMessages() { refresher_.ProcessMessages(); }

void QtDialogs::MessageBeep(BeepSound /*sound*/) { QApplication::beep(); }

}  // namespace tarvik
