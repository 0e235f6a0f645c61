#include "Binders.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QSignalBlocker>

#include "EventFilter.h"
#include "Placement.h"

namespace tarvik {

namespace {

// The property by which a window's widget names its model, so that a window shown beside
// another finds that one's widget.
constexpr char kModelProperty[] = "tarvik_window";

QWidget* WidgetOf(const Window* window) {
  const QVariant wanted = QVariant::fromValue(reinterpret_cast<quintptr>(window));
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->property(kModelProperty) == wanted) return widget;
  }
  return nullptr;
}

}  // namespace

void ApplyCommon(const Control& control, QWidget& widget) {
  widget.setEnabled(control.Enabled());
  widget.setVisible(control.Visible());
  widget.setToolTip(ToQt(control.Hint()));
}

void BindEdit(const Runner& run, Edit& edit, QLineEdit& widget) {
  run.refresher().Bind(edit.StateChanged, [&edit, &widget] {
    ApplyCommon(edit, widget);
    widget.setReadOnly(edit.ReadOnly());
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, edit.ReadOnly()
                                         ? QColor(Qt::lightGray)
                                         : widget.style()->standardPalette().color(QPalette::Base));
    widget.setPalette(palette);
    const QString text = ToQt(edit.Text());
    if (widget.text() != text) widget.setText(text);
  });
  QObject::connect(&widget, &QLineEdit::textEdited, &widget, [run, &edit](const QString& text) {
    run([&edit, text] { edit.SetText(FromQt(text)); });
  });
}

void BindLabel(const Runner& run, Label& label, QLabel& widget) {
  run.refresher().Bind(label.StateChanged, [&label, &widget] {
    ApplyCommon(label, widget);
    widget.setText(ToQt(label.Caption()));
  });
}

void BindGroupBox(const Runner& run, Label& caption, QGroupBox& widget) {
  run.refresher().Bind(caption.StateChanged, [&caption, &widget] {
    widget.setToolTip(ToQt(caption.Hint()));
    widget.setTitle(ToQt(caption.Caption()));
  });
}

void BindCheckBox(const Runner& run, CheckBox& box, QCheckBox& widget) {
  run.refresher().Bind(box.StateChanged, [&box, &widget] {
    ApplyCommon(box, widget);
    widget.setText(ToQt(box.Caption()));
    widget.setChecked(box.Checked());
  });
  QObject::connect(&widget, &QCheckBox::clicked, &widget,
                   [run, &box] { run([&box] { box.Click(); }); });
}

void BindComboBox(const Runner& run, ComboBox& box, QComboBox& widget) {
  run.refresher().Bind(box.StateChanged, [&box, &widget] {
    ApplyCommon(box, widget);
    widget.setEditable(box.Editable());
    QStringList items;
    for (const auto& item : box.Items()) items << ToQt(item);
    bool same = widget.count() == items.size();
    for (int i = 0; same && i < widget.count(); ++i) same = widget.itemText(i) == items[i];
    if (!same) {
      widget.clear();
      widget.addItems(items);
    }
    // Showing the model must not come back as the user's typing: a typed text that is no
    // item would be wiped by the index of none on its way through.
    const QSignalBlocker blocker(&widget);
    widget.setCurrentIndex(box.ItemIndex());
    if (box.Editable()) widget.setEditText(ToQt(box.Text()));
  });
  QObject::connect(&widget, &QComboBox::activated, &widget,
                   [run, &box](int index) { run([&box, index] { box.UserSelect(index); }); });
  QObject::connect(&widget, &QComboBox::editTextChanged, &widget, [run, &box](const QString& text) {
    if (box.Editable() && FromQt(text) != box.Text())
      run([&box, text] { box.UserType(FromQt(text)); });
  });
}

void BindButton(const Runner& run, Button& button, QAbstractButton& widget) {
  run.refresher().Bind(button.StateChanged, [&button, &widget] {
    ApplyCommon(button, widget);
    widget.setText(ToQt(button.Caption()));
  });
  QObject::connect(&widget, &QAbstractButton::clicked, &widget,
                   [run, &button] { run([&button] { button.Click(); }); });
}

void BindPercentBar(const Runner& run, PercentBar& bar, PercentBarWidget& widget) {
  run.refresher().Bind(bar.StateChanged, [&bar, &widget] {
    ApplyCommon(bar, widget);
    const double range = static_cast<double>(bar.Max() - PercentBar::kMin);
    const double share =
        range > 0 ? static_cast<double>(bar.Position() - PercentBar::kMin) / range : 0;
    widget.SetProgress(share, bar.Percent());
  });
}

void BindWindow(const Runner& run, Window& window, QWidget& widget) {
  run.refresher().Bind(window.StateChanged, [&window, &widget] {
    widget.setWindowTitle(ToQt(window.Caption()));
    if (window.Visible() != widget.isVisible()) widget.setVisible(window.Visible());
  });
  window.BringToFront.Subscribe([&widget] {
    widget.show();
    widget.raise();
    widget.activateWindow();
  });
  widget.setProperty(kModelProperty, QVariant::fromValue(reinterpret_cast<quintptr>(&window)));
  window.PlaceBeside.Subscribe([&window, &widget] {
    if (QWidget* other = WidgetOf(window.Neighbour())) {
      ShowBeside(widget, *other);
    } else {
      widget.show();
    }
  });
  // Keeps the model's Visible() in step when the user closes the widget itself.
  new EventFilter(widget, [run, &window](QEvent& event) {
    if (event.type() == QEvent::Close && window.Visible()) run([&window] { window.Hide(); });
    return false;
  });
}

}  // namespace tarvik
