#pragma once

#include <array>
#include <string>

#include "history/HistoryStore.h"

namespace tarvik {

// The history's table of checks as the window and tarvik-check --history show it.
inline constexpr std::size_t kCheckColumns = 9;
inline constexpr std::array<const char*, kCheckColumns> kCheckColumnCaptions = {
    "Дата", "Каталог", "Файлов", "Мб", "Проблем", "Мб/с", "Изменено", "Исчезло", "Новых"};

// What the table's marks mean, for the user who wonders.
inline constexpr char kCheckTableHint[] =
    "* после даты — проверка не дошла до конца, её числа неполные.\n"
    "Пустая ячейка — значения нет:\n"
    "«Исчезло», «Новых» — не с чем сравнить: этот каталог раньше так же до конца не проверялся;\n"
    "«Мб/с» — проверка не заняла и миллисекунды.";

// The cells of one check of the volume seen at `root` ("D:\"): its local start time
// ("2026-12-08 05:14:07", followed by " *" for a check that did not run to its end), start
// directory in drive form ("D:\DATA\"), counts, megabytes (10^6 bytes) and speed; "" for
// counts not known.
std::array<std::string, kCheckColumns> CheckCells(const CheckSummary& check,
                                                  const std::string& root);

}  // namespace tarvik
