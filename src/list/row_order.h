#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/bulk_memory.h"

namespace quillet {

// The order of two cell texts: byte by byte with the letters of Windows-1252 folded to lower
// case (so "item", "Item" and "ITEM" sort together, and "é" with "É"); a text that is the start
// of the other goes first. Negative, 0 or positive. Filling blanks take part, so right-aligned
// numbers of the same width order by value.
int CompareCellTexts(std::string_view a, std::string_view b);

// The positions of `texts` in the order CompareCellTexts gives them (or its reverse); texts
// that compare equal keep their positions' order either way. Each text is read once, and again
// only for each 11 bytes it shares with another from the start: the sort compares keys of the
// texts' first bytes, never the texts, so it reads no record per comparison.
BulkVector<std::uint32_t> SortedOrder(std::span<const std::string_view> texts, bool ascending);

}  // namespace quillet
