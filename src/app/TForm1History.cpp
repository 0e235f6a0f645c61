// The main window's volume history: each check command recorded and compared with the last
// check of its volume.

#include <ctime>

#include "app/TForm1.h"

namespace tarvik {

namespace {

// The drive root of a path in drive form: "D:\".
std::string RootOf(const std::string& path) { return path.substr(0, 2) + "\\"; }

std::string NewsText(const TForm1::HistoryNews& news) {
  if (news.opening == HistoryOpening::kLocked) {
    return "История проверок занята другой копией программы: эта проверка не запоминается";
  }
  if (!news.stopped.empty()) return "История проверок не записывается: " + news.stopped;
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
  return "История проверок не открывается: " + news.stopped;
}

}  // namespace

void TForm1::BeginRecording(const std::string& start_dir, const char* mode) {
  history_news_ = {};
  Scan.WantFingerprints = N17.Checked() || SumsWanted;
  if (!N17.Checked() || history_path_.empty() || start_dir.size() < 3) return;
  const std::string key = platform_.VolumeKey(RootOf(start_dir));
  if (key.empty()) return;
  history_store_ = OpenHistory();
  if (history_store_ != nullptr) {
    recorder_.emplace(*history_store_,
                      CheckStart{key, std::time(nullptr), engine_.BlockSize(), mode, start_dir});
    if (recorder_->Stopped().empty()) {
      Scan.History = &*recorder_;
    } else if (history_store_->Busy()) {
      history_news_.opening = HistoryOpening::kLocked;
      recorder_.reset();
    } else {
      history_news_.stopped = recorder_->Stopped();
    }
  }
  SayHistoryNews();
}

void TForm1::EndRecording() {
  Scan.History = nullptr;
  if (recorder_) {
    recorder_->End(!Scan.AbortFlag && !Scan.Closing, Scan.Speed.Samples());
    history_news_.gone = recorder_->Gone();
    history_news_.new_files = recorder_->NewFiles();
    history_news_.changed = recorder_->Changed();
    if (history_news_.stopped.empty() && !recorder_->Stopped().empty()) {
      history_news_.stopped = recorder_->Stopped();
      SayHistoryNews();
    }
  }
  recorder_.reset();
  history_store_.reset();
  if (HistoryWindow.Visible()) HistoryWindow.Refill();
}

void TForm1::SayHistoryNews() {
  const std::string text = NewsText(history_news_);
  if (!text.empty()) Label11.SetCaption(text);
}

VolumeChecks TForm1::VolumeHistory() {
  VolumeChecks volume;
  volume.root = RootOf(EditCurDir.Text());
  VolumeInfo info;
  if (platform_.VolumeInformation(volume.root, info) == kNoError) volume.label = info.label;
  const std::string key = platform_.VolumeKey(volume.root);
  if (key.empty() || history_path_.empty()) return volume;
  const std::unique_ptr<HistoryStore> store = LookAtHistory();
  if (store != nullptr) {
    volume.checks = store->ChecksOf(key);
  } else {
    volume.trouble = LookTrouble(history_news_);
  }
  return volume;
}

std::int64_t TForm1::ForgetVolumeHistory() {
  const std::string key = platform_.VolumeKey(RootOf(EditCurDir.Text()));
  const std::unique_ptr<HistoryStore> store = key.empty() ? nullptr : LookAtHistory();
  return store != nullptr ? store->ForgetVolume(key) : -1;
}

std::int64_t TForm1::AcceptVolumeChanges(const std::string& directory) {
  const std::string key = platform_.VolumeKey(RootOf(EditCurDir.Text()));
  const std::unique_ptr<HistoryStore> store = key.empty() ? nullptr : LookAtHistory();
  return store != nullptr ? store->AcceptChanges(key, std::string(PathInVolume(directory))) : -1;
}

std::vector<SpeedSample> TForm1::CheckSamples(std::int64_t check_id) {
  const std::unique_ptr<HistoryStore> store = LookAtHistory();
  return store != nullptr ? store->SamplesOf(check_id) : std::vector<SpeedSample>();
}

std::unique_ptr<HistoryStore> TForm1::OpenHistory() {
  std::string detail;
  std::unique_ptr<HistoryStore> store =
      HistoryStore::Open(history_path_, history_news_.opening, detail);
  if (history_news_.opening == HistoryOpening::kDamaged) history_news_.moved_to = detail;
  if (history_news_.opening == HistoryOpening::kFailed) history_news_.stopped = detail;
  return store;
}

std::unique_ptr<HistoryStore> TForm1::LookAtHistory() {
  if (history_path_.empty()) return nullptr;
  history_news_ = {};
  std::unique_ptr<HistoryStore> store = OpenHistory();
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
