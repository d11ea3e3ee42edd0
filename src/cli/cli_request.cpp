#include "cli/cli_request.h"

#include <algorithm>
#include <array>

#include "cli/cli_options.h"
#include "list/across.h"
#include "objects/object_types.h"
#include "objects/text.h"
#include "platform/input_file.h"

namespace quillet {
namespace {

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

// The options given and their values. An option may be given more than once when it means one
// thing each time; the arguments are looked at once each, as a script may pass many.
class GivenOptions {
 public:
  // Takes `option` with its value; remembers the first option given again with another value.
  void Add(CliOption option, std::string value, std::size_t place) {
    Slot& slot = slots_[static_cast<std::size_t>(option)];
    if (!slot.given) {
      slot = {true, std::move(value), place};
    } else if (slot.value != value && (!clash_ || slot.place < clash_place_)) {
      clash_ = option;
      clash_place_ = slot.place;
    }
  }
  bool Has(CliOption option) const { return slots_[static_cast<std::size_t>(option)].given; }
  const std::string& Value(CliOption option) const {
    return slots_[static_cast<std::size_t>(option)].value;
  }
  // The option given twice with different values that was given first, if any.
  std::optional<CliOption> Clash() const { return clash_; }

 private:
  struct Slot {
    bool given = false;
    std::string value;
    std::size_t place = 0;
  };
  std::array<Slot, kCliOptionCount> slots_{};
  std::optional<CliOption> clash_;
  std::size_t clash_place_ = 0;
};

std::string StatusList(ListView view) {
  std::string names;
  for (const StatusInfo& info : kStatuses) {
    if (info.view == view) names += (names.empty() ? "" : ", ") + std::string(info.token);
  }
  return names;
}

}  // namespace

Result<RowFilter> ParseTypes(std::string_view value) {
  RowFilter filter;
  filter.types.fill(false);
  const std::vector<std::string_view> parts = Parts(value);
  if (parts.empty()) return Fail("--types needs at least one type, or all");
  for (const std::string_view part : parts) {
    if (AsciiLowercase(part) == "all") {
      if (parts.size() > 1) return Fail("--types=all takes no other type beside it");
      filter.types.fill(true);
      return filter;
    }
    const int found = TypeIndexIgnoringCase(part);
    if (found < 0) {
      return Fail("unknown object type '" + std::string(part) + "' (the types are " +
                  JoinNames(kTypeNames, ", ") + ", or all)");
    }
    filter.types[found] = true;
  }
  return filter;
}

unsigned DefaultStatuses(ListView view) {
  switch (view) {
    case ListView::kChanges:
      return kDefaultChangeStatuses.Bits();
    case ListView::kUpgrade:
      return kDefaultUpgradeResults.Bits();
    case ListView::kAcross:
      return kDefaultAcrossStatuses.Bits();
    case ListView::kObjects:
      break;
  }
  return 0;
}

Result<unsigned> ParseStatuses(ListView view, std::string_view value) {
  const std::vector<std::string_view> parts = Parts(value);
  if (parts.empty()) return Fail("--show needs at least one of " + StatusList(view) + ", or all");
  unsigned bits = 0;
  for (const std::string_view part : parts) {
    if (AsciiLowercase(part) == "all") {
      bits |= (1u << StatusCount(view)) - 1;
      continue;
    }
    const std::optional<int> status = StatusOfName(view, part);
    if (!status) {
      return Fail("unknown status '" + std::string(part) + "' (the statuses are " +
                  StatusList(view) + ", or all)");
    }
    bits |= 1u << *status;
  }
  return bits;
}

Result<CompareCriteria> ParseCriteria(std::string_view value) {
  CompareCriteria criteria;
  for (const CriterionInfo& criterion : kCriteriaBoxes) criteria.*criterion.ticked = false;
  for (const std::string_view part : Parts(value)) {
    const std::string name = AsciiLowercase(part);
    const CriterionInfo* found = nullptr;
    for (const CriterionInfo& criterion : kCriteriaBoxes) {
      if (name == criterion.token) found = &criterion;
    }
    if (found == nullptr) {
      std::vector<std::string_view> tokens;
      for (const CriterionInfo& criterion : kCriteriaBoxes) tokens.push_back(criterion.token);
      return Fail("unknown criterion '" + std::string(part) + "' (the criteria are " +
                  JoinNames(tokens, " and ") + ")");
    }
    criteria.*found->ticked = true;
  }
  return criteria;
}

Result<CliRequest> ParseCliArguments(const std::vector<std::string>& arguments) {
  using enum CliOption;
  GivenOptions given;
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
    const std::string as_given = argument.substr(0, equals);
    const CliOptionInfo* info = FindCliOption(std::string_view(as_given).substr(dashes));
    if (info == nullptr) return Fail("unknown option '" + as_given + "'");
    std::string value;
    if (info->value.empty()) {
      if (equals != std::string::npos) return Fail(as_given + " takes no value");
    } else if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      return Fail("missing value after '" + argument + "'");
    }
    given.Add(info->option, std::move(value), i);
  }
  // An option given twice must mean one thing.
  if (const std::optional<CliOption> clash = given.Clash()) {
    return Fail("--" + std::string(CliOptionOf(*clash).name) +
                " is given twice, with different values");
  }

  CliRequest request;
  if (given.Has(kHelp)) return request;
  if (given.Has(kVersion)) {
    request.command = CliCommand::kVersion;
    return request;
  }

  if (positional.empty()) return Fail("no command given");
  const std::string& command = positional.front();
  if (command != "list" && command != "compare") {
    return Fail("unknown command '" + command + "'");
  }
  const bool equal = given.Has(kEqual), different = given.Has(kDifferent),
             changes = given.Has(kChanges), upgrade = given.Has(kBase), across = given.Has(kAcross);
  const int modes = equal + different + changes + upgrade + across;
  if (command == "compare") {
    if (modes != 1) {
      return Fail("compare takes one of --equal, --different, --changes, --base and --across");
    }
    if (across && positional.size() < 3) return Fail("compare --across takes two files or more");
    if (!across && positional.size() != 3) return Fail("compare takes exactly two files");
    request.command = CliCommand::kCompare;
    request.across = across;
    request.mode = equal       ? CompareMode::kEqual
                   : different ? CompareMode::kDifferent
                   : changes   ? CompareMode::kChanges
                   : upgrade   ? CompareMode::kUpgrade
                               : CompareMode::kNone;
  } else {
    if (modes > 0 || given.Has(kCriteria)) {
      return Fail(
          "--equal, --different, --changes, --base, --across and --criteria go with compare");
    }
    if (positional.size() != 2) return Fail("list takes exactly one file");
    request.command = CliCommand::kList;
  }
  if (upgrade) {
    if (given.Value(kBase).empty()) return Fail("--base needs a file name");
    request.base = given.Value(kBase);
  }
  const ListView view = request.View();
  if (!HasStatus(view) && (given.Has(kShow) || given.Has(kSummary))) {
    return Fail("--show and --summary go with compare --changes, --base or --across");
  }
  if (given.Has(kShow)) {
    Result<unsigned> statuses = ParseStatuses(view, given.Value(kShow));
    if (!statuses) return Error{statuses.error()};
    request.show = *statuses;
  } else {
    request.show = DefaultStatuses(view);
  }
  request.summary = given.Has(kSummary);
  if (given.Has(kFilter)) {
    Result<RowQuery> query = ParseRowQuery(given.Value(kFilter));
    if (!query) return Fail("--filter: " + query.error());
    request.query = std::move(*query);
  }
  for (std::size_t i = 1; i < positional.size(); ++i) request.files.emplace_back(positional[i]);
  // Standard input can be read only once.
  const auto stdin_uses = std::count(positional.begin() + 1, positional.end(), kStandardInputName) +
                          (request.base && *request.base == kStandardInputName ? 1 : 0);
  if (stdin_uses > 1) return Fail("- (standard input) is given twice; it can be read only once");

  for (const auto& [option, target] : {std::pair{kOutput, &request.output}, {kPdf, &request.pdf}}) {
    if (!given.Has(option)) continue;
    if (given.Value(option).empty()) return Fail("-o and --pdf need a file name");
    *target = given.Value(option);
  }
  // The printout's lines have room for the fields of one object, and its header for two files;
  // a column for each of any number of files does not fit them.
  if (across && request.pdf) {
    return Fail("--pdf does not go with --across: the printout has no room for a column per file");
  }
  if (given.Has(kFormat)) {
    const std::optional<ListFormat> format = ListFormatNamed(given.Value(kFormat));
    if (!format) {
      return Fail("unknown format '" + given.Value(kFormat) + "' (the formats are " +
                  JoinNames(FormatTokens(), " and ") + ")");
    }
    request.format = *format;
  }
  request.raw = given.Has(kRaw);
  if (request.raw && request.format != ListFormat::kCsv)
    return Fail("--raw goes with --format=csv");
  if (request.summary && request.format == ListFormat::kIds) {
    return Fail("--summary gives counts, which have no IDs; --format=ids does not go with it");
  }
  if (given.Has(kTypes)) {
    Result<RowFilter> types = ParseTypes(given.Value(kTypes));
    if (!types) return Error{types.error()};
    request.filter = *types;
  }
  request.filter.hide_system = given.Has(kHideSystem);
  if (given.Has(kCriteria)) {
    Result<CompareCriteria> criteria = ParseCriteria(given.Value(kCriteria));
    if (!criteria) return Error{criteria.error()};
    request.criteria = *criteria;
  }
  return request;
}

}  // namespace quillet
