#include <algorithm>

#include "browse/FileNames.h"
#include "platform/IoError.h"
#include "scan/ProblemLines.h"
#include "scan/ScanEngine.h"
#include "ui/ApplicationTitle.h"
#include "util/Number.h"
#include "util/Path.h"

namespace tarvik {

std::string ScanEngine::NormalizedDirectory(const std::string& directory) const {
  // Room for the backslash that ends it, so that a deep path is copied once.
  std::string path;
  path.reserve(directory.size() + 1);
  path = directory;
  NormalizeDirPath(
      path, controls_.DirectoryListBox1.CaseSensitive() ? PathCase::kKeep : PathCase::kUpper);
  return path;
}

int ScanEngine::CheckDirectoryFiles(bool start_at_first, bool leave_overall_gauge) {
  FileListBox& files = controls_.FileListBox1;
  if (!leave_overall_gauge) controls_.Gauge1.SetPosition(0);
  int problems = 0;
  // A directory whose listing fails on a damaged medium would pass as empty, its files
  // unread: it is a problem of its own.
  if (!state_.Closing && !DirectoryListed(files.Directory())) {
    controls_.ListError.AddLine(ProblemLine(files.Directory(), kReadSuffix));
    controls_.ListError.Show();
    ++problems;
  }
  if (files.Count() > 0) {
    const std::string directory = NormalizedDirectory(files.Directory());
    // No selection means the first file.
    int index = start_at_first ? -1 : std::max(files.ItemIndex() - 1, -1);
    while (!state_.Closing && index < files.Count() - 1) {
      ++index;
      files.SetItemIndex(index);
      controls_.EditCurFile.SetText(files.Entries()[index].text);
      const std::string path = directory + controls_.EditCurFile.Text();
      if (IsWrittenFile(path)) continue;
      if (!CheckFile(false, path)) {
        if (!leave_overall_gauge) SetOverallGauge(index, files.Count());
        ++problems;
        if (!Ask(MessageKind::kErrorConfirmation,
                 Quoted("Проблемы с файлом : ", controls_.EditCurFile.Text(),
                        ". Cancel - прервать"))) {
          index = files.Count() + 1;
        }
      }
      if (index >= 0 && !leave_overall_gauge) SetOverallGauge(index, files.Count());
      ShowProgressTotals();
      if (AbortConfirmed("Вы желаете превать сканирование каталога ", files.Directory())) {
        index = files.Count() + 1;
      }
    }
  }
  if (!leave_overall_gauge) {
    controls_.Gauge1.SetPosition(100);
    dialogs_.ProcessMessages();
  }
  return problems;
}

bool ScanEngine::IsWrittenFile(const std::string& path) const {
  const bool case_sensitive = controls_.DirectoryListBox1.CaseSensitive();
  const auto is = [&](const std::string& written) {
    return !written.empty() && SameFileName(path, written, case_sensitive);
  };
  return is(state_.ListFilePath) || std::ranges::any_of(state_.WrittenFiles, is);
}

bool ScanEngine::DirectoryListed(const std::string& directory) {
  const int code = platform_.ReadListing(directory);
  CheckSystemIo(code);
  return code == kNoError;
}

std::int64_t ScanEngine::WholePercent(std::int64_t part, std::int64_t whole) {
  return whole == 0 ? 100 : std::min<std::int64_t>(part * 100 / whole, 100);
}

void ScanEngine::SetOverallGauge(int index, int count) {
  controls_.Gauge1.SetPosition(WholePercent(index + 1, count));
  dialogs_.ProcessMessages();
}

void ScanEngine::ShowProgressTotals() {
  UpdateElapsedTime();
  state_.KilobytesRead = static_cast<double>(state_.BytesRead) / 1000.0;
  controls_.Edit1.SetText(std::to_string(state_.FilesOpened));
  controls_.Edit2.SetText(FormatFixed(state_.KilobytesRead, 3));
  PercentBar& bytes_bar = controls_.Gauge3;
  bytes_bar.SetPosition(state_.BytesRead);
  // A disk whose size is 0 or unknown has read nothing of it yet.
  const double percent = bytes_bar.Max() > 0 ? static_cast<double>(bytes_bar.Position()) * 100.0 /
                                                   static_cast<double>(bytes_bar.Max())
                                             : 0.0;
  ApplicationTitle::Get().SetText("Диск " + DriveLetter() + " " + FormatFixed(percent, 1) + "%");
  dialogs_.ProcessMessages();
}

}  // namespace tarvik
