#pragma once

#include <string_view>

namespace quillet {

// The order of two cell texts: byte by byte with the letters of Windows-1252 folded to lower
// case (so "item", "Item" and "ITEM" sort together, and "é" with "É"); a text that is the start
// of the other goes first. Negative, 0 or positive. Filling blanks take part, so right-aligned
// numbers of the same width order by value.
int CompareCellTexts(std::string_view a, std::string_view b);

}  // namespace quillet
