#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/IoError.h"
#include "platform/OwnedFile.h"
#include "scan/ChecksumProblems.h"
#include "scan/ProblemLines.h"
#include "scan/ScanEngine.h"
#include "ui/ApplicationTitle.h"
#include "util/Number.h"
#include "util/Time.h"

namespace tarvik {

namespace {

constexpr std::string_view kFileQuestion = "Вы желаете превать сканирование файла ";

}  // namespace

ScanEngine::ScanEngine(Platform& platform, Dialogs& dialogs, ScanState& state,
                       ScanControls controls, ListFile& list_file)
    : platform_(platform),
      dialogs_(dialogs),
      state_(state),
      controls_(controls),
      list_file_(list_file) {}

int ScanEngine::BlockSize() const {
  const int index = controls_.CBSizeBlock.ItemIndex();
  constexpr int kCount = static_cast<int>(std::size(kBlockSizes));
  // The list is a plain drop-down that always has an item selected; its design default
  // stands in should that ever not hold.
  return index >= 0 && index < kCount ? kBlockSizes[index] : kBlockSizes[3];
}

void ScanEngine::BeginCommand() {
  state_.AbortFlag = false;
  state_.FilesOpened = 0;
  state_.BytesRead = 0;
  state_.KilobytesRead = 0;
  state_.Speed.BeginCommand();
  ApplicationTitle::Get().SetText("Проверка диска " + DriveLetter());
  controls_.Edit1.SetText("0");
  controls_.Edit2.SetText("0");
  controls_.Gauge3.SetPosition(0);
  controls_.EditSec1.SetText("0");
  shown_elapsed_ = -1;
  state_.StartTick = platform_.TickCount();
}

std::string ScanEngine::DriveLetter() const {
  const char drive = controls_.DriveComboBox1.Drive();
  return drive ? std::string(1, drive) : std::string();
}

bool ScanEngine::Ask(MessageKind kind, const std::string& text) {
  return !state_.Closing && ShowQuestion(kind, text);
}

bool ScanEngine::ShowQuestion(MessageKind kind, const std::string& text) {
  const std::uint32_t opened = platform_.TickCount();
  const bool ok = dialogs_.MessageBox(kind, text);
  state_.Speed.LeaveOut(platform_.TickCount() - opened);
  return ok;
}

bool ScanEngine::AbortConfirmed(std::string_view question, const std::string& name) {
  if (!state_.AbortFlag) return false;
  if (state_.Closing || ShowQuestion(MessageKind::kConfirmation, Quoted(question, name, " ?"))) {
    return true;
  }
  state_.AbortFlag = false;
  controls_.N6.SetEnabled(true);
  return false;
}

bool ScanEngine::CheckFile(bool show_dialogs, const std::string& path) {
  list_file_.AppendListLine(path);
  return ReadCheckFile(BlockSize(), show_dialogs, path);
}

bool ScanEngine::ReadCheckFile(int block_size, bool show_dialogs, const std::string& path) {
  state_.Speed.BeginFile(path, platform_.TickCount());
  bool result = ReadWholeFile(block_size, show_dialogs, path);
  const std::uint32_t end = platform_.TickCount();
  if (state_.History != nullptr && !CompareWithLastCheck(show_dialogs, path, end)) result = false;
  state_.Speed.EndFile(end);
  if (!result && !state_.Closing) controls_.ListError.Show();
  return result;
}

bool ScanEngine::ReadWholeFile(int block_size, bool show_dialogs, const std::string& path) {
  const std::uint32_t file_start = platform_.TickCount();
  controls_.Gauge2.SetPosition(0);

  if (!platform_.FileExists(path)) {
    ReportProblem(show_dialogs, path, kNotFoundSuffix);
    return false;
  }
  OwnedFile file(platform_);
  int open_code = platform_.OpenForReading(path, file.Reset());
  if (open_code != kNoError) {
    CheckSystemIo(open_code);
    ReportProblem(show_dialogs, path, kFirstOpenSuffix);
    return false;
  }
  ++state_.FilesOpened;
  // The first open only measures the file. A size that cannot be taken from an open file is
  // not a property of the file but a failure of the system: it ends the command.
  std::int64_t file_size = 0;
  CheckIo(platform_.SizeOfOpenFile(file.get(), file_size));
  state_.Speed.SetFileSize(file_size);
  file.Close();
  open_code = platform_.OpenForReading(path, file.Reset());
  if (open_code != kNoError) {
    CheckSystemIo(open_code);
    ReportProblem(show_dialogs, path, kSecondOpenSuffix);
    return false;
  }
  platform_.DropCachedPages(file.get());
  std::int64_t modified = 0;
  if (state_.History != nullptr &&
      platform_.ModifiedTimeOfOpenFile(file.get(), modified) == kNoError) {
    state_.Speed.SetModified(modified);
  }

  // The checksum files' digests of the file, and the fingerprint wanted, hashed as read.
  expected_.clear();
  DigestKinds kinds = state_.WantFingerprints ? KindBit(DigestKind::kSha256) : 0;
  for (ExpectedSums& sums : state_.Checksums) {
    const std::vector<Digest>* digests = sums.Expected(path);
    if (digests == nullptr) continue;
    expected_.push_back(digests);
    for (const Digest& digest : *digests) kinds |= KindBit(digest.kind);
  }
  hashes_.BeginFile(kinds, static_cast<std::size_t>(block_size), file_size);

  bool result = true;
  bool read_error = false;
  std::int64_t file_bytes = 0;
  // A read that hangs on a damaged medium keeps the window alive meanwhile, and Esc is asked
  // about at once: a confirmed abort (or the window closing) gives the read up.
  bool read_given_up = false;
  const std::function<bool()> keep_waiting = [&] {
    dialogs_.ProcessMessages();
    read_given_up = AbortConfirmed(kFileQuestion, path);
    return !read_given_up;
  };
  std::size_t count = 0;
  do {
    const int code =
        platform_.ReadWaiting(file.get(), hashes_.NextBuffer(), block_size, count, keep_waiting);
    if (read_given_up) {
      count = 0;
    } else if (code != kNoError) {
      result = false;
      read_error = true;
      count = 0;
      ReportProblem(show_dialogs, path, kReadSuffix);
    } else {
      file_bytes += static_cast<std::int64_t>(count);
      if (count != 0) hashes_.Hash(count);
      ShowBlockProgress(file_bytes, file_size, file_start);
    }
    if (!read_given_up) dialogs_.ProcessMessages();
    if (read_given_up || AbortConfirmed(kFileQuestion, path)) {
      ReportProblem(false, path, kAbortSuffix);
      count = 0;
    }
    state_.BytesRead += static_cast<std::int64_t>(count);
  } while (count != 0 && !read_error);

  if (!read_error) {
    controls_.Gauge2.SetPosition(100);
    UpdateElapsedTime();
    ShowFileSeconds(file_start);
    dialogs_.ProcessMessages();
    if (file_bytes != file_size) {
      // After a confirmed abort the file was not read to its end on purpose: the line says
      // how much was read, but the file is not a problem file.
      if (!state_.AbortFlag) result = false;
      ReportProblem(show_dialogs, path, kSizeSuffix);
    }
  }
  hashes_.EndFile();
  return result && CheckDigests(show_dialogs, path);
}

bool ScanEngine::CheckDigests(bool show_dialogs, const std::string& path) {
  // A file with a problem line gets no digest at all: it proves nothing of its content.
  if (state_.Speed.CurrentFile().outcome != FileOutcome::kOk) return true;
  // Every line that names the file must hold, as each is a line of its own to sha256sum -c.
  const auto differs = [&](const Digest& digest) { return hashes_.Result(digest.kind) != digest; };
  const auto any_differs = [&](const std::vector<Digest>* digests) {
    return std::ranges::any_of(*digests, differs);
  };
  if (std::ranges::any_of(expected_, any_differs)) {
    ReportProblem(show_dialogs, path, kChecksumSuffix);
    return false;
  }
  if (state_.WantFingerprints) state_.Speed.SetFingerprint(hashes_.Result(DigestKind::kSha256));
  return true;
}

bool ScanEngine::CompareWithLastCheck(bool show_dialogs, const std::string& path,
                                      std::uint32_t tick) {
  FileSpeed& file = state_.Speed.StopClock(tick);
  const bool changed = state_.History->Compare(file);
  if (changed) ReportProblem(show_dialogs, path, kChangedSuffix);
  state_.History->Record(file);
  return !changed;
}

int ScanEngine::CheckFilesNotMet() {
  if (state_.Checksums.empty() || state_.AbortFlag || state_.Closing) return 0;
  std::unordered_set<std::string> reported;
  int lines = 0;
  for (const ExpectedSums& sums : state_.Checksums) lines += ReportNotMet(sums, reported);
  return lines;
}

int ScanEngine::ReportNotMet(const ExpectedSums& sums, std::unordered_set<std::string>& reported) {
  std::vector<std::string> missing;
  std::vector<std::string> not_read;
  for (std::string& path : sums.NotMet()) {
    if (!reported.insert(path).second) continue;
    // sha256sum -c reads every file named: one the check did not read, left out by the mask,
    // the attributes, the mode or lying elsewhere, was not verified.
    (platform_.FileExists(path) ? not_read : missing).push_back(std::move(path));
  }
  const std::string overlong = OverlongLinesLine(sums);
  int lines = overlong.empty() ? 0 : 1;
  if (!overlong.empty()) controls_.ListError.AddLine(overlong);
  const std::size_t unfound = missing.size() + sums.Unreachable().size();
  // Not one name found, and more than a handful: the file names another folder's files, and a
  // line for each would only bury that.
  if (sums.FilesMet() == 0 && not_read.empty() && unfound > kForeignNamesAtLeast) {
    controls_.ListError.AddLine(ProblemLine(sums.Path(), ForeignNamesSuffix(unfound)));
    return lines + 1;
  }
  for (const std::string& path : missing) CheckFile(false, path);
  for (const std::string& shown : sums.Unreachable()) {
    controls_.ListError.AddLine(ProblemLine(shown, kNotFoundSuffix));
  }
  for (const std::string& path : not_read) {
    controls_.ListError.AddLine(ProblemLine(path, kNotCheckedSuffix));
  }
  return lines + static_cast<int>(unfound + not_read.size());
}

void ScanEngine::ReportProblem(bool show_dialogs, const std::string& path,
                               std::string_view suffix) {
  state_.Speed.Problem(suffix);
  std::string line = ProblemLine(path, suffix);
  controls_.ListError.AddLine(line);
  if (show_dialogs) Ask(MessageKind::kError, line);
}

void ScanEngine::ShowBlockProgress(std::int64_t file_bytes, std::int64_t file_size,
                                   std::uint32_t file_start) {
  controls_.Gauge2.SetPosition(
      file_size == 0 ? 100
                     : static_cast<std::int64_t>(static_cast<double>(file_bytes) * 100.0 /
                                                 static_cast<double>(file_size)));
  UpdateElapsedTime();
  ShowFileSeconds(file_start);
  // The tick UpdateElapsedTime has just taken.
  state_.Speed.Block(file_bytes, state_.LastTick);
  dialogs_.ProcessMessages();
}

void ScanEngine::ShowFileSeconds(std::uint32_t file_start) {
  const std::uint32_t elapsed_ms = state_.LastTick - file_start;
  // Tenths of a second, a half upward: 1250 ms show as 1.3.
  const std::int64_t tenths = (static_cast<std::int64_t>(elapsed_ms) + 50) / 100;
  if (tenths == shown_tenths_) return;
  shown_tenths_ = tenths;
  controls_.EditSec.SetText(FormatFixed(static_cast<double>(tenths) / 10, 1));
}

void ScanEngine::UpdateElapsedTime() {
  state_.LastTick = platform_.TickCount();
  SplitMilliseconds(static_cast<std::int32_t>(state_.LastTick - state_.StartTick), state_.Hours,
                    state_.Minutes, state_.Seconds);
  const std::int32_t elapsed = state_.Hours * 3600 + state_.Minutes * 60 + state_.Seconds;
  if (elapsed == shown_elapsed_) return;
  shown_elapsed_ = elapsed;
  std::string text;
  FormatHMS(text, state_.Hours, state_.Minutes, state_.Seconds);
  controls_.EditSec1.SetText(std::move(text));
}

}  // namespace tarvik
