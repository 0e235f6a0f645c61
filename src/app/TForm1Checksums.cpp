// The main window's checksum commands: the fingerprints of the last check saved as a checksum
// file, and the checksum file the checks verify against.

#include <memory>

#include "app/TForm1.h"
#include "platform/IoError.h"
#include "scan/ChecksumProblems.h"
#include "scan/ProblemLines.h"
#include "scan/SumsFile.h"

namespace tarvik {

namespace {

// The status line of a check that verifies against `all`.
std::string VerifyingText(const std::vector<ExpectedSums>& all) {
  std::string text = "Сверка с контрольными суммами: ";
  for (const ExpectedSums& sums : all) {
    if (&sums != &all.front()) text += ", ";
    text += sums.Path();
    if (sums.Malformed() > 0) {
      text += " (строк не по формату: " + std::to_string(sums.Malformed()) +
              ", первая: " + std::to_string(sums.FirstMalformed()) + ")";
    }
  }
  return text;
}

bool Unusable(const ExpectedSums& sums) {
  return sums.LoadError() != kNoError || sums.NamesNothing();
}

}  // namespace

bool TForm1::PrepareChecksums(const std::string& start_dir) {
  Scan.StartDirectory = start_dir;
  std::vector<ExpectedSums>* all = &Checksums;
  if (all->empty() && FindChecksumFile) {
    found_checksums_.clear();
    for (const std::string& found : ChecksumFilesIn(platform_, start_dir)) {
      found_checksums_.emplace_back().Load(platform_, found, DirectoryListBox1.CaseSensitive());
    }
    all = &found_checksums_;
  }
  // A checksum file that cannot be verified against is never passed over in silence: the check
  // would seem to have verified what it never did. The others are still verified against.
  std::string unusable_line;
  for (const ExpectedSums& sums : *all) {
    if (!Unusable(sums)) continue;
    unusable_line = UnusableChecksumsLine(sums);
    windows_.ListError.AddLine(unusable_line);
  }
  std::erase_if(*all, Unusable);
  for (ExpectedSums& sums : *all) sums.BeginCheck();
  Scan.Checksums = *all;
  if (!unusable_line.empty()) {
    Label11.SetCaption(unusable_line);
  } else {
    Label11.SetCaption(all->empty() ? std::string(kStatusHint) : VerifyingText(*all));
  }
  return unusable_line.empty();
}

void TForm1::N15Click() {
  // The digests are named from the folder they were taken in; another folder shown would
  // suggest they are of its files.
  const std::string& checked = Scan.StartDirectory;
  if (engine_.NormalizedDirectory(DirectoryListBox1.Directory()) != checked) {
    dialogs_.MessageBox(MessageKind::kError,
                        Quoted("Контрольные суммы последней проверки относятся к папке ", checked,
                               ". Откройте её, чтобы сохранить их."));
    return;
  }
  SD2.initial_dir = checked;
  SD2.file_name = "SHA256SUMS";
  const std::optional<std::string> chosen = dialogs_.SaveFile(SD2);
  if (!chosen) return;
  int code = kNoError;
  const std::unique_ptr<SumsFile> sums = SumsFile::Create(platform_, *chosen, code);
  CheckIo(code);
  for (const Fingerprint& fingerprint : fingerprints_) {
    sums->AddFile(fingerprint.path, fingerprint.digest);
  }
  CheckIo(sums->LostLines());
  Label11.SetCaption(
      Quoted("Контрольные суммы сохранены в ", *chosen, ", имена файлов - относительно его папки"));
}

void TForm1::N16Click() {
  if (!Checksums.empty()) {
    if (dialogs_.MessageBox(MessageKind::kConfirmation,
                            Quoted("Больше не сверять с ", Checksums.front().Path(), " ?"))) {
      Checksums.clear();
      N16.SetChecked(false);
    }
    return;
  }
  const std::optional<std::string> chosen = dialogs_.SaveFile(OD1);
  if (!chosen) return;
  ExpectedSums sums;
  CheckIo(sums.Load(platform_, *chosen, DirectoryListBox1.CaseSensitive()));
  if (sums.NamesNothing()) {
    dialogs_.MessageBox(MessageKind::kError, UnusableChecksumsLine(sums));
    return;
  }
  Checksums.push_back(std::move(sums));
  N16.SetChecked(true);
}

}  // namespace tarvik
