#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace quillet {

enum class CliOption {
  kHelp,
  kVersion,
  kTypes,
  kHideSystem,
  kEqual,
  kDifferent,
  kChanges,
  kBase,
  kAcross,
  kCriteria,
  kShow,
  kSummary,
  kOutput,
  kFormat,
  kRaw,
  kFilter,
  kPdf
};
inline constexpr int kCliOptionCount = 17;

// One option of quillet-cli. --help, the parser, the manual page and the shell completions are
// all made from the table of these, so an option added to it appears in each.
struct CliOptionInfo {
  CliOption option;
  std::string_view name;        // without the dashes
  std::string_view short_name;  // empty: none
  std::string_view value;       // what the value is called; empty: the option takes none
  std::string_view help;
};

// The options in the order --help lists them.
std::span<const CliOptionInfo> CliOptions();

// The option a name (without its dashes, long or short) stands for, or nothing.
const CliOptionInfo* FindCliOption(std::string_view name);
const CliOptionInfo& CliOptionOf(CliOption option);

// "a, b, c or d" (`last` between the last two).
template <typename Names>
std::string JoinNames(const Names& names, std::string_view last) {
  std::string list;
  std::size_t i = 0;
  for (const auto& name : names) {
    if (i > 0) list += i + 1 == std::size(names) ? std::string(last) : std::string(", ");
    list += name;
    ++i;
  }
  return list;
}

// The --help text.
std::string CliHelpText();

// The line after the message of a command line that makes no sense.
inline constexpr std::string_view kCliUsageHint = "try 'quillet-cli --help'";

}  // namespace quillet
