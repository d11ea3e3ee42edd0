#include "output/list_formats.h"

#include <cstdio>

#include "objects/code_page.h"
#include "objects/text.h"
#include "output/export_line.h"

namespace quillet {
namespace {

const char* FileNumber(const ObjectRow& row) { return row.file == 2 ? "2" : "1"; }

void AppendCsvField(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendJsonString(std::string& out, std::string_view utf8) {
  out += '"';
  for (char c : utf8) {
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
          out += c;
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

void ListFormatter::AddRow(std::string& out, const ObjectRow& row) {
  switch (format_) {
    case ListFormat::kText:
      AppendExportLine(out, row);
      break;
    case ListFormat::kCsv:
      out += FileNumber(row);
      for (int column = 1; column < kColumnCount; ++column) {
        out += ',';
        AppendCsvField(out, Windows1252ToUtf8(TrimBlanks(row.Cell(ColumnAt(column)))));
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
        AppendJsonString(out, Windows1252ToUtf8(TrimBlanks(row.Cell(ColumnAt(column)))));
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
