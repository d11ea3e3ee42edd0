#include "cli/cli_completion.h"

#include <algorithm>

#include "cli/cli_completion_values.h"
#include "cli/cli_request.h"
#include "objects/object_types.h"

namespace quillet {
namespace completion {

ValueKind KindOf(const CliOptionInfo& option) {
  if (option.value.empty()) return ValueKind::kNone;
  switch (option.option) {
    case CliOption::kTypes:
    case CliOption::kCriteria:
      return ValueKind::kMany;
    case CliOption::kFormat:
      return ValueKind::kOne;
    case CliOption::kShow:
      return ValueKind::kStatuses;
    case CliOption::kBase:
      return ValueKind::kObjectFile;
    default:
      return option.value == "FILE" ? ValueKind::kFile : ValueKind::kText;
  }
}

std::vector<std::string> Words(const CliOptionInfo& option) {
  std::vector<std::string> words;
  if (option.option == CliOption::kTypes) {
    words.assign(kTypeNames.begin(), kTypeNames.end());
    words.emplace_back("all");
  } else if (option.option == CliOption::kCriteria) {
    for (const CriterionInfo& criterion : kCriteriaBoxes) words.emplace_back(criterion.token);
  } else if (option.option == CliOption::kFormat) {
    const std::vector<std::string_view> formats = FormatTokens();
    words.assign(formats.begin(), formats.end());
  }
  return words;
}

std::vector<std::string> StatusValues(ListView view) {
  std::vector<std::string> values;
  for (const StatusInfo& info : kStatuses) {
    if (info.view == view) values.emplace_back(info.token);
  }
  values.emplace_back("all");
  return values;
}

std::vector<std::string> AllStatusValues() {
  std::vector<std::string> values;
  for (const StatusInfo& info : kStatuses) {
    // Views may share a name ("same"): offered once.
    if (std::find(values.begin(), values.end(), info.token) == values.end()) {
      values.emplace_back(info.token);
    }
  }
  values.emplace_back("all");
  return values;
}

}  // namespace completion

namespace {

using namespace completion;

bool PlainWord(std::string_view word) {
  if (word.empty()) return false;
  for (const char c : word) {
    const bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    if (!plain) return false;
  }
  return true;
}

}  // namespace

std::string CheckCompletionValues() {
  if (!ParseCliArguments({"no-such-command"}).error().starts_with("unknown command")) {
    return "an unknown command is no longer told apart";
  }
  for (const std::string_view command : kCommands) {
    if (ParseCliArguments({std::string(command)}).error().starts_with("unknown command")) {
      return "unknown command " + std::string(command);
    }
  }
  for (const CliOptionInfo& option : CliOptions()) {
    if (!PlainWord(option.name)) return "the option '" + std::string(option.name) + "'";
    // Each name offered is one the option takes, as a value of its own.
    for (const std::string& word : Words(option)) {
      if (!PlainWord(word)) return "the value '" + word + "' is not a plain word";
      const std::vector<std::string> arguments = {"compare", "--equal",
                                                  LongForm(option) + "=" + word, "a.fob", "b.fob"};
      if (const Result<CliRequest> parsed = ParseCliArguments(arguments); !parsed) {
        return LongForm(option) + "=" + word + ": " + parsed.error();
      }
    }
  }
  // The values are written into the scripts unquoted.
  for (const ListView view : {ListView::kChanges, ListView::kUpgrade, ListView::kAcross}) {
    for (const std::string& status : StatusValues(view)) {
      if (!PlainWord(status)) return "the status '" + status + "' is not a plain word";
      const std::string mode = view == ListView::kChanges   ? "--changes"
                               : view == ListView::kUpgrade ? "--base=b.fob"
                                                            : "--across";
      if (!ParseCliArguments({"compare", mode, "--show=" + status, "a.fob", "b.fob"})) {
        return "the status " + status + " is not taken";
      }
    }
  }
  return {};
}

}  // namespace quillet
