// The bash completion: a function for bash-completion that goes through the words typed so far.
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_completion.h"
#include "cli/cli_completion_values.h"

namespace quillet {
namespace {

using namespace completion;

// What a file name the programs read ends in, in any letter case.
constexpr std::string_view kObjectFiles = "'[fF][oO][bB]|[fF][bB][kK]'";

// The completion of one option's value, as an arm of the script's `case $prev`.
std::string ValueCase(const CliOptionInfo& option) {
  std::string pattern = LongForm(option);
  if (!option.short_name.empty()) pattern = ShortForm(option) + " | " + pattern;
  std::string body;
  switch (KindOf(option)) {
    case ValueKind::kMany:
      body = "_quillet_cli_values many " + WordList(Words(option));
      break;
    case ValueKind::kOne:
      body = "_quillet_cli_values one " + WordList(Words(option));
      break;
    case ValueKind::kStatuses:
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
             "                    --across) statuses=(" +
             WordList(StatusValues(ListView::kAcross)) +
             ") ;;\n"
             "                esac\n"
             "            done\n"
             "            _quillet_cli_values many \"${statuses[@]}\"";
      break;
    case ValueKind::kObjectFile:
      body = "_filedir " + std::string(kObjectFiles);
      break;
    case ValueKind::kFile:
      body = "_filedir";
      break;
    case ValueKind::kText:
    case ValueKind::kNone:
      break;
  }
  // Any other value is the user's own text: nothing to offer, and no file names either.
  if (!body.empty()) body += "\n            ";
  return "        " + pattern + ")\n            " + body + "return\n            ;;\n";
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
  std::string value_cases, value_words, option_words;
  for (const CliOptionInfo& option : CliOptions()) {
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

}  // namespace quillet
