#pragma once

namespace tarvik {

// How tarvik-check ends; a stop signal ends it with 128 plus the signal's number.
inline constexpr int kExitNoProblem = 0;
inline constexpr int kExitProblems = 1;
inline constexpr int kExitUsage = 2;
// An error ended the check, or standard output could not be written.
inline constexpr int kExitError = 3;
// The check ran to its end, but lines of the list file or the report could not be written.
inline constexpr int kExitIncomplete = 4;

}  // namespace tarvik
