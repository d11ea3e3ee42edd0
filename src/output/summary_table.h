#pragma once

#include <string>

#include "list/keyed_listing.h"
#include "list/list_view.h"
#include "output/list_formats.h"

namespace quillet {

// The counts of a keyed comparison, a line per type that has any counted key, then the total,
// with the statuses in the summary's order.
template <class Status, int kCount>
SummaryCounts SummaryOf(ListView view, const KeyedCounts<Status, kCount>& counts) {
  SummaryCounts summary;
  summary.view = view;
  summary.statuses = StatusSummaryOrder(view);
  const auto line = [&](std::string_view type, const StatusCounts<Status, kCount>& values) {
    SummaryCounts::Line out{std::string(type), {}};
    for (const int status : summary.statuses) {
      out.values.push_back(values.values[static_cast<std::size_t>(status)]);
    }
    return out;
  };
  for (const auto& type : counts.by_type) summary.types.push_back(line(type.type, type.counts));
  summary.total = line("Total", counts.total);
  return summary;
}

// The counts in the CSV form (CR LF, quotes only where needed):
//   Type,Same,Changed,Only in #1,Only in #2
//   Table,5120,180,40,41
//   Total,5708,201,45,46
template <class Status, int kCount>
std::string SummaryTable(ListView view, const KeyedCounts<Status, kCount>& counts) {
  std::string out;
  AppendDelimitedSummary(out, SummaryOf(view, counts), ',', "\r\n");
  return out;
}

}  // namespace quillet
