#include "app/TForm1.h"

#include <algorithm>

#include "platform/FileSizeOf.h"
#include "util/Number.h"
#include "util/Path.h"
#include "util/Text.h"

namespace tarvik {

TForm1::TForm1(Platform& platform, Dialogs& dialogs, SecondaryWindows windows)
    : DriveComboBox1(platform),
      DirectoryListBox1(platform),
      FileListBox2(platform),
      FileListBox1(platform),
      SpeedWindow(platform, dialogs, Scan.Speed),
      HistoryWindow(SpeedWindow, dialogs,
                    HistoryAccess{.checks = [this] { return VolumeHistory(); },
                                  .samples = [this](std::int64_t id) { return CheckSamples(id); },
                                  .accept = [this] { return AcceptVolumeChanges(); }}),
      platform_(platform),
      dialogs_(dialogs),
      windows_(windows),
      list_file_(platform, dialogs, CheckBox6, SD1, ProgramDir, ListFileName),
      engine_(platform, dialogs, Scan,
              ScanControls{DriveComboBox1, DirectoryListBox1, FileListBox1, CBSizeBlock,
                           EditCurFile, EditSec, EditSec1, Edit1, Edit2, Gauge1, Gauge2, Gauge3, N6,
                           windows.ListError},
              list_file_),
      walk_(engine_, dialogs, WalkControls{DirectoryListBox1, FileListBox1, FileListBox2, Gauge1}),
      listings_(platform) {
  DirectoryListBox1.SetListingCache(&listings_);
  FileListBox1.SetListingCache(&listings_);
  FileListBox2.SetListingCache(&listings_);
  SetCaption("Проверка файлов на диске.");
  Layout.left = 201;
  Layout.top = 114;
  Layout.width = 640;
  Layout.height = 480;
  Layout.maximised = true;
  InitTopBand();
  InitSettingsBand();
  InitStatusBand();
  InitMenus();
  WireEvents();
  // The window keeps every check's fingerprints, for N15.
  Scan.Speed.OnFileEnd = [this](const FileSpeed& file) {
    if (file.fingerprint) fingerprints_.push_back({file.path, *file.fingerprint});
  };
  FormCreate();
}

void TForm1::WireEvents() {
  DriveComboBox1.OnChange.Subscribe([this] { DriveComboBox1Change(); });
  DriveComboBox1.OnClick.Subscribe([this] { DriveComboBox1Change(); });
  DirectoryListBox1.OnChange.Subscribe([this] { DirectoryListBox1Change(); });
  FileListBox1.OnChange.Subscribe([this] { FileListBox1Change(); });
  FileListBox1.OnClick.Subscribe([this] { FileListBox1Click(); });
  EditMask.OnChange.Subscribe([this] { EditMaskChange(); });
  EditCurFile.OnChange.Subscribe([this] { EditCurFileChange(); });
  EditCurDir.OnChange.Subscribe([this] { EditCurDirChange(); });
  for (CheckBox* box : {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5})
    box->OnClick.Subscribe([this] { CheckBox1Click(); });
  BitBtn1.OnClick.Subscribe([this] { BitBtn1Click(); });
  N2.OnClick.Subscribe([this] { BitBtn1Click(); });
  N4.OnClick.Subscribe([this] { BitBtn1Click(); });
  N3.OnClick.Subscribe([this] { N3Click(); });
  N6.OnClick.Subscribe([this] { N6Click(); });
  N7.OnClick.Subscribe([this] { N7Click(); });
  N8.OnClick.Subscribe([this] { N8Click(); });
  N14.OnClick.Subscribe([this] { N14Click(); });
  N15.OnClick.Subscribe([this] { N15Click(); });
  N16.OnClick.Subscribe([this] { N16Click(); });
  N17.OnClick.Subscribe([this] { N17Click(); });
  N18.OnClick.Subscribe([this] { N18Click(); });
  for (MenuItem* item : {&N9, &N12}) item->OnClick.Subscribe([this] { N9Click(); });
  for (MenuItem* item : {&N10, &N13}) item->OnClick.Subscribe([this] { N10Click(); });
}

void TForm1::FormCreate() {
  const std::string program_path = platform_.ProgramPath();
  ProgramDir = program_path.substr(0, program_path.rfind('\\') + 1);
  EditCurDir.SetText("");
  EditCurDir.SetText(DirectoryListBox1.Directory());
  CBSizeBlock.SetItemIndex(3);
  ListFileName = ProgramDir + "!ListFiles.txt";
  SD1.initial_dir = ProgramDir;
  SD1.file_name = ListFileName;
  UpdateDiskSize();
}

void TForm1::ShowMaximised() {
  Show();
  FileListBox1.CreateWindow();
}

void TForm1::UpdateDiskSize() {
  const char letter = UpCaseDrive(DriveComboBox1.Drive());
  const std::string drive = letter == 0 ? "" : std::string(1, letter);
  const std::int64_t capacity = platform_.TotalCapacity(drive + ":\\");
  const std::string number = FormatFixed(static_cast<double>(capacity) / 1000000, 3);
  LabelDiskSize.SetCaption("Объем диска " + drive + ":  = " + number + " Мб.");
  // The bar takes no maximum below 0; an unknown capacity leaves it empty, so that nothing is
  // shown as a share of a size nobody knows.
  Gauge3.SetMax(std::max<std::int64_t>(capacity, 0));
}

void TForm1::DriveComboBox1Change() { UpdateDiskSize(); }

void TForm1::DirectoryListBox1Change() {
  EditCurDir.SetText(DirectoryListBox1.Directory());
  FileListBox2.ApplyPath(DirectoryListBox1.Directory());
  EditCountDir.SetText(std::to_string(DirectoryListBox1.Count()));
}

void TForm1::DirectoryListBox1Enter() {
  N3.SetEnabled(false);
  N4.SetEnabled(true);
}

void TForm1::DirectoryListBox1Exit() { N4.SetEnabled(false); }

void TForm1::FileListBox1Enter() {
  N3.SetEnabled(true);
  N4.SetEnabled(false);
}

void TForm1::FileListBox1Exit() { N3.SetEnabled(false); }

void TForm1::FileListBox1Change() { EditCountFile.SetText(std::to_string(FileListBox1.Count())); }

void TForm1::FileListBox1Click() {
  const int index = FileListBox1.ItemIndex();
  if (index >= 0) EditCurFile.SetText(FileListBox1.Entries()[index].text);
}

void TForm1::EditCurFileChange() {
  const std::int64_t size = FileSizeOf(platform_, EditCurFile.Text());
  EditSize.SetText(FormatFixed(static_cast<double>(size) / 1000, 3) + "  Кб");
}

void TForm1::EditMaskChange() {
  std::string mask = EditMask.Text();
  TrimSpaces(mask);
  FileListBox1.SetMask(mask.empty() ? "*.*" : mask);
}

// Each step assigns the grown set, one ticked box at a time from the empty set, as the
// attribute filter is defined to be built. The file list reads the directory on every change
// of its set, so one click may read it up to six times, each read with its change notice.
void TForm1::CheckBox1Click() {
  TFileType file_type;
  FileListBox1.SetFileType(file_type);
  const std::pair<CheckBox*, TFileAttr> boxes[] = {
      {&CheckBox1, ftReadOnly}, {&CheckBox2, ftHidden}, {&CheckBox3, ftSystem},
      {&CheckBox4, ftArchive},  {&CheckBox5, ftNormal},
  };
  for (auto [box, attr] : boxes) {
    if (!box->Checked()) continue;
    file_type.Include(attr);
    FileListBox1.SetFileType(file_type);
  }
}

void TForm1::N7Click() {
  windows_.DlgInfo.Hide();
  dialogs_.ShowModal(windows_.AboutBox);
}

void TForm1::N8Click() {
  windows_.DlgInfo.Hide();
  windows_.ListError.Show();
}

}  // namespace tarvik
