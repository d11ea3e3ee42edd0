#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/compare.h"
#include "list/compare_criteria.h"
#include "list/list_view.h"
#include "list/row_filter.h"
#include "list/row_query.h"
#include "output/list_formats.h"
#include "platform/result.h"

namespace quillet {

enum class CliCommand { kHelp, kVersion, kList, kCompare };

// What a run of quillet-cli is asked to do, read from its arguments.
struct CliRequest {
  CliCommand command = CliCommand::kHelp;
  CompareMode mode = CompareMode::kNone;  // compare: --equal, --different, --changes, --base
  bool across = false;                    // compare --across: any number of files lined up by key
  CompareCriteria criteria;
  RowFilter filter;
  std::vector<std::filesystem::path> files;   // one to list, two to compare, two or more across
  std::optional<std::filesystem::path> base;  // compare --base: the upgrade analysis's
  unsigned show = 0;     // --changes, --base, --across: the statuses listed, a bit per value
  bool summary = false;  // --changes, --base, --across: the counts instead of the rows
  bool raw = false;      // --format=csv without the formula guard
  RowQuery query;        // --filter; the empty one lets every row through
  std::optional<std::filesystem::path> output;  // -o; standard output without it
  ListFormat format = ListFormat::kText;
  std::optional<std::filesystem::path> pdf;

  // What the rows are: objects, a keyed comparison's, or the rows across files.
  ListView View() const { return across ? ListView::kAcross : ViewOf(mode); }
};

// `arguments` without the program's name. File names stay the bytes they were given as. Reads
// the arguments alone: what the names stand for on disk is for the run to find out. The error
// is one line for the user.
Result<CliRequest> ParseCliArguments(const std::vector<std::string>& arguments);

// "all", or type names separated by commas, in any letter case.
Result<RowFilter> ParseTypes(std::string_view value);

// The statuses of `view` a comma-separated list names (--show), a bit per status's value.
Result<unsigned> ParseStatuses(ListView view, std::string_view value);
// What --show lists when it is not given: all but the unchanged.
unsigned DefaultStatuses(ListView view);

// A comma-separated choice of type-id, name, version, date, time and size, in any letter
// case; empty means none.
Result<CompareCriteria> ParseCriteria(std::string_view value);

}  // namespace quillet
