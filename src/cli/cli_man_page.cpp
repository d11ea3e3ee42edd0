#include "cli/cli_man_page.h"

#include <array>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_request.h"
#include "output/format_table.h"

namespace quillet {
namespace {

// The parts of the --help text the page shows, found by the headings of its blocks.
struct HelpParts {
  std::vector<std::string> description;  // paragraphs
  std::vector<std::string> commands;     // one per command, its wrapped lines joined
  std::string exit_status;
};

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::size_t Indent(const std::string& line) {
  const std::size_t first = line.find_first_not_of(' ');
  return first == std::string::npos ? line.size() : first;
}

std::string Join(const std::vector<std::string>& lines, std::size_t from) {
  std::string text;
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (!text.empty()) text += ' ';
    text += lines[i].substr(Indent(lines[i]));
  }
  return text;
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// Blocks are separated by blank lines. A block of a kind the page does not know becomes a
// paragraph of the description, so nothing --help says is left out.
HelpParts SplitHelp(std::string_view help) {
  HelpParts parts;
  std::vector<std::vector<std::string>> blocks(1);
  for (std::string& line : Lines(help)) {
    if (line.empty()) {
      if (!blocks.back().empty()) blocks.emplace_back();
    } else {
      blocks.back().push_back(std::move(line));
    }
  }
  constexpr std::string_view kExitStatus = "Exit status:";
  for (const std::vector<std::string>& block : blocks) {
    if (block.empty() || block.front() == "Options:") continue;  // the table says these
    if (StartsWith(block.front(), "Usage:")) {
      if (block.size() > 1) parts.description.push_back(Join(block, 1));
    } else if (StartsWith(block.front(), kExitStatus)) {
      parts.exit_status = Join(block, 0).substr(kExitStatus.size() + 1);
    } else if (block.front() == "Commands:") {
      for (std::size_t i = 1; i < block.size(); ++i) {
        const std::size_t indent = Indent(block[i]);
        const std::string line = block[i].substr(indent);
        if (indent == 0) {
          parts.description.push_back(line);
        } else if (indent > 2 && !parts.commands.empty()) {
          parts.commands.back() += ' ' + line;  // the command's next line
        } else {
          parts.commands.push_back(line);
        }
      }
    } else {
      parts.description.push_back(Join(block, 0));
    }
  }
  return parts;
}

std::string OptionTag(const CliOptionInfo& option) {
  std::string tag;
  if (!option.short_name.empty()) tag += "\\fB" + RoffText("-" + std::string(option.short_name));
  if (!tag.empty()) tag += "\\fR, ";
  tag += "\\fB" + RoffText("--" + std::string(option.name)) + "\\fR";
  if (!option.value.empty()) {
    // The form --help shows: --name=VALUE, or -x, --name VALUE.
    tag += option.short_name.empty() ? "=" : " ";
    tag += "\\fI" + RoffText(option.value) + "\\fR";
  }
  return tag;
}

struct Example {
  std::string_view arguments;
  std::string_view what;
};

constexpr std::array<Example, 5> kExamples = {{
    {"list --types=Codeunit,Table build.fob", "Lists the codeunits and tables of build.fob."},
    {"compare --different --criteria=type-id,version old.fbk new.fob",
     "Lists the objects of each file that have no object of the same type, ID and version list "
     "in the other."},
    {"compare --changes --summary -o changes.csv old.fbk new.fob",
     "Writes how many objects changed, per type and status, to changes.csv."},
    {"list --format=xlsx -o objects.xlsx build.fob",
     "Writes the objects of build.fob as a spreadsheet with typed cells."},
    {"compare --across --format=html -o report.html release.fob site1.fob site2.fob site3.fob",
     "Writes a report of the objects that differ across four installations, a column per file "
     "naming its variant of each."},
}};

constexpr std::string_view kOutputTargets =
    "-o - is standard output, and so is --pdf -, which then needs -o FILE for the rows. A "
    "regular file is replaced whole or not at all and keeps its owner and permissions; a file "
    "the user may not write is refused; a link stays and its target is written. A device, a "
    "pipe or a terminal is written into, never replaced; xlsx and PDF are not written to a "
    "terminal. A failed write says why and exits 2.";

constexpr std::string_view kJsonInterface =
    "The JSON is an interface, described by the JSON Schema (draft 2020-12) "
    "/usr/share/doc/quillet-cli/output.schema.json: File, and ID and BLOB size where they hold a "
    "plain whole number, are numbers; in --changes and --base, Status is the --show name "
    "(changed, only1, conflict, ...), \"Status text\" what the window shows, Changed the array "
    "of changed columns, and Group the number the rows of one pair or triple share. With "
    "--summary: {\"View\": \"changes\", \"Counts\": [{\"Type\": \"Table\", \"same\": 5120, "
    "...}], \"Total\": {...}}. compare --across writes one object: {\"View\": \"across\", "
    "\"Files\": [...], \"Rows\": [{\"Type\": \"Table\", \"ID\": 18, \"Name\": ..., "
    "\"Variants\": 2, \"Status\": \"differs\", \"Status text\": \"Differs\", \"Cells\": "
    "[\"A\", \"B\", null], \"Objects\": [{...}, {...}, null]}]}, with --summary \"Summary\": "
    "[{\"File\": \"a.fob\", \"Objects\": 120, \"Only here\": 3, \"Differs\": [0, 5, 7]}, "
    "...] in place of the rows.";

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  for (const std::string& line : Lines(text)) {
    std::size_t start = 0;
    while (start < line.size()) {
      const std::size_t end = line.find(' ', start);
      if (end != start) words.push_back(line.substr(start, end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  return words;
}

}  // namespace

std::string RoffText(std::string_view text) {
  std::string roff;
  bool line_start = true;
  for (const char c : text) {
    if (line_start && (c == '.' || c == '\'')) roff += "\\&";
    if (c == '\\') {
      roff += "\\e";
    } else if (c == '-') {
      roff += "\\-";
    } else {
      roff += c;
    }
    line_start = c == '\n';
  }
  return roff;
}

std::string CliManPage(std::string_view version, std::string_view date) {
  const HelpParts help = SplitHelp(CliHelpText());
  std::string page;
  page += ".\\\" Made from quillet-cli's --help text and table of options when it was built.\n";
  page += ".TH QUILLET\\-CLI 1 \"" + RoffText(date) + "\" \"Quillet " + RoffText(version) +
          "\" \"User Commands\"\n";
  page += ".SH NAME\n";
  page += "quillet\\-cli \\- list and compare the objects of object and backup files\n";

  page += ".SH SYNOPSIS\n.na\n.in +4n\n";
  for (const std::string& command : help.commands) {
    const std::size_t blank = command.find(' ');
    page += ".ti -4n\n\\fBquillet\\-cli " + RoffText(command.substr(0, blank)) + "\\fR";
    // Options are not broken at their dashes: \% keeps a word whole.
    if (blank != std::string::npos) {
      for (const std::string& word : Words(command.substr(blank + 1))) {
        page += " \\%" + RoffText(word);
      }
    }
    page += '\n';
  }
  page += ".in -4n\n.ad\n";

  page += ".SH DESCRIPTION\n";
  for (const std::string& paragraph : help.description) {
    if (&paragraph != &help.description.front()) page += ".PP\n";
    page += RoffText(paragraph) + '\n';
  }
  page += ".PP\nThe window, \\fBquillet\\fR(1), lists and compares the same files.\n";

  page += ".SH OPTIONS\n";
  for (const CliOptionInfo& option : CliOptions()) {
    page += ".TP\n" + OptionTag(option) + '\n' + RoffText(option.help) + '\n';
  }

  page += ".SH \"OUTPUT FORMATS\"\n";
  for (const FormatInfo& format : kFormats) {
    page += ".TP\n\\fB" + RoffText(format.token) + "\\fR\n" + RoffText(format.about) + '\n';
  }
  page += ".PP\n" + RoffText(kOutputTargets) + "\n.PP\n" + RoffText(kJsonInterface) + '\n';

  if (!help.exit_status.empty())
    page += ".SH \"EXIT STATUS\"\n" + RoffText(help.exit_status) + '\n';

  page += ".SH EXAMPLES\n";
  for (const Example& example : kExamples) {
    page += ".PP\n.nf\n.RS 4\n\\fBquillet\\-cli " + RoffText(example.arguments) + "\\fR\n";
    page += ".RE\n.fi\n" + RoffText(example.what) + '\n';
  }
  page += ".SH \"SEE ALSO\"\n.BR quillet (1)\n";
  return page;
}

std::string CheckManPageExamples() {
  for (const Example& example : kExamples) {
    const Result<CliRequest> parsed = ParseCliArguments(Words(example.arguments));
    if (!parsed) {
      return "the example 'quillet-cli " + std::string(example.arguments) +
             "' is refused: " + parsed.error();
    }
  }
  return {};
}

}  // namespace quillet
