#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "browse/Glyph.h"
#include "platform/Platform.h"

// How the lists compare and order file names. Equality follows the volume: byte for byte where
// the volume is case-sensitive (two names that differ only in case are two files there), ignoring
// case by the fixed upper-casing table elsewhere. Order always ignores case first and falls back
// to the bytes, so the same names always come out in the same order.
namespace tarvik {

bool SameFileName(std::string_view a, std::string_view b, bool case_sensitive);

// Sorts entries by their texts in list order.
void SortEntries(std::vector<ListEntry>& entries);

// The index of the first entry whose text is the same file name as `text`, in entries that
// SortEntries ordered; -1 when there is none. Names that are the same file name are neighbours
// in list order, so the search halves the list instead of reading it.
int FindInListOrder(const std::vector<ListEntry>& entries, std::string_view text,
                    bool case_sensitive);

// True when the volume holding `path` (a full path) searches names case-sensitively.
bool CaseSensitiveVolume(Platform& platform, std::string_view path);

}  // namespace tarvik
