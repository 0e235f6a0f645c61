#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "scan/ExpectedSums.h"

namespace tarvik {

// The problem lines a checksum file itself gives, beside those of the files it names.

// A file named that exists but that the check did not read: it lies outside the start
// directory, in a subdirectory not walked, behind a link to a folder, or the mask or the
// attributes left it out.
inline constexpr std::string_view kNotCheckedSuffix =
    " - назван в файле контрольных сумм, но проверка его не читала, не проверен !";

// A checksum file none of whose names exist says so in one line from this many names on.
inline constexpr std::size_t kForeignNamesAtLeast = 6;
// The ending of that line, for `count` names.
std::string ForeignNamesSuffix(std::size_t count);

// The line of a checksum file that was to be verified against but cannot be: it cannot be read
// (LoadError), or not one of its lines names a file.
std::string UnusableChecksumsLine(const ExpectedSums& sums);

// The line of a checksum file with lines too long to name a file that opens, or empty.
std::string OverlongLinesLine(const ExpectedSums& sums);

}  // namespace tarvik
