#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Reorders a directory date (d.m.y, d-m-y or m/d/y, year last) into year-month-day with a
// four-digit year. It works by character position, so unusual texts give unusual results
// (1.12.08 gives 2008-2.-1.); those results are what users of the old files are used to.
std::string FormatObjectDate(std::string_view text);

// Gives the time a two-digit hour; nothing else is changed.
std::string FormatObjectTime(std::string_view text);

// The same, written into `out` without allocating: the reader formats 20000 of each per load.
// `out` has room for FormattedRoom(text) bytes; the length is returned.
constexpr std::size_t FormattedRoom(std::string_view text) { return text.size() + 10; }
std::size_t FormatObjectDateInto(std::string_view text, char* out);
std::size_t FormatObjectTimeInto(std::string_view text, char* out);

}  // namespace quillet
