#include "cli/HistoryCommands.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "cli/ExitStatus.h"
#include "history/CheckTable.h"
#include "history/HistoryStore.h"
#include "util/Utf8Path.h"

namespace tarvik {

namespace {

void ErrorLine(Console& console, const std::string& text) {
  console.Error("tarvik-check: " + text);
}

std::string HistoryName(const std::string& path) { return "history '" + path + "'"; }

constexpr char kNoPlace[] = "the history is off: neither XDG_DATA_HOME nor HOME is set";

// The checks of the volume seen at `root`, a line each, the cells separated by tabs.
void PrintHistory(const std::vector<CheckSummary>& checks, const std::string& root,
                  Console& console) {
  std::string header;
  for (const char* caption : kCheckColumnCaptions)
    header += (header.empty() ? "" : "\t") + std::string(caption);
  console.AnswerLine(header);
  for (const CheckSummary& check : checks) {
    std::string line;
    for (const std::string& cell : CheckCells(check, root))
      line += (line.empty() ? "" : "\t") + cell;
    console.AnswerLine(line);
  }
}

// The sentence about a damaged history moved aside, the same after a check and a look.
void ReportMovedAside(const TForm1::HistoryNews& news, const std::string& path, Console& console) {
  if (news.opening != HistoryOpening::kDamaged) return;
  ErrorLine(console, HistoryName(path) + " was damaged: moved aside as '" + news.moved_to +
                         "', a new one begun");
}

// What a look at the history had to say, on standard error; false when it could not be used.
bool ReportLook(const TForm1& form, const std::string& path, Console& console) {
  const TForm1::HistoryNews& news = form.LastHistoryNews();
  ReportMovedAside(news, path, console);
  if (!news.not_compared.empty()) {
    ErrorLine(console, HistoryName(path) + ": " + news.not_compared);
    return false;
  }
  if (news.opening == HistoryOpening::kLocked) {
    ErrorLine(console, HistoryName(path) + " is in use by another instance");
  } else if (news.opening == HistoryOpening::kFailed) {
    ErrorLine(console, HistoryName(path) + ": " + news.not_recorded);
  }
  return news.opening != HistoryOpening::kLocked && news.opening != HistoryOpening::kFailed;
}

// Whether the history is known not to exist yet: a look at it then has nothing to show or
// change, and makes no file. A history below a file (ENOTDIR) could never be made: opening it
// says why.
bool HistoryNeverBegun(const std::string& history) {
  std::error_code error;
  return std::filesystem::status(Utf8Path(history), error).type() ==
             std::filesystem::file_type::not_found &&
         error == std::errc::no_such_file_or_directory;
}

// --check-history: every page and every stored row read and checked.
int CheckWholeHistory(const std::string& history, Console& console) {
  HistoryOpening opening;
  std::string detail;
  const std::unique_ptr<HistoryStore> store = HistoryStore::Open(history, opening, detail);
  if (store == nullptr) {
    ErrorLine(console,
              HistoryName(history) + ": " +
                  (opening == HistoryOpening::kLocked ? "in use by another instance" : detail));
    return kExitError;
  }
  if (opening == HistoryOpening::kDamaged) {
    ErrorLine(console, HistoryName(history) + " was damaged: moved aside as '" + detail +
                           "', a new one begun");
  }
  std::vector<std::string> damaged;
  std::vector<std::string> problems;
  const bool read = store->Verify(damaged, problems);
  for (const std::string& problem : problems) {
    ErrorLine(console, HistoryName(history) + ": " + problem);
  }
  for (const std::string& row : damaged) {
    ErrorLine(console, HistoryName(history) + ": damaged row of " + row);
  }
  if (!read && !store->Corrupt()) {
    ErrorLine(console, HistoryName(history) + ": " + store->LastError());
    return kExitError;
  }
  if (!read) ErrorLine(console, HistoryName(history) + ": " + store->LastError());
  return read && problems.empty() && damaged.empty() && opening != HistoryOpening::kDamaged
             ? kExitNoProblem
             : kExitProblems;
}

}  // namespace

bool IsHistoryCommand(const CheckOptions& options) {
  return options.show_history || options.forget_history || options.accept_changes ||
         options.check_history;
}

int RunHistoryCommand(const CheckOptions& options, TForm1& form, const std::string& history,
                      const std::string& target, Console& console) {
  if (history.empty()) {
    ErrorLine(console, kNoPlace);
    return kExitError;
  }
  const bool never_begun = HistoryNeverBegun(history);
  if (options.check_history) {
    if (!never_begun) return CheckWholeHistory(history, console);
  } else if (options.show_history) {
    VolumeChecks volume;
    volume.root = target.substr(0, 3);
    if (!never_begun) {
      volume = form.VolumeHistory();
      if (!ReportLook(form, history, console)) return kExitError;
    }
    PrintHistory(volume.checks, volume.root, console);
  } else {
    std::int64_t changed = 0;
    if (!never_begun) {
      changed =
          options.forget_history ? form.ForgetVolumeHistory() : form.AcceptVolumeChanges(target);
      if (!ReportLook(form, history, console)) return kExitError;
      if (changed < 0) {
        ErrorLine(console, HistoryName(history) +
                               " cannot be changed: " + form.LastHistoryNews().not_recorded);
        return kExitError;
      }
    }
    ErrorLine(console, options.forget_history
                           ? "forgot " + std::to_string(changed) + " check(s) of the volume of " +
                                 options.path
                           : "accepted the new content of " + std::to_string(changed) +
                                 " changed file(s) of " + options.path);
  }
  return kExitNoProblem;
}

void ReportHistory(const TForm1& form, const std::string& history, Console& console) {
  const TForm1::HistoryNews& news = form.LastHistoryNews();
  const std::string name = HistoryName(history);
  if (news.no_place) ErrorLine(console, kNoPlace);
  const bool neither = !news.not_compared.empty() && news.not_compared == news.not_recorded;
  if (neither) {
    ErrorLine(console, name + ": " + news.not_compared + ": not compared, not recorded");
  } else if (!news.not_compared.empty()) {
    ErrorLine(console, name + ": " + news.not_compared + ": the files are not compared with it");
  }
  if (news.opening == HistoryOpening::kLocked) {
    ErrorLine(console, name + " is in use by another instance: this check is not recorded");
  }
  ReportMovedAside(news, history, console);
  if (!neither && !news.not_recorded.empty() && news.opening != HistoryOpening::kLocked) {
    ErrorLine(console, name + ": " + news.not_recorded + ": not recorded");
  }
  for (const std::string& path : news.damaged_rows) {
    ErrorLine(console, name + ": the row of '" + path + "' is damaged: not compared, written anew");
  }
  if (news.damaged_count > static_cast<std::int64_t>(news.damaged_rows.size())) {
    ErrorLine(console, name + ": " + std::to_string(news.damaged_count - news.damaged_rows.size()) +
                           " more damaged row(s)");
  }
  if (news.compared) {
    std::string since = "С прошлой проверки : новых файлов = " + std::to_string(news.new_files);
    if (news.gone >= 0) since += ", исчезло = " + std::to_string(news.gone);
    console.SummaryLine(since + ", изменилось = " + std::to_string(news.changed));
  }
}

}  // namespace tarvik
