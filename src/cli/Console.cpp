#include "cli/Console.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"
#include "cli/Terminal.h"
#include "scan/ReadSpeed.h"
#include "util/Time.h"
#include "util/Utf8.h"

namespace tarvik {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(250);

// The last `count` characters of a UTF-8 text, "…" in front when something was cut off.
std::string TailOf(const std::string& text, std::size_t count) {
  if (Utf8Length(text) <= count) return text;
  std::size_t start = text.size();
  for (std::size_t kept = 1; kept < count && start > 0;) {
    --start;
    // Continuation bytes do not begin a character.
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) ++kept;
  }
  return "…" + text.substr(start);
}

}  // namespace

std::string VisibleText(std::string_view line) {
  const auto is_control = [](char32_t ch) {
    return (ch < 0x20 && ch != U'\t') || (ch >= 0x7F && ch <= 0x9F);
  };
  std::string text;
  text.reserve(line.size());
  for (std::size_t pos = 0; pos < line.size();) {
    const std::size_t start = pos;
    const char32_t ch = DecodeUtf8(line, pos);
    if (!is_control(ch)) {
      text.append(line, start, pos - start);
      continue;
    }
    for (std::size_t i = start; i < pos; ++i) {
      AppendUtf8(text, kShownByteBase + static_cast<unsigned char>(line[i]));
    }
  }
  return text;
}

Console::Console(std::FILE* out, std::FILE* err, bool quiet, const LocaleText& locale)
    : locale_(locale),
      out_(out),
      err_(err),
      quiet_(quiet),
      shows_progress_(!quiet && IsTerminal(err)),
      out_is_pipe_(IsPipe(out)),
      // A run shorter than one interval shows no progress at all.
      next_progress_(Clock::now() + kProgressInterval) {
  if (const int columns = shows_progress_ ? TerminalColumns(err) : 0; columns > 0) {
    columns_ = columns;
  }
}

void Console::Write(std::FILE* stream, std::string_view line) {
  ClearProgress();
  WriteText(stream, locale_.FromUtf8(VisibleText(line)) + '\n');
  if (std::fflush(stream) != 0 && stream == out_) OutputFailed(errno);
  // Only what is not written yet is thrown away: a full disk may free space later.
  std::clearerr(stream);
}

void Console::OutputFailed(int error) {
  if (InterruptRequested()) return;
  if (IsBrokenPipe(error)) EndForBrokenPipe(kExitError);
  const std::string message =
      std::string("tarvik-check: standard output: ") + std::strerror(error) + "\n";
  ClearProgress();
  std::fputs(message.c_str(), err_);
  std::fflush(err_);
  // At once: the helper threads of a hung read or server are not waited for.
  std::_Exit(kExitError);
}

void Console::ProblemLine(std::string_view line) { Write(out_, line); }

void Console::SummaryLine(std::string_view line) {
  if (!quiet_) Write(out_, line);
}

void Console::Notice(std::string_view text) {
  if (!quiet_) Write(err_, text);
}

void Console::Error(std::string_view text) { Write(err_, text); }

void Console::ClearProgress() {
  if (!progress_shown_) return;
  std::fputs("\r\x1b[K", err_);
  std::fflush(err_);
  progress_shown_ = false;
}

bool Console::ProgressDue() const {
  return (shows_progress_ || out_is_pipe_) && Clock::now() >= next_progress_;
}

void Console::Progress(const std::string& file, std::int64_t percent,
                       std::optional<double> megabytes_per_second,
                       std::optional<double> seconds_left) {
  next_progress_ = Clock::now() + kProgressInterval;
  if (out_is_pipe_ && PipeReaderGone(out_)) OutputFailed(EPIPE);
  if (!shows_progress_) return;
  std::string figures = "  " + std::to_string(percent) + "%";
  if (megabytes_per_second) figures += "  " + SpeedText(*megabytes_per_second);
  // A day or more is no estimate worth showing, nor one the clock format can hold.
  if (seconds_left && *seconds_left < 86400) {
    std::uint16_t hours = 0, minutes = 0, seconds = 0;
    SplitMilliseconds(static_cast<std::int32_t>(*seconds_left * 1000), hours, minutes, seconds);
    std::string left;
    FormatHMS(left, hours, minutes, seconds);
    figures += "  осталось " + left;
  }
  // The last column stays free, so that the terminal does not wrap the line.
  const int room = columns_ - 1 - static_cast<int>(Utf8Length(figures));
  const std::string line =
      locale_.FromUtf8((room > 0 ? TailOf(file, room) : std::string()) + figures);
  WriteText(err_, "\r\x1b[K" + line);
  std::fflush(err_);
  progress_shown_ = true;
}

}  // namespace tarvik
