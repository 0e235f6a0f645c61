#include "ListErrorDialog.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <cstdint>
#include <vector>

#include "Binders.h"

namespace tarvik {

namespace {

// Adds `lines` at the end of the box, each on a line of its own. A line end the user typed last
// already opens an empty line, which the first of them fills.
void AppendLines(QPlainTextEdit& widget, int shown, const std::vector<std::string>& lines) {
  QTextDocument& document = *widget.document();
  QTextCursor cursor(&document);
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  bool fill_last = document.blockCount() > shown && cursor.block().text().isEmpty();
  for (const std::string& line : lines) {
    if (!fill_last) cursor.insertBlock();
    fill_last = false;
    cursor.insertText(ToQt(line));
  }
  cursor.endEditBlock();
}

// Keeps the text box and the memo's lines in step both ways. Lines the program appends are
// added to the box one by one; the box is rewritten only when the memo's lines changed
// otherwise and its text means other lines than the memo holds, so that the user's typing (a
// line end not yet followed by text, say) is never undone under the cursor.
void BindMemo(const Runner& run, Memo& memo, QPlainTextEdit& widget) {
  struct Shown {
    std::uint64_t revision;
    int lines;
  };
  run.refresher().Bind(
      memo.StateChanged, [&memo, &widget, shown = Shown{memo.Revision(), 0}]() mutable {
        ApplyCommon(memo, widget);
        const QSignalBlocker blocker(&widget);
        const auto& lines = memo.Lines();
        const bool appended = memo.Revision() == shown.revision && memo.Count() >= shown.lines;
        const int already = shown.lines;
        shown = {memo.Revision(), memo.Count()};
        if (appended) {
          if (memo.Count() == already) return;
          AppendLines(widget, already, {lines.begin() + already, lines.end()});
        } else {
          Memo in_box;
          in_box.SetText(FromQt(widget.toPlainText()));
          if (in_box.Lines() == lines) return;
          QStringList texts;
          for (const auto& line : lines) texts << ToQt(line);
          widget.setPlainText(texts.join('\n'));
        }
        // New lines arrive at the end; keep the latest in sight.
        widget.moveCursor(QTextCursor::End);
      });
  QObject::connect(&widget, &QPlainTextEdit::textChanged, &widget, [run, &memo, &widget] {
    run([&memo, text = FromQt(widget.toPlainText())] { memo.SetText(text); });
  });
}

}  // namespace

ListErrorDialog::ListErrorDialog(TListError& ListError, const Runner& run, QWidget* parent)
    : SecondaryDialog(ListError.Layout, parent),
      memo1_(new QPlainTextEdit(this)),
      ok_button_(new QPushButton(this)) {
  memo1_->setObjectName("Memo1");
  memo1_->setGeometry(8, 8, 513, 201);
  memo1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Paths have no blanks to break at; they wrap at the box's edge.
  memo1_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ok_button_->setObjectName("OKButton");
  ok_button_->setGeometry(207, 220, 82, 25);
  ok_button_->setDefault(true);

  BindMemo(run, ListError.Memo1, *memo1_);
  BindButton(run, ListError.OKButton, *ok_button_);
  BindWindow(run, ListError, *this);
}

}  // namespace tarvik
