#include "history/CheckTable.h"

#include <ctime>
#include <optional>

#include "scan/ReadSpeed.h"
#include "util/Number.h"

namespace tarvik {

namespace {

std::string LocalTime(std::int64_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&time, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::string Count(std::int64_t count) { return count < 0 ? "" : std::to_string(count); }

}  // namespace

std::array<std::string, kCheckColumns> CheckCells(const CheckSummary& check,
                                                  const std::string& root) {
  const std::optional<double> speed =
      MegabytesPerSecond(check.bytes, static_cast<std::uint32_t>(check.seconds * 1000));
  return {LocalTime(check.started) + (check.finished ? "" : " *"),
          root + check.start_directory,
          Count(check.files),
          FormatFixed(static_cast<double>(check.bytes) / 1e6, 1),
          Count(check.problems),
          speed ? FormatFixed(*speed, 1) : "",
          Count(check.changed),
          Count(check.gone),
          Count(check.new_files)};
}

}  // namespace tarvik
