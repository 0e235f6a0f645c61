#include "ListErrorDialog.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextOption>

#include "Binders.h"

namespace tarvik {

namespace {

// Keeps the text box and the memo's lines in step both ways. The box is rewritten only when
// its text means other lines than the memo holds, so that the user's typing (a line end not
// yet followed by text, say) is never undone under the cursor.
void BindMemo(const Runner& run, Memo& memo, QPlainTextEdit& widget) {
  run.refresher().Bind(memo.StateChanged, [&memo, &widget] {
    ApplyCommon(memo, widget);
    Memo shown;
    shown.SetText(FromQt(widget.toPlainText()));
    if (shown.Lines() == memo.Lines()) return;
    QStringList lines;
    for (const auto& line : memo.Lines()) lines << ToQt(line);
    const QSignalBlocker blocker(&widget);
    widget.setPlainText(lines.join('\n'));
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
