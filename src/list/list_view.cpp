#include "list/list_view.h"

#include <array>

#include "list/changes.h"
#include "list/upgrade.h"
#include "objects/text.h"

namespace quillet {
namespace {

// By ChangeStatus.
constexpr std::array<std::string_view, kChangeStatusCount> kChangeNames = {"only1", "only2",
                                                                           "changed", "same"};
// By UpgradeResult.
constexpr std::array<std::string_view, kUpgradeResultCount> kUpgradeNames = {
    "unchanged", "only1changed", "only2changed", "bothalike",
    "conflict",  "only1added",   "only2added"};

}  // namespace

int StatusCount(ListView view) {
  switch (view) {
    case ListView::kChanges:
      return kChangeStatusCount;
    case ListView::kUpgrade:
      return kUpgradeResultCount;
    case ListView::kObjects:
      break;
  }
  return 0;
}

std::string_view StatusText(ListView view, int status) {
  if (status < 0 || status >= StatusCount(view)) return {};
  return view == ListView::kChanges ? ChangeStatusText(static_cast<ChangeStatus>(status))
                                    : UpgradeResultText(static_cast<UpgradeResult>(status));
}

std::string_view StatusName(ListView view, int status) {
  if (status < 0 || status >= StatusCount(view)) return {};
  return view == ListView::kChanges ? kChangeNames[status] : kUpgradeNames[status];
}

std::optional<int> StatusOfName(ListView view, std::string_view name) {
  const std::string lower = AsciiLowercase(name);
  for (int status = 0; status < StatusCount(view); ++status) {
    if (lower == StatusName(view, status)) return status;
  }
  return std::nullopt;
}

std::vector<int> StatusDisplayOrder(ListView view) {
  if (view == ListView::kChanges) {
    return {static_cast<int>(ChangeStatus::kChanged), static_cast<int>(ChangeStatus::kOnlyIn1),
            static_cast<int>(ChangeStatus::kOnlyIn2), static_cast<int>(ChangeStatus::kSame)};
  }
  return StatusSummaryOrder(view);
}

std::vector<int> StatusSummaryOrder(ListView view) {
  if (view == ListView::kChanges) {
    return {static_cast<int>(ChangeStatus::kSame), static_cast<int>(ChangeStatus::kChanged),
            static_cast<int>(ChangeStatus::kOnlyIn1), static_cast<int>(ChangeStatus::kOnlyIn2)};
  }
  std::vector<int> order;
  for (int status = 0; status < StatusCount(view); ++status) order.push_back(status);
  return order;
}

std::vector<std::pair<std::string, long long>> StatusCountTexts(
    ListView view, std::span<const long long> counts_by_status) {
  std::vector<std::pair<std::string, long long>> texts;
  for (const int status : StatusDisplayOrder(view)) {
    const long long count =
        static_cast<std::size_t>(status) < counts_by_status.size() ? counts_by_status[status] : 0;
    texts.emplace_back(std::string(StatusText(view, status)), count);
  }
  return texts;
}

}  // namespace quillet
