#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// The endings of the problem lines of the file check; each begins with a blank.
inline constexpr std::string_view kNotFoundSuffix = " - не найден !";
inline constexpr std::string_view kFirstOpenSuffix = " - не удалось открыть файл для чтения(1) !";
inline constexpr std::string_view kSecondOpenSuffix = " - не удалось отрыть для чтения(2) !";
inline constexpr std::string_view kReadSuffix = " - не удачное считывание !";
inline constexpr std::string_view kAbortSuffix = " - отказ Пользователя от продолжения !";
inline constexpr std::string_view kSizeSuffix =
    " - реально считанное кол-во байт не соотв. размеру файла !";
inline constexpr std::string_view kChecksumSuffix =
    " - содержимое не совпадает с контрольной суммой !";
inline constexpr std::string_view kChangedSuffix =
    " - содержимое изменилось, хотя дата изменения прежняя !";

// Файл : "<path>"<suffix>, the path exactly as the check was given it.
std::string ProblemLine(const std::string& path, std::string_view suffix);

// <prefix>"<text>"<suffix>: the shape of every question and box that names a file or a
// directory.
std::string Quoted(std::string_view prefix, const std::string& text, std::string_view suffix);

}  // namespace tarvik
