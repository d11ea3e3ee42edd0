// The zsh and fish completions: each shell's own way of declaring options and their values.
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_completion.h"
#include "cli/cli_completion_values.h"

namespace quillet {
namespace {

using namespace completion;

// The help's first sentence, which is what a completion menu has room for.
std::string Summary(const CliOptionInfo& option) {
  std::string_view help = option.help;
  const std::size_t stop = help.find(". ");
  help = help.substr(0, stop);
  if (help.ends_with('.')) help.remove_suffix(1);
  return std::string(help);
}

std::string Replaced(std::string_view text, char from, std::string_view to) {
  std::string out;
  for (const char c : text) {
    if (c == from) {
      out += to;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Lowercase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return lower;
}

// ---- zsh ----

// One option as _arguments takes it, in single quotes.
std::string ZshSpec(const CliOptionInfo& option) {
  // In the explanation a ']' ends it and a quote ends the word.
  const std::string explanation =
      "[" + Replaced(Replaced(Summary(option), '\'', "'\\''"), ']', "\\]") + "]";
  const ValueKind kind = KindOf(option);
  std::string value;
  const std::string message = ":" + Lowercase(option.value) + ":";
  switch (kind) {
    case ValueKind::kNone:
      break;
    case ValueKind::kText:
      value = message + " ";
      break;
    case ValueKind::kObjectFile:
      value = message + "_files -g \"*.(#i)(fob|fbk)(-.)\"";
      break;
    case ValueKind::kFile:
      value = message + "_files";
      break;
    case ValueKind::kOne:
      value = message + "(" + WordList(Words(option)) + ")";
      break;
    case ValueKind::kMany:
      value = message + "_values -s , " + Lowercase(option.value) + " " + WordList(Words(option));
      break;
    case ValueKind::kStatuses:
      value = message + "_quillet_cli_statuses";
      break;
  }
  const std::string takes = kind == ValueKind::kNone ? "" : "=";
  if (option.short_name.empty()) return "'" + LongForm(option) + takes + explanation + value + "'";
  // -o FILE or --output=FILE, and either one only once.
  const std::string both = "(" + ShortForm(option) + " " + LongForm(option) + ")";
  return "'" + both + "'{" + ShortForm(option) + (kind == ValueKind::kNone ? "" : "+") + "," +
         LongForm(option) + takes + "}'" + explanation + value + "'";
}

// ---- fish ----

std::string FishQuoted(std::string_view text) {
  return "'" + Replaced(Replaced(text, '\\', "\\\\"), '\'', "\\'") + "'";
}

std::string FishLine(const CliOptionInfo& option) {
  std::string line = "complete -c quillet-cli";
  if (!option.short_name.empty()) line += " -s " + std::string(option.short_name);
  line += " -l " + std::string(option.name);
  switch (KindOf(option)) {
    case ValueKind::kNone:
      break;
    case ValueKind::kText:
      line += " -x";
      break;
    case ValueKind::kObjectFile:
      line += " -x -a '(__quillet_cli_object_files)'";
      break;
    case ValueKind::kFile:
      line += " -r -F";
      break;
    case ValueKind::kOne:
      line += " -x -a " + FishQuoted(WordList(Words(option)));
      break;
    case ValueKind::kMany:
      line += " -x -a '(__quillet_cli_many " + WordList(Words(option)) + ")'";
      break;
    case ValueKind::kStatuses:
      line += " -x -a '(__quillet_cli_statuses)'";
      break;
  }
  return line + " -d " + FishQuoted(Summary(option)) + "\n";
}

constexpr std::string_view kFishFunctions =
    R"(# The command typed so far: the first word that is neither an option nor an option's value;
# after -- every word is a command or a file.
function __quillet_cli_command
    set -l words (commandline -opc)
    set -e words[1]
    set -l options 1
    set -l value 0
    for word in $words
        if test $value -eq 1
            set value 0
            continue
        end
        if test $options -eq 1
            switch $word
                case --
                    set options 0
                    continue
                case @VALUES@
                    set value 1
                    continue
                case '-?*'
                    continue
            end
        end
        echo $word
        return 0
    end
    return 1
end

# The word being typed without the option before its "=".
function __quillet_cli_value
    string replace -r -- '^--?[a-z-]+=' '' (commandline -ct)
end

# Completes the last comma-separated part of the value from the words given.
function __quillet_cli_many
    set -l done (string match -r -- '^.*,' (__quillet_cli_value))
    for word in $argv
        printf '%s%s\n' "$done" $word
    end
end

# The statuses of the comparison given on the line; both comparisons' before one is.
function __quillet_cli_statuses
    set -l words (commandline -opc)
    if contains -- --changes $words
        __quillet_cli_many @CHANGES@
    else if string match -q -r -- '^--base(=|$)' $words
        __quillet_cli_many @UPGRADE@
    else if contains -- --across $words
        __quillet_cli_many @ACROSS@
    else
        __quillet_cli_many @ALL@
    end
end

# Object and backup files in any letter case, and folders to go into.
function __quillet_cli_object_files
    set -l typed (__quillet_cli_value)
    for file in $typed*
        if test -d $file
            printf '%s/\n' $file
        else if string match -q -i -r -- '\.(fob|fbk)$' $file
            printf '%s\n' $file
        end
    end
end

)";

std::string Filled(std::string text, std::string_view place, std::string_view with) {
  text.replace(text.find(place), place.size(), with);
  return text;
}

}  // namespace

std::string CliZshCompletion() {
  std::string script =
      "#compdef quillet-cli\n"
      "# zsh completion for quillet-cli. Made from quillet-cli's table of options when it was\n"
      "# built.\n\n"
      "# The statuses of the comparison given on the line; both comparisons' before one is.\n"
      "_quillet_cli_statuses() {\n"
      "  local -a statuses\n"
      "  statuses=(" +
      WordList(AllStatusValues()) +
      ")\n"
      "  if (( ${words[(I)--changes]} )); then\n"
      "    statuses=(" +
      WordList(StatusValues(ListView::kChanges)) +
      ")\n"
      "  elif (( ${words[(I)--base(|=*)]} )); then\n"
      "    statuses=(" +
      WordList(StatusValues(ListView::kUpgrade)) +
      ")\n"
      "  elif (( ${words[(I)--across]} )); then\n"
      "    statuses=(" +
      WordList(StatusValues(ListView::kAcross)) +
      ")\n"
      "  fi\n"
      "  _values -s , status $statuses\n"
      "}\n\n"
      "_arguments -S \\\n";
  for (const CliOptionInfo& option : CliOptions()) script += "  " + ZshSpec(option) + " \\\n";
  script += "  '1:command:(" + WordList(kCommands) + ")' \\\n";
  script += "  '*:file:_files -g \"*.(#i)(fob|fbk)(-.)\"'\n";
  return script;
}

std::string CliFishCompletion() {
  std::string values;
  for (const CliOptionInfo& option : CliOptions()) {
    if (KindOf(option) == ValueKind::kNone) continue;
    if (!option.short_name.empty()) values += " " + ShortForm(option);
    values += " " + LongForm(option);
  }
  std::string functions = Filled(std::string(kFishFunctions), "@VALUES@", values.substr(1));
  functions = Filled(functions, "@CHANGES@", WordList(StatusValues(ListView::kChanges)));
  functions = Filled(functions, "@UPGRADE@", WordList(StatusValues(ListView::kUpgrade)));
  functions = Filled(functions, "@ACROSS@", WordList(StatusValues(ListView::kAcross)));
  functions = Filled(functions, "@ALL@", WordList(AllStatusValues()));

  std::string script =
      "# fish completion for quillet-cli. Made from quillet-cli's table of options when it was\n"
      "# built.\n\n" +
      functions;
  script += "complete -c quillet-cli -f\n";
  script += "complete -c quillet-cli -n 'not __quillet_cli_command' -a " +
            FishQuoted(WordList(kCommands)) + "\n";
  script += "complete -c quillet-cli -n __quillet_cli_command -a '(__quillet_cli_object_files)'\n";
  for (const CliOptionInfo& option : CliOptions()) script += FishLine(option);
  return script;
}

}  // namespace quillet
