#pragma once

#include <vector>

#include "list/row_query.h"
#include "output/list_file_writer.h"

namespace quillet {

// Lets through to the output the rows --filter keeps. Rows shown together (a pair, a triple)
// stay together: all of them when any matches. Only the rows of one group wait here.
class FilteredOutput {
 public:
  FilteredOutput(const RowQuery& query, RowOutput& output) : query_(query), output_(output) {}

  bool Add(const RowView& row) {
    if (query_.MatchesEverything()) return output_.Add(row);
    if (!group_.empty() && row.group != group_.front().group && !Flush()) return false;
    group_.push_back(row);
    return row.group != 0 || Flush();
  }
  // The last group's rows, if they stay.
  bool Flush() {
    const bool keep = AnyMatches(query_, group_);
    bool written = true;
    for (const RowView& row : group_) written = written && (!keep || output_.Add(row));
    group_.clear();
    return written;
  }

 private:
  const RowQuery& query_;
  RowOutput& output_;
  std::vector<RowView> group_;
};

}  // namespace quillet
