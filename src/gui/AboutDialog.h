#pragma once

#include <QDialog>

#include "Runner.h"
#include "app/TAboutBox.h"

namespace tarvik {

// The About box: a fixed dialog centred on the screen, shown modally by its command.
class AboutDialog : public QDialog {
 public:
  AboutDialog(TAboutBox& about, const Runner& run, QWidget* parent = nullptr);
};

}  // namespace tarvik
