#include "cli/cli_completion.h"

#include <array>
#include <string_view>
#include <vector>

#include "cli/cli_request.h"
#include "list/list_view.h"
#include "objects/object_types.h"
#include "output/format_table.h"

namespace quillet {
namespace {

constexpr std::array<std::string_view, 2> kCommands = {"list", "compare"};
constexpr std::array<std::string_view, 6> kCriteria = {"type-id", "name", "version",
                                                       "date",    "time", "size"};

// What a file name the programs read ends in, in any letter case.
constexpr std::string_view kObjectFiles = "'[fF][oO][bB]|[fF][bB][kK]'";

std::vector<std::string> TypeValues() {
  std::vector<std::string> values(kTypeNames.begin(), kTypeNames.end());
  values.emplace_back("all");
  return values;
}

std::vector<std::string> StatusValues(ListView view) {
  std::vector<std::string> values;
  for (int status = 0; status < StatusCount(view); ++status) {
    values.emplace_back(StatusName(view, status));
  }
  values.emplace_back("all");
  return values;
}

// Both comparisons' statuses, for a --show given before the comparison is.
std::vector<std::string> AllStatusValues() {
  std::vector<std::string> values = StatusValues(ListView::kChanges);
  values.pop_back();
  for (const std::string& value : StatusValues(ListView::kUpgrade)) {
    bool known = false;
    for (const std::string& seen : values) known = known || seen == value;
    if (!known) values.push_back(value);
  }
  return values;
}

template <typename Values>
std::string WordList(const Values& values) {
  std::string list;
  for (const auto& value : values) {
    if (!list.empty()) list += ' ';
    list += value;
  }
  return list;
}

// The completion of one option's value, as an arm of the script's `case $prev`.
std::string ValueCase(const CliOptionInfo& option) {
  std::string pattern = "--" + std::string(option.name);
  if (!option.short_name.empty()) pattern = "-" + std::string(option.short_name) + " | " + pattern;
  std::string body;
  if (option.name == "types") {
    body = "_quillet_cli_values many " + WordList(TypeValues());
  } else if (option.name == "criteria") {
    body = "_quillet_cli_values many " + WordList(kCriteria);
  } else if (option.name == "format") {
    body = "_quillet_cli_values one " + WordList(FormatTokens());
  } else if (option.name == "show") {
    // Each comparison has statuses of its own.
    body = "local statuses=(" + WordList(AllStatusValues()) + ") word\n" +
           "            for word in \"${words[@]}\"; do\n"
           "                case $word in\n"
           "                    --changes) statuses=(" +
           WordList(StatusValues(ListView::kChanges)) +
           ") ;;\n"
           "                    --base | --base=*) statuses=(" +
           WordList(StatusValues(ListView::kUpgrade)) +
           ") ;;\n"
           "                esac\n"
           "            done\n"
           "            _quillet_cli_values many \"${statuses[@]}\"";
  } else if (option.name == "base") {
    body = "_filedir " + std::string(kObjectFiles);
  } else if (option.value == "FILE") {
    body = "_filedir";
  }
  // Any other value is the user's own text: nothing to offer, and no file names either.
  if (!body.empty()) body += "\n            ";
  return "        " + pattern + ")\n            " + body + "return\n            ;;\n";
}

bool PlainWord(std::string_view word) {
  if (word.empty()) return false;
  for (const char c : word) {
    const bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    if (!plain) return false;
  }
  return true;
}

constexpr std::string_view kValuesFunction =
    R"(# Completes the last comma-separated part of $cur ("many") or the whole of it ("one") from
# the words given, in any letter case, as quillet-cli takes them.
_quillet_cli_values()
{
    local how=$1 done='' part=$cur word
    shift
    if [[ $how == many && $cur == *,* ]]; then
        done=${cur%,*},
        part=${cur##*,}
    fi
    for word in "$@"; do
        if [[ ${word,,} == "${part,,}"* ]]; then
            COMPREPLY+=("$done$word")
        fi
    done
}

)";

}  // namespace

std::string CliBashCompletion() {
  const std::vector<CliOptionInfo> options = CliOptions();
  std::string value_cases, value_words, option_words;
  for (const CliOptionInfo& option : options) {
    if (!option.short_name.empty()) option_words += " -" + std::string(option.short_name);
    // In the form --help shows: --name=VALUE, or -x, --name VALUE.
    const bool equals = !option.value.empty() && option.short_name.empty();
    option_words += " --" + std::string(option.name) + (equals ? "=" : "");
    if (option.value.empty()) continue;
    value_cases += ValueCase(option);
    if (!option.short_name.empty()) value_words += " | -" + std::string(option.short_name);
    value_words += " | --" + std::string(option.name);
  }
  option_words.erase(0, 1);
  value_words.erase(0, 3);

  std::string script =
      "# bash completion for quillet-cli                          -*- shell-script -*-\n"
      "# Made from quillet-cli's table of options when it was built.\n\n";
  script += kValuesFunction;
  script +=
      "_quillet_cli()\n"
      "{\n"
      "    local cur prev words cword split\n"
      "    _init_completion -s || return\n\n"
      "    # The command is the first word that is neither an option nor an option's value;\n"
      "    # after -- every word is a command or a file.\n"
      "    local i command='' options=1\n"
      "    for ((i = 1; i < cword; i++)); do\n"
      "        if ((options)); then\n"
      "            case ${words[i]} in\n"
      "                --) options=0; continue ;;\n"
      "                " +
      value_words +
      ") ((i++)); continue ;;\n"
      "                -?*) continue ;;\n"
      "            esac\n"
      "        fi\n"
      "        [[ $command ]] || command=${words[i]}\n"
      "    done\n\n"
      "    if ((options)); then\n"
      "        case $prev in\n" +
      value_cases +
      "        esac\n"
      "        $split && return\n"
      "        if [[ $cur == -* ]]; then\n"
      "            mapfile -t COMPREPLY < <(compgen -W '" +
      option_words +
      "' -- \"$cur\")\n"
      "            [[ ${COMPREPLY-} == *= ]] && compopt -o nospace\n"
      "            return\n"
      "        fi\n"
      "    fi\n\n"
      "    if [[ ! $command ]]; then\n"
      "        mapfile -t COMPREPLY < <(compgen -W '" +
      WordList(kCommands) +
      "' -- \"$cur\")\n"
      "        return\n"
      "    fi\n"
      "    _filedir " +
      std::string(kObjectFiles) +
      "\n"
      "} &&\n"
      "    complete -F _quillet_cli quillet-cli\n\n"
      "# ex: filetype=sh\n";
  return script;
}

std::string CheckCompletionValues() {
  if (!ParseCliArguments({"no-such-command"}).error.starts_with("unknown command")) {
    return "an unknown command is no longer told apart";
  }
  for (const std::string_view command : kCommands) {
    const ParsedRequest parsed = ParseCliArguments({std::string(command)});
    if (parsed.error.starts_with("unknown command"))
      return "unknown command " + std::string(command);
  }
  CompareCriteria all{false, false, false, false, false, false};
  for (const std::string_view name : kCriteria) {
    const ParsedCriteria parsed = ParseCriteria(name);
    if (!parsed.criteria) return parsed.error;
    const CompareCriteria& c = *parsed.criteria;
    if (c.use_type_id + c.use_name + c.use_version + c.use_date + c.use_time + c.use_bsize != 1) {
      return "the criterion " + std::string(name) + " is not one box";
    }
    all.use_type_id |= c.use_type_id;
    all.use_name |= c.use_name;
    all.use_version |= c.use_version;
    all.use_date |= c.use_date;
    all.use_time |= c.use_time;
    all.use_bsize |= c.use_bsize;
  }
  if (all != CompareCriteria{}) return "a criterion has no name to complete";
  std::vector<ListFormat> formats;
  for (const std::string_view name : FormatTokens()) {
    const std::optional<ListFormat> format = ListFormatNamed(name);
    if (!format) return "unknown format " + std::string(name);
    for (const ListFormat seen : formats) {
      if (seen == *format) return "two names for one format: " + std::string(name);
    }
    formats.push_back(*format);
  }
  for (const std::string& type : TypeValues()) {
    if (!ParseTypes(type).filter) return "unknown type " + type;
  }
  // The values are written into the script unquoted.
  for (const ListView view : {ListView::kChanges, ListView::kUpgrade}) {
    for (const std::string& status : StatusValues(view)) {
      if (!PlainWord(status)) return "the status '" + status + "' is not a plain word";
    }
  }
  for (const std::string& type : TypeValues()) {
    if (!PlainWord(type)) return "the type '" + type + "' is not a plain word";
  }
  for (const CliOptionInfo& option : CliOptions()) {
    if (!PlainWord(option.name)) return "the option '" + std::string(option.name) + "'";
  }
  return {};
}

}  // namespace quillet
