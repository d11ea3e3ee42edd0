#pragma once

// What the shell completions offer, shared by the bash, zsh and fish scripts: the commands, and
// for each option what its value completes from. All of it comes from the tables the parser
// reads.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "list/list_view.h"

namespace quillet::completion {

inline constexpr std::array<std::string_view, 2> kCommands = {"list", "compare"};

// What an option's value is.
enum class ValueKind {
  kNone,        // the option takes no value
  kText,        // the user's own text: nothing to offer, and no file names either
  kObjectFile,  // an object or backup file
  kFile,        // a file of any kind
  kOne,         // one of Words()
  kMany,        // a comma-separated choice of Words()
  kStatuses,    // a comma-separated choice of the statuses of the comparison given
};
ValueKind KindOf(const CliOptionInfo& option);
// The names of a kOne or kMany value.
std::vector<std::string> Words(const CliOptionInfo& option);

// The statuses of one view, then "all".
std::vector<std::string> StatusValues(ListView view);
// Both comparisons' statuses, for a --show given before the comparison is, then "all".
std::vector<std::string> AllStatusValues();

template <typename Values>
std::string WordList(const Values& values) {
  std::string list;
  for (const auto& value : values) {
    if (!list.empty()) list += ' ';
    list += value;
  }
  return list;
}

// The option as the user types it: "--types", "-o".
inline std::string LongForm(const CliOptionInfo& option) { return "--" + std::string(option.name); }
inline std::string ShortForm(const CliOptionInfo& option) {
  return "-" + std::string(option.short_name);
}

}  // namespace quillet::completion
