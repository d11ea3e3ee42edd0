#include "cli/cli_options.h"

#include <vector>

#include "cli/cli_request.h"
#include "list/compare_criteria.h"
#include "list/list_view.h"
#include "output/format_table.h"

namespace quillet {
namespace {

using enum CliOption;

// What --show takes: each comparison's statuses, in the order the list shows them, and its
// default: the statuses themselves where they are few, else all but those left out.
std::string ShowHelp() {
  std::string help;
  for (const ListView view : {ListView::kChanges, ListView::kUpgrade, ListView::kAcross}) {
    std::vector<std::string_view> tokens, listed, left_out;
    const unsigned defaults = DefaultStatuses(view);
    for (const StatusInfo& info : kStatuses) {
      if (info.view != view) continue;
      tokens.push_back(info.token);
      ((defaults >> info.value) & 1 ? listed : left_out).push_back(info.token);
    }
    tokens.push_back("all");
    std::string default_text;
    if (listed.size() < 4) {
      for (const std::string_view token : listed) {
        default_text += (default_text.empty() ? "" : ",") + std::string(token);
      }
    } else {
      default_text = "all but " + JoinNames(left_out, " and ");
    }
    help += view == ListView::kChanges   ? "--changes: "
            : view == ListView::kUpgrade ? " --base: "
                                         : " --across: ";
    help += JoinNames(tokens, " or ") + " (default " + default_text + ").";
  }
  return help;
}

std::string CriteriaHelp() {
  static_assert(kCriteriaBoxes.size() == 6, "the help says \"all six\"");
  std::vector<std::string_view> tokens;
  for (const CriterionInfo& criterion : kCriteriaBoxes) tokens.push_back(criterion.token);
  return "compare: what must be equal, separated by commas: " + JoinNames(tokens, ", ") +
         ". Default: all six; empty: none.";
}

// The options in the order --help lists them. Where a help text names a vocabulary's words, it
// is made from that vocabulary's table.
const std::array<CliOptionInfo, kCliOptionCount>& Table() {
  static const std::string show_help = ShowHelp();
  static const std::string criteria_help = CriteriaHelp();
  static const std::array<CliOptionInfo, kCliOptionCount> options = {{
      {kTypes, "types", "", "TYPES",
       "Object types to list, separated by commas, or all. Default: all but TableData."},
      {kHideSystem, "hide-system", "", "", "Leave out system objects (those with ten-digit IDs)."},
      {kEqual, "equal", "", "",
       "compare: list the pairs of objects that are equal in both files, in the order of the "
       "file with fewer objects (FILE2 when both have as many)."},
      {kDifferent, "different", "", "",
       "compare: list the objects of each file that have no equal in the other."},
      {kChanges, "changes", "", "",
       "compare: pair the objects by type and ID and list what changed, with a status and the "
       "changed fields."},
      {kBase, "base", "", "BASE",
       "compare: the upgrade analysis of FILE1 and FILE2 against the base file BASE."},
      {kAcross, "across", "", "",
       "compare: line up the objects of two files or more by type and ID, a row per key and a "
       "column per file that names its variant (A, B, ...; empty where the file lacks it)."},
      {kCriteria, "criteria", "", "LIST", criteria_help},
      {kShow, "show", "", "STATUSES", show_help},
      {kFilter, "filter", "", "FILTER",
       "Only the rows the filter matches (see the README): words such as id:50000..99999, "
       "type:Codeunit, tag:CUST*, name:post, status:changed, -WORD, \"two words\". A pair "
       "stays when either of its rows matches; of several lines, a row needs to match one, and "
       "the lines of --format=ids read back."},
      {kSummary, "summary", "", "",
       "--changes, --base: the counts per type and status as a table instead of the rows. "
       "--across: a line per file: its objects, those no other file has, and against each file "
       "the rows on which the two differ."},
      {kOutput, "output", "o", "FILE",
       "Write the rows to FILE (replaced whole, or not at all; a device or a pipe is written "
       "into) instead of standard output; - is standard output."},
      {kFormat, "format", "", "FORMAT",
       "text (the saved list: quoted fields, Windows-1252), csv, tsv (tab-separated UTF-8 for "
       "grep and git), json, html (a report for a browser), ids (the IDs as filter lines) or "
       "xlsx (a spreadsheet). Default: text."},
      {kRaw, "raw", "", "",
       "With --format=csv: cells as they are, without the guard against spreadsheet formulas."},
      {kPdf, "pdf", "", "FILE",
       "Also write the printout of the rows as a PDF; - is standard output (then -o names a "
       "file)."},
      {kHelp, "help", "h", "", "Show this help."},
      {kVersion, "version", "v", "", "Show the version."},
  }};
  return options;
}

// "@" stands for the names --format takes.
constexpr std::string_view kUsage =
    "Usage: quillet-cli list|compare [options] FILE [FILE2 ...]\n"
    "Lists the objects of an object file (.fob) or a backup file (.fbk), or compares two such\n"
    "files, or any number of them, as lines of quoted, comma-separated fields.\n"
    "\n"
    "Commands:\n"
    "  list [--types=T1,T2,...|all] [--hide-system] FILE\n"
    "  compare --equal|--different [--criteria=LIST] [--types=...] [--hide-system] FILE1 FILE2\n"
    "  compare --changes [--show=STATUSES] [--summary] [--criteria=...] [--types=...]\n"
    "          [--hide-system] FILE1 FILE2\n"
    "  compare --base=BASE [--show=RESULTS] [--summary] [--criteria=...] [--types=...]\n"
    "          [--hide-system] FILE1 FILE2\n"
    "  compare --across [--show=STATUSES] [--summary] [--criteria=...] [--types=...]\n"
    "          [--hide-system] FILE1 FILE2 [FILE3 ...]\n"
    "All take [-o FILE] [--format=@] [--raw]; all but --across [--pdf FILE].\n"
    "\n"
    "Exit status: 0 done; 1 when compare --different lists rows, when compare --changes finds\n"
    "a changed object or one in one file only, when compare --base finds a conflict, when\n"
    "compare --across finds a row that differs; 2 trouble.\n";

}  // namespace

std::span<const CliOptionInfo> CliOptions() { return Table(); }

const CliOptionInfo& CliOptionOf(CliOption option) {
  for (const CliOptionInfo& info : Table()) {
    if (info.option == option) return info;
  }
  return Table().front();
}

const CliOptionInfo* FindCliOption(std::string_view name) {
  for (const CliOptionInfo& info : Table()) {
    if (name == info.name || (!info.short_name.empty() && name == info.short_name)) return &info;
  }
  return nullptr;
}

std::string CliHelpText() {
  std::string text(kUsage);
  std::string formats;
  for (const std::string_view name : FormatTokens())
    formats += (formats.empty() ? "" : "|") + std::string(name);
  text.replace(text.find('@'), 1, formats);
  text += "\nOptions:\n";
  for (const CliOptionInfo& info : Table()) {
    std::string names = "  ";
    if (!info.short_name.empty()) names += "-" + std::string(info.short_name) + ", ";
    names += "--" + std::string(info.name);
    if (!info.value.empty())
      names += (info.short_name.empty() ? "=" : " ") + std::string(info.value);
    text += names;
    text += names.size() < 24 ? std::string(24 - names.size(), ' ') : "\n" + std::string(24, ' ');
    text += info.help;
    text += '\n';
  }
  return text;
}

}  // namespace quillet
