#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The ways a list can leave the program (see list_formats.h for what each holds).
enum class ListFormat { kText, kCsv, kJson, kHtml, kIds, kTsv, kXlsx };

// Everything the command line (--format, its help, the manual page, the completion) and the
// window's Save dialog know of a format.
struct FormatInfo {
  ListFormat format;
  std::string_view token;      // --format's name for it, lower case
  std::string_view extension;  // of a saved file, without the dot
  std::string_view label;      // the Save dialog's name for the type; empty: not offered there
  std::string_view about;      // what it is, for the manual page
  bool binary;                 // not text: never written to a terminal
};

inline constexpr std::array<FormatInfo, 7> kFormats = {{
    {ListFormat::kText, "text", "txt", "Text files",
     "the saved list, as the window saves it: ten quoted fields a line (two more, the status and "
     "the changed fields, in --changes and --base; in --across a header line, then Type, ID, "
     "Name, Variants and a field per file), Windows-1252, CR LF. The default.",
     false},
    {ListFormat::kCsv, "csv", "csv", "CSV files",
     "comma-separated values with a header row, quoted only where needed, UTF-8, CR LF; a cell "
     "that would run as a spreadsheet formula starts with ' unless --raw.",
     false},
    {ListFormat::kJson, "json", "json", "JSON files",
     "an array of objects, one a row, UTF-8; with --summary one object of counts; in --across "
     "one object of the files and the rows. output.schema.json describes them all.",
     false},
    {ListFormat::kHtml, "html", "html", "HTML reports",
     "a report that opens in any browser: the files, what was compared, the counts, the rows.",
     false},
    {ListFormat::kIds, "ids", "txt", "",
     "the IDs as filter lines, one a type: Table: 18|27|5050..5060.", false},
    {ListFormat::kTsv, "tsv", "tsv", "Tab-separated text",
     "a header line, then fields separated by tabs, UTF-8, LF, nothing quoted: for grep, awk "
     "and git.",
     false},
    {ListFormat::kXlsx, "xlsx", "xlsx", "Spreadsheets",
     "a spreadsheet with typed cells: numbers, dates, a frozen header with a filter, the "
     "changed cells marked. Binary: not to a terminal.",
     true},
}};

constexpr const FormatInfo& InfoOf(ListFormat format) {
  return kFormats[static_cast<std::size_t>(format)];
}

// The format of a name (text, csv, ...), in any letter case.
std::optional<ListFormat> ListFormatNamed(std::string_view name);

// The names, in table order: "text", "csv", ...
std::vector<std::string_view> FormatTokens();

// The Save dialog's types: the formats it offers, in table order, then every file.
std::vector<ListFormat> SavedFormats();
// Its filter text: "Text files (*.txt)|*.txt|...|All files (*.*)|*.*".
std::string SaveDialogFilter();
// The format a saved file's extension (without the dot, any letter case) stands for.
std::optional<ListFormat> FormatOfExtension(std::string_view extension);

}  // namespace quillet
