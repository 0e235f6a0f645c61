#include "scan/TSpeedWindow.h"

#include <utility>

#include "platform/IoError.h"
#include "platform/OwnedFile.h"

namespace tarvik {

TSpeedWindow::TSpeedWindow(Platform& platform, Dialogs& dialogs, const ReadSpeed& speed)
    : platform_(platform), dialogs_(dialogs), speed_(speed) {
  SetCaption("Скорость чтения");
  Layout = {.width = 720, .height = 480, .centred = true};
  Label1.SetCaption("Самые медленные файлы от 1 Мб:");
  Label2.SetCaption("Медленнее, чем в прошлую проверку (тогда):");
  N1.SetCaption("Сохранить как PNG…");
  PopupMenu1.Add(N1);
  N1.OnClick.Subscribe([this] { N1Click(); });
  SD1 = {.title = "Сохранить график",
         .filters = {{"Рисунки PNG", "*.png"}},
         .default_extension = "png",
         .overwrite_prompt = true,
         .hide_read_only = true,
         .resizable = true,
         .initial_dir = {},
         .file_name = "speed.png"};
}

std::string TSpeedWindow::TipAt(const SpeedPlot& plot, int x, int width) const {
  const std::optional<SpeedAt> at = SpeedAtColumn(speed_, plot, x, width);
  return at ? at->file + "\n" + SpeedText(at->megabytes_per_second) : std::string();
}

std::vector<std::string> TSpeedWindow::SlowestLines() const {
  std::vector<std::string> lines;
  for (const FileSpeed& file : speed_.Slowest()) {
    lines.push_back(SpeedText(*MegabytesPerSecond(file.bytes, file.milliseconds)) + "  " +
                    file.path);
  }
  return lines;
}

std::vector<std::string> TSpeedWindow::SlowerLines() const {
  std::vector<std::string> lines;
  for (const FileSpeed& file : speed_.Slower()) {
    lines.push_back(SpeedText(*MegabytesPerSecond(file.bytes, file.milliseconds)) + " (" +
                    SpeedText(*file.slower_than) + ")  " + file.path);
  }
  return lines;
}

void TSpeedWindow::SetEarlier(std::vector<SpeedSample> samples) {
  earlier_ = std::move(samples);
  ++earlier_revision_;
}

void TSpeedWindow::N1Click() {
  const std::optional<std::string> chosen = dialogs_.SaveFile(SD1);
  if (!chosen || !Picture) return;
  SD1.file_name = *chosen;
  OwnedFile file(platform_);
  CheckIo(platform_.CreateTextFile(*chosen, file.Reset()));
  CheckIo(platform_.Write(file.get(), Picture()));
}

}  // namespace tarvik
