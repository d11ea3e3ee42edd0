#include "cli/cli_request.h"

#include <algorithm>
#include <array>

#include "objects/object_types.h"
#include "objects/text.h"
#include "platform/input_file.h"

namespace quillet {
namespace {

enum class Option {
  kHelp,
  kVersion,
  kTypes,
  kHideSystem,
  kEqual,
  kDifferent,
  kChanges,
  kBase,
  kCriteria,
  kShow,
  kSummary,
  kOutput,
  kFormat,
  kRaw,
  kFilter,
  kPdf
};

struct OptionSpec {
  Option option;
  std::string_view name;
  std::string_view short_name;  // empty: none
  std::string_view value;       // empty: the option takes no value
  std::string_view help;
};

// The options in the order --help lists them.
constexpr std::array<OptionSpec, 16> kOptions = {{
    {Option::kTypes, "types", "", "TYPES",
     "Object types to list, separated by commas, or all. Default: all but TableData."},
    {Option::kHideSystem, "hide-system", "", "",
     "Leave out system objects (those with ten-digit IDs)."},
    {Option::kEqual, "equal", "", "",
     "compare: list the pairs of objects that are equal in both files."},
    {Option::kDifferent, "different", "", "",
     "compare: list the objects of each file that have no equal in the other."},
    {Option::kChanges, "changes", "", "",
     "compare: pair the objects by type and ID and list what changed, with a status and the "
     "changed fields."},
    {Option::kBase, "base", "", "BASE",
     "compare: the upgrade analysis of FILE1 and FILE2 against the base file BASE."},
    {Option::kCriteria, "criteria", "", "LIST",
     "compare: what must be equal, separated by commas: type-id, name, version, date, time, "
     "size. Default: all six; empty: none."},
    {Option::kShow, "show", "", "STATUSES",
     "--changes: changed, only1, only2, same or all (default changed,only1,only2). --base: "
     "unchanged, only1changed, only2changed, bothalike, conflict, only1added, only2added or all "
     "(default all but unchanged)."},
    {Option::kFilter, "filter", "", "FILTER",
     "Only the rows the filter matches (see the README): words such as id:50000..99999, "
     "type:Codeunit, tag:CUST*, name:post, status:changed, -WORD, \"two words\". A pair "
     "stays when either of its rows matches."},
    {Option::kSummary, "summary", "", "",
     "--changes, --base: the counts per type and status as a table instead of the rows."},
    {Option::kOutput, "output", "o", "FILE",
     "Write the rows to FILE (replaced whole, or not at all) instead of standard output."},
    {Option::kFormat, "format", "", "FORMAT",
     "text (the saved list: quoted fields, Windows-1252), csv, json, html (a report for a "
     "browser) or ids (the IDs as filter lines). Default: text."},
    {Option::kRaw, "raw", "", "",
     "With --format=csv: cells as they are, without the guard against spreadsheet formulas."},
    {Option::kPdf, "pdf", "", "FILE", "Also write the printout of the rows as a PDF."},
    {Option::kHelp, "help", "h", "", "Show this help."},
    {Option::kVersion, "version", "v", "", "Show the version."},
}};

constexpr std::string_view kUsage =
    "Usage: quillet-cli list|compare [options] FILE [FILE2]\n"
    "Lists the objects of an object file (.fob) or a backup file (.fbk), or compares two such\n"
    "files, as lines of quoted, comma-separated fields.\n"
    "\n"
    "Commands:\n"
    "  list [--types=T1,T2,...|all] [--hide-system] FILE\n"
    "  compare --equal|--different [--criteria=LIST] [--types=...] [--hide-system] FILE1 FILE2\n"
    "  compare --changes [--show=STATUSES] [--summary] [--criteria=...] [--types=...]\n"
    "          [--hide-system] FILE1 FILE2\n"
    "  compare --base=BASE [--show=RESULTS] [--summary] [--criteria=...] [--types=...]\n"
    "          [--hide-system] FILE1 FILE2\n"
    "All take [-o FILE] [--format=text|csv|json|html|ids] [--raw] [--pdf FILE].\n"
    "\n"
    "Exit status: 0 done; 1 when compare --different lists rows, when compare --changes finds\n"
    "a changed object or one in one file only, when compare --base finds a conflict; 2\n"
    "trouble.\n";

const OptionSpec& Spec(Option option) {
  for (const OptionSpec& spec : kOptions) {
    if (spec.option == option) return spec;
  }
  return kOptions.front();
}

const OptionSpec* FindOption(std::string_view name) {
  for (const OptionSpec& spec : kOptions) {
    if (name == spec.name || (!spec.short_name.empty() && name == spec.short_name)) return &spec;
  }
  return nullptr;
}

// Comma-separated parts with blanks removed at both ends; empty parts are left out.
std::vector<std::string_view> Parts(std::string_view value) {
  std::vector<std::string_view> parts;
  while (!value.empty()) {
    const std::size_t comma = value.find(',');
    const std::string_view part = TrimBlanks(value.substr(0, comma));
    if (!part.empty()) parts.push_back(part);
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  return parts;
}

// Whether two names are the same file: the same file on disk when both exist, else the same
// absolute name.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec)) return true;
  const auto absolute_a = std::filesystem::weakly_canonical(a, ec);
  if (ec) return false;
  const auto absolute_b = std::filesystem::weakly_canonical(b, ec);
  return !ec && absolute_a == absolute_b;
}

// An output that would replace an input file, or both outputs in one file: the user's object
// file would be lost, or one output would overwrite the other.
std::string OutputClash(const CliRequest& request) {
  for (const auto* output : {&request.output, &request.pdf}) {
    if (!*output) continue;
    std::vector<std::filesystem::path> inputs = request.files;
    if (request.base) inputs.push_back(*request.base);
    for (const std::filesystem::path& input : inputs) {
      // An input "-" is whatever standard input is.
      if (SameFile(**output, input == kStandardInputName ? "/dev/stdin" : input)) {
        return "the output " + (*output)->string() + " is an input file; it would be replaced";
      }
    }
  }
  if (request.output && request.pdf && SameFile(*request.output, *request.pdf)) {
    return "-o and --pdf name the same file";
  }
  return {};
}

// An option and its value, as the arguments gave them.
struct Given {
  Option option;
  std::string value;
};

}  // namespace

ParsedTypes ParseTypes(std::string_view value) {
  RowFilter filter;
  filter.types.fill(false);
  const std::vector<std::string_view> parts = Parts(value);
  if (parts.empty()) return {std::nullopt, "--types needs at least one type, or all"};
  for (const std::string_view part : parts) {
    const std::string name = AsciiLowercase(part);
    if (name == "all") {
      if (parts.size() > 1) return {std::nullopt, "--types=all takes no other type beside it"};
      filter.types.fill(true);
      return {filter, {}};
    }
    int found = -1;
    for (int i = 0; i < kTypeCount; ++i) {
      if (name == AsciiLowercase(kTypeNames[i])) found = i;
    }
    if (found < 0) {
      return {std::nullopt, "unknown object type '" + std::string(part) +
                                "' (the types are TableData, Table, Form, Report, Dataport, "
                                "XMLport, Codeunit, Page, MenuSuite, or all)"};
    }
    filter.types[found] = true;
  }
  return {filter, {}};
}

unsigned DefaultStatuses(ListView view) {
  switch (view) {
    case ListView::kChanges:
      return kDefaultChangeStatuses.Bits();
    case ListView::kUpgrade:
      return kDefaultUpgradeResults.Bits();
    case ListView::kObjects:
      break;
  }
  return 0;
}

ParsedStatuses ParseStatuses(ListView view, std::string_view value) {
  std::string names;
  for (int status = 0; status < StatusCount(view); ++status) {
    names += (status == 0 ? "" : ", ") + std::string(StatusName(view, status));
  }
  const std::vector<std::string_view> parts = Parts(value);
  if (parts.empty()) return {std::nullopt, "--show needs at least one of " + names + ", or all"};
  unsigned bits = 0;
  for (const std::string_view part : parts) {
    if (AsciiLowercase(part) == "all") {
      bits |= (1u << StatusCount(view)) - 1;
      continue;
    }
    const std::optional<int> status = StatusOfName(view, part);
    if (!status) {
      return {std::nullopt, "unknown status '" + std::string(part) + "' (the statuses are " +
                                names + ", or all)"};
    }
    bits |= 1u << *status;
  }
  return {bits, {}};
}

ParsedCriteria ParseCriteria(std::string_view value) {
  CompareCriteria criteria{false, false, false, false, false, false};
  for (const std::string_view part : Parts(value)) {
    const std::string name = AsciiLowercase(part);
    if (name == "type-id") {
      criteria.use_type_id = true;
    } else if (name == "name") {
      criteria.use_name = true;
    } else if (name == "version") {
      criteria.use_version = true;
    } else if (name == "date") {
      criteria.use_date = true;
    } else if (name == "time") {
      criteria.use_time = true;
    } else if (name == "size") {
      criteria.use_bsize = true;
    } else {
      return {std::nullopt, "unknown criterion '" + std::string(part) +
                                "' (the criteria are type-id, name, version, date, time and "
                                "size)"};
    }
  }
  return {criteria, {}};
}

std::string CliHelpText() {
  std::string text(kUsage);
  text += "\nOptions:\n";
  for (const OptionSpec& spec : kOptions) {
    std::string names = "  ";
    if (!spec.short_name.empty()) names += "-" + std::string(spec.short_name) + ", ";
    names += "--" + std::string(spec.name);
    if (!spec.value.empty())
      names += (spec.short_name.empty() ? "=" : " ") + std::string(spec.value);
    text += names;
    text += names.size() < 24 ? std::string(24 - names.size(), ' ') : "\n" + std::string(24, ' ');
    text += spec.help;
    text += '\n';
  }
  return text;
}

std::vector<CliOptionInfo> CliOptions() {
  std::vector<CliOptionInfo> options;
  for (const OptionSpec& spec : kOptions) {
    options.push_back({spec.name, spec.short_name, spec.value, spec.help});
  }
  return options;
}

ParsedRequest ParseCliArguments(const std::vector<std::string>& arguments) {
  const auto trouble = [](std::string error) {
    return ParsedRequest{std::nullopt, std::move(error)};
  };
  std::vector<Given> given;
  std::vector<std::string> positional;
  bool options_end = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options_end || argument.size() < 2 || argument[0] != '-') {
      positional.push_back(argument);
      continue;
    }
    if (argument == "--") {
      options_end = true;
      continue;
    }
    // One or two dashes, a name, and for an option that takes one, "=value" or the next word.
    const std::size_t dashes = argument[1] == '-' ? 2 : 1;
    const std::size_t equals = argument.find('=');
    const std::string name =
        argument.substr(dashes, equals == std::string::npos ? std::string::npos : equals - dashes);
    const OptionSpec* spec = FindOption(name);
    if (spec == nullptr) return trouble("Unknown option '" + name + "'.");
    std::string value;
    if (spec->value.empty()) {
      if (equals != std::string::npos) return trouble("Unexpected value after '" + argument + "'.");
    } else if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      return trouble("Missing value after '" + argument + "'.");
    }
    given.push_back({spec->option, std::move(value)});
  }

  // An option given twice must mean one thing.
  for (std::size_t i = 0; i < given.size(); ++i) {
    for (std::size_t j = i + 1; j < given.size(); ++j) {
      if (given[i].option == given[j].option && given[i].value != given[j].value) {
        return trouble("--" + std::string(Spec(given[i].option).name) +
                       " is given twice, with different values");
      }
    }
  }

  CliRequest request;
  const auto is_set = [&](Option option) {
    for (const Given& g : given) {
      if (g.option == option) return true;
    }
    return false;
  };
  // The last value given counts.
  const auto value_of = [&](Option option) {
    std::string value;
    for (const Given& g : given) {
      if (g.option == option) value = g.value;
    }
    return value;
  };
  if (is_set(Option::kHelp)) return {request, {}};
  if (is_set(Option::kVersion)) {
    request.command = CliCommand::kVersion;
    return {request, {}};
  }

  if (positional.empty()) return trouble("no command given; try --help");
  const std::string& command = positional.front();
  if (command != "list" && command != "compare") {
    return trouble("unknown command '" + command + "'; try --help");
  }
  const bool equal = is_set(Option::kEqual), different = is_set(Option::kDifferent),
             changes = is_set(Option::kChanges), upgrade = is_set(Option::kBase);
  const int modes = equal + different + changes + upgrade;
  if (command == "compare") {
    if (modes != 1) {
      return trouble("compare takes one of --equal, --different, --changes and --base");
    }
    if (positional.size() != 3) return trouble("compare takes exactly two files");
    request.command = CliCommand::kCompare;
    request.mode = equal       ? CompareMode::kEqual
                   : different ? CompareMode::kDifferent
                   : changes   ? CompareMode::kChanges
                               : CompareMode::kUpgrade;
  } else {
    if (modes > 0 || is_set(Option::kCriteria)) {
      return trouble("--equal, --different, --changes, --base and --criteria go with compare");
    }
    if (positional.size() != 2) return trouble("list takes exactly one file");
    request.command = CliCommand::kList;
  }
  if (upgrade) {
    if (value_of(Option::kBase).empty()) return trouble("--base needs a file name");
    request.base = value_of(Option::kBase);
  }
  const ListView view = ViewOf(request.mode);
  if (!HasStatus(view) && (is_set(Option::kShow) || is_set(Option::kSummary))) {
    return trouble("--show and --summary go with compare --changes or --base");
  }
  if (is_set(Option::kShow)) {
    ParsedStatuses statuses = ParseStatuses(view, value_of(Option::kShow));
    if (!statuses.statuses) return trouble(statuses.error);
    request.show = *statuses.statuses;
  } else {
    request.show = DefaultStatuses(view);
  }
  request.summary = is_set(Option::kSummary);
  if (is_set(Option::kFilter)) {
    RowQueryParse query = ParseRowQuery(value_of(Option::kFilter));
    if (!query.query) return trouble("--filter: " + query.error);
    request.query = std::move(*query.query);
  }
  for (std::size_t i = 1; i < positional.size(); ++i) request.files.emplace_back(positional[i]);
  // Standard input can be read only once.
  const auto stdin_uses = std::count(positional.begin() + 1, positional.end(), kStandardInputName) +
                          (upgrade && value_of(Option::kBase) == kStandardInputName ? 1 : 0);
  if (stdin_uses > 1) return trouble("- (standard input) is given twice; it can be read only once");

  if (is_set(Option::kOutput)) {
    if (value_of(Option::kOutput).empty()) return trouble("-o and --pdf need a file name");
    request.output = value_of(Option::kOutput);
  }
  if (is_set(Option::kPdf)) {
    if (value_of(Option::kPdf).empty()) return trouble("-o and --pdf need a file name");
    request.pdf = value_of(Option::kPdf);
  }
  if (is_set(Option::kFormat)) {
    const std::optional<ListFormat> format = ListFormatNamed(value_of(Option::kFormat));
    if (!format) {
      return trouble("unknown format '" + value_of(Option::kFormat) +
                     "' (the formats are text, csv, json, html and ids)");
    }
    request.format = *format;
  }
  request.raw = is_set(Option::kRaw);
  if (request.raw && request.format != ListFormat::kCsv) {
    return trouble("--raw goes with --format=csv");
  }
  if (request.summary && is_set(Option::kFormat) && request.format != ListFormat::kCsv) {
    return trouble("--summary writes a table in the CSV form; no other --format goes with it");
  }
  if (is_set(Option::kTypes)) {
    ParsedTypes types = ParseTypes(value_of(Option::kTypes));
    if (!types.filter) return trouble(types.error);
    request.filter = *types.filter;
  }
  request.filter.hide_system = is_set(Option::kHideSystem);
  if (is_set(Option::kCriteria)) {
    ParsedCriteria criteria = ParseCriteria(value_of(Option::kCriteria));
    if (!criteria.criteria) return trouble(criteria.error);
    request.criteria = *criteria.criteria;
  }
  if (const std::string clash = OutputClash(request); !clash.empty()) return trouble(clash);
  return {request, {}};
}

}  // namespace quillet
