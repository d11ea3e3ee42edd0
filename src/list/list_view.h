#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

// What the list shows: objects (a listing, or the equal or the different comparison), or the
// result of a keyed comparison, whose rows each carry a status.
enum class ListView : std::uint8_t { kObjects, kChanges, kUpgrade };

constexpr bool HasStatus(ListView view) { return view != ListView::kObjects; }

// How many statuses the view's rows can have; 0 for plain objects.
int StatusCount(ListView view);
// A status as the list and the outputs show it: "Changed", "Only in #1", "Conflict".
std::string_view StatusText(ListView view, int status);
// A status as the command line's --show and the filter's status: take it: "changed", "only1",
// "conflict".
std::string_view StatusName(ListView view, int status);
// The status of that name (in any letter case), if the view has it.
std::optional<int> StatusOfName(ListView view, std::string_view name);

// The statuses in the order the view's counts show them: the changes first.
std::vector<int> StatusDisplayOrder(ListView view);
// The statuses in the order of the columns of the summary table.
std::vector<int> StatusSummaryOrder(ListView view);

// "Changed 201", ... in display order, from a count per status (by the status's value).
std::vector<std::pair<std::string, long long>> StatusCountTexts(
    ListView view, std::span<const long long> counts_by_status);

}  // namespace quillet
