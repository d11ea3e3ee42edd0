#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Reorders a directory date (d.m.y, d-m-y or m/d/y, year last) into year-month-day with a
// four-digit year. A date of one- or two-digit day and month and a two- or four-digit year is
// first written with two digits each (1.12.08 as 01.12.08), so it gives 2008-12-01 and equals
// the same date written in full. Any other text is reordered by character position, so unusual
// texts give unusual results, as users of the old files know them; blanks only give nothing.
std::string FormatObjectDate(std::string_view text);

// Gives the time a two-digit hour; nothing else is changed.
std::string FormatObjectTime(std::string_view text);

// The same, written into `out` without allocating: the reader formats 20000 of each per load.
// `out` has room for FormattedRoom(text) bytes; the length is returned.
constexpr std::size_t FormattedRoom(std::string_view text) { return text.size() + 10; }
std::size_t FormatObjectDateInto(std::string_view text, char* out);
std::size_t FormatObjectTimeInto(std::string_view text, char* out);

}  // namespace quillet
