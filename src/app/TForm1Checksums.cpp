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

// The status line of a check that verifies against `sums`.
std::string VerifyingText(const ExpectedSums& sums) {
  std::string text = "Сверка с контрольными суммами: " + sums.Path();
  if (sums.Malformed() > 0) {
    text += "; строк не по формату: " + std::to_string(sums.Malformed()) +
            " (первая: " + std::to_string(sums.FirstMalformed()) + ")";
  }
  return text;
}

}  // namespace

bool TForm1::PrepareChecksums(const std::string& start_dir) {
  Scan.StartDirectory = start_dir;
  ExpectedSums* sums = Checksums ? &*Checksums : nullptr;
  if (sums == nullptr && FindChecksumFile) {
    const std::string found = ChecksumFileIn(platform_, start_dir);
    if (!found.empty()) {
      found_checksums_.emplace();
      found_checksums_->Load(platform_, found, DirectoryListBox1.CaseSensitive());
      sums = &*found_checksums_;
    }
  }
  // A checksum file that cannot be verified against is never passed over in silence: the check
  // would seem to have verified what it never did.
  if (sums != nullptr && (sums->LoadError() != kNoError || sums->NamesNothing())) {
    const std::string line = UnusableChecksumsLine(*sums);
    windows_.ListError.AddLine(line);
    Label11.SetCaption(line);
    Scan.Checksums = nullptr;
    return false;
  }
  if (sums != nullptr) sums->BeginCheck();
  Scan.Checksums = sums;
  Label11.SetCaption(sums != nullptr ? VerifyingText(*sums) : kStatusHint);
  return true;
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
  if (Checksums) {
    if (dialogs_.MessageBox(MessageKind::kConfirmation,
                            Quoted("Больше не сверять с ", Checksums->Path(), " ?"))) {
      Checksums.reset();
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
  Checksums = std::move(sums);
  N16.SetChecked(true);
}

}  // namespace tarvik
