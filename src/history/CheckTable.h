#pragma once

#include <array>
#include <string>

#include "history/HistoryStore.h"

namespace tarvik {

// The history's table of checks as the window and tarvik-check --history show it.
inline constexpr std::size_t kCheckColumns = 9;
inline constexpr std::array<const char*, kCheckColumns> kCheckColumnCaptions = {
    "Дата", "Каталог", "Файлов", "Мб", "Проблем", "Мб/с", "Изменено", "Исчезло", "Новых"};

// The cells of one check: its local start time ("2026-12-08 05:14", followed by " *" for a
// check that did not run to its end), start directory, counts, megabytes (10^6 bytes) and
// speed; "" for counts not known.
std::array<std::string, kCheckColumns> CheckCells(const CheckSummary& check);

}  // namespace tarvik
