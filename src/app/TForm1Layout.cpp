// The main window's controls as designed: captions, initial texts, hints and states.
#include "app/TForm1.h"
#include "scan/ListFile.h"

namespace tarvik {

void TForm1::InitTopBand() {
  DriveComboBox1.SetTextCase(tcUpperCase);
  DriveComboBox1.SetDirList(&DirectoryListBox1);
  DriveComboBox1.SetHint("Текущий диск (по правой кнопке - соединение с сетевым диском)");
  DirectoryListBox1.SetFileList(&FileListBox1);
  Label1.SetCaption("Каталог :");
  EditCurDir.SetReadOnly(true);
  EditCurDir.SetHint("Текущий Каталог");
  Label3.SetCaption("Всего = ");
  EditCountDir.SetReadOnly(true);
  EditCountDir.SetHint("Кол-во ПодКаталогов в текущем каталоге");
  EditCountDir.SetText("0");
  FileListBox2.SetHint("Список ПодКаталогов текущего каталога");
}

void TForm1::InitSettingsBand() {
  GroupBox1.SetCaption("Список файлов  :  ");
  GroupBox2.SetCaption("Тип файлов : ");
  const std::pair<CheckBox*, const char*> attribute_boxes[] = {
      {&CheckBox1, "ReadOnly"}, {&CheckBox2, "Hidden"}, {&CheckBox3, "System"},
      {&CheckBox4, "Archive"},  {&CheckBox5, "Normal"},
  };
  for (auto [box, caption] : attribute_boxes) {
    box->SetCaption(caption);
    box->SetChecked(true);
  }
  Label2.SetCaption("Маска  :");
  EditMask.SetText("*.*");
  EditMask.SetHint("Маска обрабатываемых файлов");
  BitBtn1.SetCaption("Проверить файлы");
  BitBtn1.SetHint("Проверить файлы по всем ПодКаталогам, начиная с текущего");
  Gauge1.SetHint("% обработки всего (по каталогам)");
  CheckBoxMode.SetCaption("проверять, включая ПодКаталоги");
  CheckBoxMode.SetChecked(true);
  CheckBox6.SetCaption("Список файлов  -> в текст.файл.");
  Label10.SetCaption("Размер блоков : ");
  CBSizeBlock.SetEditable(false);
  CBSizeBlock.SetItems({"2048", "4096", "8192", "16384", "32768"});
  CBSizeBlock.SetHint("Размер блоков считывания (чем больше размер блоков - тем выше скорость)");
  Label7.SetCaption("Время  = ");
  EditSec1.SetReadOnly(true);
  EditSec1.SetText("00:00:00");
  EditSec1.SetHint("Общие затраты времени на обработку");
  Label4.SetCaption("Всего = ");
  EditCountFile.SetReadOnly(true);
  EditCountFile.SetText("0");
  EditCountFile.SetHint("Всего файлов в текущем Каталоге");
}

void TForm1::InitStatusBand() {
  FileListBox1.SetFileType({ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal});
  FileListBox2.SetFileType(SubdirectoryWalk::SubdirectoryFileType(FileListBox1.FileType()));
  FileListBox1.SetShowGlyphs(true);
  EditCurFile.SetReadOnly(true);
  EditCurFile.SetText("*.*");
  EditCurFile.SetHint("Имя текущего файла");
  Label5.SetCaption("Размер файла  = ");
  EditSize.SetReadOnly(true);
  EditSize.SetText("0");
  EditSec.SetReadOnly(true);
  EditSec.SetText("0");
  EditSec.SetHint("Затраты на проверку текущего файла");
  Label6.SetCaption("Секунд");
  Gauge2.SetHint("% обработки текущего файла");
  GroupBox3.SetCaption("Всего считано : ");
  Label8.SetCaption("Файлов  = ");
  Edit1.SetReadOnly(true);
  Edit1.SetText("0");
  Edit2.SetReadOnly(true);
  Edit2.SetText("0");
  Label9.SetCaption("Кб");
  Gauge3.SetHint("% обработки по байтам относительно общего объема диска");
  LabelDiskSize.SetCaption("Объем диска = 0 Мб");
  Label11.SetCaption(kStatusHint);
}

void TForm1::InitMenus() {
  struct Item {
    MenuItem* menu;
    MenuItem* item;
    const char* caption;
    const char* short_cut;
  };
  const Item items[] = {
      {&MainMenu1, &N1, "Работа", ""},
      {&N1, &N2, "Проверить", "F5"},
      {&N1, &N8, "Показать последний список проблемных файлов", "Ctrl+F5"},
      {&N1, &N14, "График скорости чтения", "Ctrl+G"},
      {&N1, &N15, "Сохранить контрольные суммы…", ""},
      {&N1, &N16, "Сверить с контрольными суммами…", ""},
      {&N1, &N17, "Запоминать проверки", ""},
      {&N1, &N18, "История проверок", "Ctrl+H"},
      {&N1, &N5, MenuItem::kSeparator, ""},
      {&N1, &N6, "Прервать", "Esc"},
      {&MainMenu1, &N7, "?", ""},
      {&PopupMenu1, &N3, "проверить файл", ""},
      {&PopupMenu1, &N4, "проверить каталог", ""},
      {&PopupMenu1, &N11, MenuItem::kSeparator, ""},
      {&PopupMenu1, &N12, "Сделать сетевое соединение", ""},
      {&PopupMenu1, &N13, "Прервать сетевое соединение", ""},
      {&PopupMenu2, &N9, "Сделать сетевое соединение", ""},
      {&PopupMenu2, &N10, "Прервать сетевое соединение", ""},
  };
  for (const auto& [menu, item, caption, short_cut] : items) {
    item->SetCaption(caption);
    item->SetShortCut(short_cut);
    menu->Add(*item);
  }
  N6.SetEnabled(false);
  N15.SetEnabled(false);
  N17.SetChecked(true);

  SD1 = ListFileSaveDialog();
  SD2.title = "Сохранить контрольные суммы";
  SD2.filters = {{"Все файлы", "*.*"}};
  SD2.overwrite_prompt = true;
  SD2.hide_read_only = true;
  SD2.resizable = true;
  SD2.file_name = "SHA256SUMS";
  OD1.title = "Сверить с контрольными суммами";
  OD1.filters = SD2.filters;
  OD1.resizable = true;
  OD1.open_existing = true;
}

}  // namespace tarvik
