#pragma once

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/Window.h"

namespace tarvik {

// The About box: what the program does, its version and where to report problems.
class TAboutBox : public Window {
 public:
  TAboutBox();

  Label ProductName;
  Label Label1;
  Label Version;
  Label Copyright;
  Label Contact;
  Label Label2;
  Label Comments;
  Label Label5;
  Button OKButton;

  // Pixel sizes of the design: the bevelled panel, the picture and the text areas.
  static constexpr int kClientWidth = 322;
  static constexpr int kClientHeight = 330;
};

}  // namespace tarvik
