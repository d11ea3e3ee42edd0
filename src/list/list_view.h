#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

// What the list shows: objects (a listing, or the equal or the different comparison), or the
// result of a keyed comparison, whose rows each carry a status; or the comparison across many
// files, whose rows are keys with a cell per file.
enum class ListView : std::uint8_t { kObjects, kChanges, kUpgrade, kAcross };

constexpr bool HasStatus(ListView view) { return view != ListView::kObjects; }

// What a report or a sheet of a view's rows is titled: "Objects", "Changes", "Upgrade
// analysis". The rows across files have writers of their own, with their own titles.
std::string_view ViewTitle(ListView view);

// One status of a view with statuses.
struct StatusInfo {
  ListView view;
  int value;               // the status as its view's rows carry it (ChangeStatus, UpgradeResult)
  std::string_view token;  // what --show and the filter's status: take
  std::string_view text;   // what the list and the outputs show
  int summary_column;      // its place among the view's columns of the summary table
};

// Every status, each view's in the order its counts and toggles show them: the changes first.
// Everything that names, lists or orders statuses reads this table.
inline constexpr std::array<StatusInfo, 13> kStatuses = {{
    {ListView::kChanges, 2, "changed", "Changed", 1},
    {ListView::kChanges, 0, "only1", "Only in #1", 2},
    {ListView::kChanges, 1, "only2", "Only in #2", 3},
    {ListView::kChanges, 3, "same", "Same", 0},
    {ListView::kUpgrade, 0, "unchanged", "Unchanged", 0},
    {ListView::kUpgrade, 1, "only1changed", "Only #1 changed", 1},
    {ListView::kUpgrade, 2, "only2changed", "Only #2 changed", 2},
    {ListView::kUpgrade, 3, "bothalike", "Both changed alike", 3},
    {ListView::kUpgrade, 4, "conflict", "Conflict", 4},
    {ListView::kUpgrade, 5, "only1added", "Only #1 added", 5},
    {ListView::kUpgrade, 6, "only2added", "Only #2 added", 6},
    {ListView::kAcross, 0, "differs", "Differs", 0},
    {ListView::kAcross, 1, "same", "Same", 1},
}};

// How many statuses the view's rows can have; 0 for plain objects.
int StatusCount(ListView view);
// The table's entry of a status, or nothing where the view has no such status.
const StatusInfo* FindStatus(ListView view, int status);
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
