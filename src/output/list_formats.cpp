#include "output/list_formats.h"

#include <cstdio>

#include "objects/code_page.h"
#include "objects/text.h"
#include "output/export_line.h"

namespace quillet {
namespace {

char FileNumber(const RowView& row) { return static_cast<char>('0' + row.file); }

// A Windows-1252 text as a CSV field in UTF-8, quoted only where it must be.
void AppendCsvField(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    AppendWindows1252AsUtf8(out, text);
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    AppendWindows1252AsUtf8(out, {&c, 1});
  }
  out += '"';
}

// A Windows-1252 text as a JSON string in UTF-8.
void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          AppendWindows1252AsUtf8(out, {&c, 1});
        }
    }
  }
  out += '"';
}

}  // namespace

void ListFormatter::Begin(std::string& out) {
  if (format_ == ListFormat::kCsv) {
    for (const ColumnInfo& column : kColumns) {
      if (&column != &kColumns.front()) out += ',';
      out += column.header;
    }
    out += "\r\n";
  } else if (format_ == ListFormat::kJson) {
    out += '[';
  }
}

void ListFormatter::AddRow(std::string& out, const RowView& row) {
  switch (format_) {
    case ListFormat::kText:
      AppendExportLine(out, row);
      break;
    case ListFormat::kCsv:
      out += FileNumber(row);
      for (int column = 1; column < kColumnCount; ++column) {
        out += ',';
        AppendCsvField(out, TrimBlanks(row.Cell(ColumnAt(column))));
      }
      out += "\r\n";
      break;
    case ListFormat::kJson:
      out += first_row_ ? "\n" : ",\n";
      out += "  {";
      AppendJsonString(out, Info(Column::kFile).header);
      out += ": ";
      out += FileNumber(row);
      for (int column = 1; column < kColumnCount; ++column) {
        out += ", ";
        AppendJsonString(out, kColumns[column].header);
        out += ": ";
        AppendJsonString(out, TrimBlanks(row.Cell(ColumnAt(column))));
      }
      out += '}';
      break;
  }
  first_row_ = false;
}

void ListFormatter::End(std::string& out) {
  if (format_ == ListFormat::kJson) out += first_row_ ? "]\n" : "\n]\n";
}

}  // namespace quillet
