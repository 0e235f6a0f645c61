#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "scan/ReadSpeed.h"
#include "scan/SpeedPlot.h"
#include "ui/Dialogs.h"
#include "ui/Label.h"
#include "ui/MenuItem.h"
#include "ui/Window.h"

namespace tarvik {

// The read-speed window: the speed of the command in progress or of the last one as a curve,
// the files with a problem marked on it, and the slowest large files listed below it. Not
// modal; it follows the check while it is shown.
class TSpeedWindow : public Window {
 public:
  // The units along the graph's axes.
  static constexpr char kSpeedAxis[] = "Мб/с";
  static constexpr char kBytesAxis[] = "Мб";

  TSpeedWindow(Platform& platform, Dialogs& dialogs, const ReadSpeed& speed);

  const ReadSpeed& Speed() const { return speed_; }
  SpeedPlot Plot(int width, int height) const { return PlotSpeed(speed_, width, height, earlier_); }
  // The samples of an earlier check, drawn in grey under the current curve; none for none.
  void SetEarlier(std::vector<SpeedSample> samples);
  // Changes whenever anything shown changes.
  std::uint64_t Revision() const { return speed_.Revision() + earlier_revision_; }
  // "<file>\n<speed>" for the curve at pixel column x of a plot `width` wide; empty where the
  // curve is not.
  std::string TipAt(const SpeedPlot& plot, int x, int width) const;
  // "<speed>  <file>" for each of the slowest files, slowest first.
  std::vector<std::string> SlowestLines() const;
  // "<speed> (<speed then>)  <file>" for each file slower than at the volume's last check.
  std::vector<std::string> SlowerLines() const;

  // Asks for a file in SD1 and writes the graph there as PNG.
  void N1Click();

  Label Label1;  // the caption of the slowest files
  Label Label2;  // the caption of the files slower than last time
  MenuItem PopupMenu1;
  MenuItem N1;
  SaveDialog SD1;
  // The graph as the window shows it, as the bytes of a PNG file; the front end draws it.
  std::function<std::string()> Picture;

 private:
  Platform& platform_;
  Dialogs& dialogs_;
  const ReadSpeed& speed_;
  std::vector<SpeedSample> earlier_;
  std::uint64_t earlier_revision_ = 0;
};

}  // namespace tarvik
