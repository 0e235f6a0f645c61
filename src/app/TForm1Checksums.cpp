// The main window's checksum commands: the fingerprints of the last check saved as a checksum
// file, and the checksum file the checks verify against.

#include <memory>

#include "app/TForm1.h"
#include "platform/IoError.h"
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

void TForm1::PrepareChecksums(const std::string& start_dir) {
  Scan.StartDirectory = start_dir;
  ExpectedSums* sums = Checksums ? &*Checksums : nullptr;
  if (sums == nullptr && FindChecksumFile) {
    const std::string found = ChecksumFileIn(platform_, start_dir);
    found_checksums_.emplace();
    // One that cannot be read is a file of the medium like any other: its check says why.
    if (!found.empty() &&
        found_checksums_->Load(platform_, found, DirectoryListBox1.CaseSensitive()) == kNoError) {
      sums = &*found_checksums_;
    }
  }
  if (sums != nullptr) sums->BeginCheck();
  Scan.Checksums = sums;
  Label11.SetCaption(sums != nullptr ? VerifyingText(*sums) : kStatusHint);
}

void TForm1::N15Click() {
  const std::optional<std::string> chosen = dialogs_.SaveFile(SD2);
  if (!chosen) return;
  SD2.file_name = *chosen;
  int code = kNoError;
  const std::unique_ptr<SumsFile> sums = SumsFile::Create(platform_, *chosen, code);
  CheckIo(code);
  for (const Fingerprint& fingerprint : fingerprints_) {
    sums->AddFile(Scan.StartDirectory, fingerprint.path, fingerprint.digest);
  }
  CheckIo(sums->LostLines());
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
  Checksums = std::move(sums);
  N16.SetChecked(true);
}

}  // namespace tarvik
