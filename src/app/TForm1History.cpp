// The main window's volume history: each check command compared with the known-good state of
// each file of its volume and recorded.

#include <ctime>

#include "app/TForm1.h"

namespace tarvik {

namespace {

// The drive root of a path in drive form: "D:\".
std::string RootOf(const std::string& path) { return path.substr(0, 2) + "\\"; }

std::string NewsText(const TForm1::HistoryNews& news) {
  if (news.no_place) return "История проверок выключена: нет домашнего каталога для неё";
  if (!news.not_compared.empty()) {
    return "Файлы не сверены с историей проверок: " + news.not_compared;
  }
  if (news.opening == HistoryOpening::kLocked) {
    return "История проверок занята другой копией программы: эта проверка не запоминается";
  }
  if (!news.not_recorded.empty()) return "История проверок не записывается: " + news.not_recorded;
  if (news.damaged_count > 0) {
    return "В истории проверок повреждено записей: " + std::to_string(news.damaged_count) +
           "; они не использованы и записаны заново";
  }
  if (news.opening == HistoryOpening::kDamaged) {
    return "История проверок была повреждена и сохранена как " + news.moved_to + "; начата новая";
  }
  return "";
}

// Why a look found no history to read: it is locked or cannot be opened.
std::string LookTrouble(const TForm1::HistoryNews& news) {
  if (news.opening == HistoryOpening::kLocked) {
    return "История проверок занята другой копией программы";
  }
  return "История проверок не открывается: " + news.not_recorded;
}

}  // namespace

std::string TForm1::CurrentVolumeKey(const std::string& directory) {
  bool ambiguous = false;
  const std::string key = platform_.VolumeKey(RootOf(directory), ambiguous);
  if (ambiguous) {
    history_news_.not_compared =
        "another volume mounted now has the same type, label, size and source, so neither can "
        "be told from the other";
  }
  return key;
}

void TForm1::BeginRecording(const std::string& start_dir, const char* mode) {
  history_news_ = {};
  Scan.WantFingerprints = N17.Checked() || SumsWanted;
  if (!N17.Checked() || !history_path_ || start_dir.size() < 3) return;
  history_news_.no_place = history_path_->empty();
  const std::string key = history_news_.no_place ? "" : CurrentVolumeKey(start_dir);
  if (!key.empty()) {
    const CheckStart start{key, std::time(nullptr), engine_.BlockSize(), mode, start_dir};
    history_store_ = OpenHistory();
    if (history_store_ != nullptr) recorder_.emplace(*history_store_, start);
    if (history_news_.opening == HistoryOpening::kLocked ||
        (recorder_ && recorder_->Locked() && !recorder_->Stopped().empty())) {
      // Held by another process past the wait: what it holds on disk is still compared.
      history_news_.opening = HistoryOpening::kLocked;
      recorder_.reset();
      history_store_ = HistoryStore::OpenSnapshot(*history_path_);
      if (history_store_ != nullptr) recorder_.emplace(*history_store_, start, false);
      if (!recorder_) history_news_.not_compared = "held by another process";
    }
    if (recorder_) {
      if (recorder_->Stopped().empty()) {
        Scan.History = &*recorder_;
      } else {
        history_news_.not_compared = recorder_->Stopped();
      }
      if (recorder_->Locked()) {
        history_news_.opening = HistoryOpening::kLocked;
      } else if (history_news_.opening != HistoryOpening::kLocked) {
        history_news_.not_recorded = recorder_->NotRecorded();
      }
    } else if (history_news_.opening == HistoryOpening::kFailed) {
      history_news_.not_compared = history_news_.not_recorded;
    }
  }
  SayHistoryNews();
}

void TForm1::EndRecording() {
  Scan.History = nullptr;
  if (recorder_) {
    recorder_->End(!Scan.AbortFlag && !Scan.Closing, Scan.Speed.Samples(),
                   [this](const std::string& path) { return platform_.NoFileAt(path); });
    history_news_.compared = recorder_->Compared();
    history_news_.gone = recorder_->Gone();
    history_news_.new_files = recorder_->NewFiles();
    history_news_.changed = recorder_->Changed();
    history_news_.damaged_rows = recorder_->DamagedRows();
    history_news_.damaged_count = recorder_->DamagedCount();
    if (history_news_.not_compared.empty()) history_news_.not_compared = recorder_->Stopped();
    if (history_news_.not_recorded.empty() && history_news_.opening != HistoryOpening::kLocked) {
      history_news_.not_recorded = recorder_->NotRecorded();
    }
    recorder_.reset();
    // A page that reads as damaged may be a failed read or another process's write: the
    // database stays where it is; --check-history tells.
    if (history_store_->Corrupt() && !history_news_.not_compared.empty() &&
        history_news_.not_compared.find("--check-history") == std::string::npos) {
      history_news_.not_compared += "; tarvik-check --check-history reads it all";
    }
    SayHistoryNews();
  }
  history_store_.reset();
  if (HistoryWindow.Visible()) HistoryWindow.Refill();
}

void TForm1::SayHistoryNews() {
  const std::string text = NewsText(history_news_);
  if (!text.empty()) Label11.SetCaption(text);
}

VolumeChecks TForm1::VolumeHistory() {
  history_news_ = {};
  VolumeChecks volume;
  volume.root = RootOf(EditCurDir.Text());
  VolumeInfo info;
  if (platform_.VolumeInformation(volume.root, info) == kNoError) volume.label = info.label;
  const std::string key = CurrentVolumeKey(volume.root);
  if (!history_news_.not_compared.empty()) volume.trouble = history_news_.not_compared;
  if (key.empty() || !history_path_ || history_path_->empty()) return volume;
  const std::unique_ptr<HistoryStore> store = LookAtHistory(true);
  if (store != nullptr) {
    volume.checks = store->ChecksOf(key);
  } else {
    volume.trouble = LookTrouble(history_news_);
  }
  return volume;
}

std::int64_t TForm1::ForgetVolumeHistory() {
  history_news_ = {};
  const std::string key = CurrentVolumeKey(EditCurDir.Text());
  const std::unique_ptr<HistoryStore> store = key.empty() ? nullptr : LookAtHistory();
  return store != nullptr ? store->ForgetVolume(key) : -1;
}

std::int64_t TForm1::AcceptVolumeChanges(const std::string& below) {
  history_news_ = {};
  const std::string key = CurrentVolumeKey(EditCurDir.Text());
  const std::unique_ptr<HistoryStore> store = key.empty() ? nullptr : LookAtHistory();
  if (store == nullptr) return -1;
  // The folder's part as the check names it, so that the paths match those it recorded.
  const std::size_t name = below.rfind('\\') + 1;
  const std::string path =
      below.empty() ? "" : engine_.NormalizedDirectory(below.substr(0, name)) + below.substr(name);
  const std::int64_t accepted = store->AcceptChanges(key, std::string(PathInVolume(path)));
  if (accepted < 0) history_news_.not_recorded = store->LastError();
  return accepted;
}

std::vector<SpeedSample> TForm1::CheckSamples(std::int64_t check_id) {
  history_news_ = {};
  const std::unique_ptr<HistoryStore> store = LookAtHistory(true);
  return store != nullptr ? store->SamplesOf(check_id) : std::vector<SpeedSample>();
}

std::unique_ptr<HistoryStore> TForm1::OpenHistory() {
  std::string detail;
  std::unique_ptr<HistoryStore> store =
      HistoryStore::Open(*history_path_, history_news_.opening, detail);
  if (history_news_.opening == HistoryOpening::kDamaged) history_news_.moved_to = detail;
  if (history_news_.opening == HistoryOpening::kFailed) history_news_.not_recorded = detail;
  return store;
}

std::unique_ptr<HistoryStore> TForm1::LookAtHistory(bool read_only) {
  if (!history_path_ || history_path_->empty()) return nullptr;
  std::unique_ptr<HistoryStore> store = OpenHistory();
  if (store == nullptr && read_only && history_news_.opening == HistoryOpening::kLocked) {
    // Held by another process: what it holds on disk can still be shown.
    store = HistoryStore::OpenSnapshot(*history_path_);
    if (store != nullptr) history_news_.opening = HistoryOpening::kOpened;
  }
  SayHistoryNews();
  return store;
}

void TForm1::N18Click() {
  HistoryWindow.Refill();
  HistoryWindow.Show();
}

void TForm1::EditCurDirChange() {
  if (HistoryWindow.Visible() && HistoryWindow.Root() != RootOf(EditCurDir.Text())) {
    HistoryWindow.Refill();
  }
}

}  // namespace tarvik
