#pragma once

#include <string>

#include "list/keyed_listing.h"
#include "list/list_view.h"
#include "output/list_formats.h"

namespace quillet {

// The counts of a keyed comparison as a table in the CSV form (CR LF, quotes only where
// needed): a header, a line per type that has any counted key, then the total.
//   Type,Same,Changed,Only in #1,Only in #2
//   Table,5120,180,40,41
//   Total,5708,201,45,46
template <class Status, int kCount>
std::string SummaryTable(ListView view, const KeyedCounts<Status, kCount>& counts) {
  const auto order = StatusSummaryOrder(view);
  std::string out = "Type";
  for (const int status : order) {
    out += ',';
    AppendCsvField(out, StatusText(view, status), true);
  }
  out += "\r\n";
  const auto line = [&](std::string_view type, const StatusCounts<Status, kCount>& values) {
    AppendCsvField(out, type, false);
    for (const int status : order) {
      out += ',';
      out += std::to_string(values.values[static_cast<std::size_t>(status)]);
    }
    out += "\r\n";
  };
  for (const auto& type : counts.by_type) line(type.type, type.counts);
  line("Total", counts.total);
  return out;
}

}  // namespace quillet
