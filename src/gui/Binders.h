#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "PercentBarWidget.h"
#include "QtText.h"
#include "Runner.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Control.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/PercentBar.h"
#include "ui/Window.h"

// Each function makes a widget show a control's state (pulled through the refresher) and
// forwards the user's input on it to the control through the runner.
namespace tarvik {

// Enabled, visible and hint, which every control has.
void ApplyCommon(const Control& control, QWidget& widget);

void BindEdit(const Runner& run, Edit& edit, QLineEdit& widget);
void BindLabel(const Runner& run, Label& label, QLabel& widget);
void BindGroupBox(const Runner& run, Label& caption, QGroupBox& widget);
void BindCheckBox(const Runner& run, CheckBox& box, QCheckBox& widget);
void BindComboBox(const Runner& run, ComboBox& box, QComboBox& widget);
void BindButton(const Runner& run, Button& button, QAbstractButton& widget);
void BindPercentBar(const Runner& run, PercentBar& bar, PercentBarWidget& widget);
// Caption, visibility, raising and placing beside another window of a secondary window.
// Closing the widget hides the model.
void BindWindow(const Runner& run, Window& window, QWidget& widget);

}  // namespace tarvik
