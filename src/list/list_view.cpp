#include "list/list_view.h"

#include <algorithm>

#include "list/across.h"
#include "list/changes.h"
#include "list/upgrade.h"
#include "objects/text.h"

namespace quillet {
namespace {

constexpr int CountOf(ListView view) {
  int count = 0;
  for (const StatusInfo& info : kStatuses) count += info.view == view ? 1 : 0;
  return count;
}

// Each view's values run from 0 without a gap, each once, and the summary takes each column once.
constexpr bool EachValueOnce(ListView view) {
  const int count = CountOf(view);
  for (int value = 0; value < count; ++value) {
    int values = 0, columns = 0;
    for (const StatusInfo& info : kStatuses) {
      values += info.view == view && info.value == value ? 1 : 0;
      columns += info.view == view && info.summary_column == value ? 1 : 0;
    }
    if (values != 1 || columns != 1) return false;
  }
  return true;
}

static_assert(CountOf(ListView::kChanges) == kChangeStatusCount);
static_assert(CountOf(ListView::kUpgrade) == kUpgradeResultCount);
static_assert(CountOf(ListView::kAcross) == kAcrossStatusCount);
static_assert(EachValueOnce(ListView::kChanges) && EachValueOnce(ListView::kUpgrade) &&
              EachValueOnce(ListView::kAcross));
static_assert(kStatuses[0].value == static_cast<int>(ChangeStatus::kChanged));
static_assert(kStatuses[1].value == static_cast<int>(ChangeStatus::kOnlyIn1));
static_assert(kStatuses[3].value == static_cast<int>(ChangeStatus::kSame));
static_assert(kStatuses[4].value == static_cast<int>(UpgradeResult::kUnchanged));
static_assert(kStatuses[8].value == static_cast<int>(UpgradeResult::kConflict));
static_assert(kStatuses[10].value == static_cast<int>(UpgradeResult::kOnly2Added));
static_assert(kStatuses[11].value == static_cast<int>(AcrossStatus::kDiffers));
static_assert(kStatuses[12].value == static_cast<int>(AcrossStatus::kSame));

// The table's entries by view and value, for the texts every output row asks for.
struct ByValue {
  std::array<const StatusInfo*, kChangeStatusCount> changes{};
  std::array<const StatusInfo*, kUpgradeResultCount> upgrade{};
  std::array<const StatusInfo*, kAcrossStatusCount> across{};
};

constexpr ByValue MakeByValue() {
  ByValue by_value;
  for (const StatusInfo& info : kStatuses) {
    if (info.view == ListView::kChanges) by_value.changes[info.value] = &info;
    if (info.view == ListView::kUpgrade) by_value.upgrade[info.value] = &info;
    if (info.view == ListView::kAcross) by_value.across[info.value] = &info;
  }
  return by_value;
}
constexpr ByValue kByValue = MakeByValue();

}  // namespace

int StatusCount(ListView view) {
  switch (view) {
    case ListView::kChanges:
      return kChangeStatusCount;
    case ListView::kUpgrade:
      return kUpgradeResultCount;
    case ListView::kAcross:
      return kAcrossStatusCount;
    case ListView::kObjects:
      break;
  }
  return 0;
}

const StatusInfo* FindStatus(ListView view, int status) {
  if (status < 0 || status >= StatusCount(view)) return nullptr;
  switch (view) {
    case ListView::kChanges:
      return kByValue.changes[status];
    case ListView::kUpgrade:
      return kByValue.upgrade[status];
    case ListView::kAcross:
      return kByValue.across[status];
    case ListView::kObjects:
      break;
  }
  return nullptr;
}

std::string_view StatusText(ListView view, int status) {
  const StatusInfo* info = FindStatus(view, status);
  return info != nullptr ? info->text : std::string_view();
}

std::string_view StatusName(ListView view, int status) {
  const StatusInfo* info = FindStatus(view, status);
  return info != nullptr ? info->token : std::string_view();
}

std::optional<int> StatusOfName(ListView view, std::string_view name) {
  const std::string lower = AsciiLowercase(name);
  for (const StatusInfo& info : kStatuses) {
    if (info.view == view && lower == info.token) return info.value;
  }
  return std::nullopt;
}

std::vector<int> StatusDisplayOrder(ListView view) {
  std::vector<int> order;
  for (const StatusInfo& info : kStatuses) {
    if (info.view == view) order.push_back(info.value);
  }
  return order;
}

std::vector<int> StatusSummaryOrder(ListView view) {
  std::vector<int> order(static_cast<std::size_t>(StatusCount(view)));
  for (const StatusInfo& info : kStatuses) {
    if (info.view == view) order[static_cast<std::size_t>(info.summary_column)] = info.value;
  }
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

std::string_view ViewTitle(ListView view) {
  switch (view) {
    case ListView::kChanges:
      return "Changes";
    case ListView::kUpgrade:
      return "Upgrade analysis";
    case ListView::kObjects:
    case ListView::kAcross:
      break;
  }
  return "Objects";
}

}  // namespace quillet
