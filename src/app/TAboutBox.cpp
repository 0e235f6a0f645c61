#include "app/TAboutBox.h"

#include "app/Version.h"

namespace tarvik {

TAboutBox::TAboutBox() {
  SetCaption("Краткая информация");
  Layout = WindowLayout::CentredDialog(kClientWidth, kClientHeight);

  ProductName.SetCaption("Проверка файлов на логических дисках.");
  Label1.SetCaption("(не производит модификацию дисков)");
  Version.SetCaption(std::string("tarvik ") + kVersion + " от " + kReleaseDate);
  Copyright.SetCaption("© 2026 команда tarvik");
  Contact.SetCaption("Об ошибках: раздел issues проекта tarvik");
  Label2.SetCaption(
      "Программа предназначена для полной проверки файлов на лазерных дисках, но может быть "
      "использована и для других логических дисков.");
  Comments.SetCaption(
      "Программа проверяет файлы на заданном логическом диске посредством простого считывания "
      "их блоками по 2048 ... 32768 байта. Возможна проверка одного файла (правая кнопка мыши)."
      "          Esc - прервать сканирование.");
  Label5.SetCaption("В этой версии появилась возможность проверять сетевые диски");
  OKButton.SetCaption("OK");
  OKButton.OnClick.Subscribe([this] { SetResult(ModalResult::kOk); });
}

}  // namespace tarvik
