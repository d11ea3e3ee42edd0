#include "output/json_text.h"

#include <cstdio>

#include "list/changed_fields.h"
#include "objects/code_page.h"
#include "objects/text.h"

namespace quillet {
namespace {

std::string_view ViewName(ListView view) {
  return view == ListView::kUpgrade   ? "upgrade"
         : view == ListView::kChanges ? "changes"
                                      : "objects";
}

class JsonFormat final : public ListFormatter {
 public:
  explicit JsonFormat(ListView view) : view_(view) {}

  void Begin(std::string& out) override { out += '['; }
  void AddRow(std::string& out, const RowView& row) override {
    out += first_row_ ? "\n" : ",\n";
    first_row_ = false;
    out += "  {";
    AppendJsonString(out, Info(Column::kFile).header);
    out += ": ";
    out += static_cast<char>('0' + row.file);
    out += ", ";
    AppendJsonFields(out, row.record);
    if (HasStatus(view_)) {
      Name(out, kStatusHeader);
      AppendJsonString(out, StatusName(view_, row.status));
      Name(out, "Status text");
      AppendJsonString(out, row.StatusText());
      Name(out, "Changed");
      out += '[';
      bool first = true;
      for (int field = 0; field < kFieldCount; ++field) {
        if ((row.changed & FieldBit(static_cast<Field>(field))) == 0) continue;
        if (!first) out += ", ";
        first = false;
        AppendJsonString(out, Info(ColumnOf(static_cast<Field>(field))).header);
      }
      out += ']';
    }
    if (row.group != 0) {
      Name(out, "Group");
      out += std::to_string(row.group);
    }
    out += '}';
  }
  void End(std::string& out) override { out += first_row_ ? "]\n" : "\n]\n"; }

  void Summary(std::string& out, const SummaryCounts& counts) override {
    out += "{\"View\": ";
    AppendJsonString(out, ViewName(counts.view));
    out += ",\n \"Counts\": [";
    const auto values = [&](const SummaryCounts::Line& line, bool after_type) {
      for (std::size_t i = 0; i < counts.statuses.size() && i < line.values.size(); ++i) {
        if (after_type || i > 0) out += ", ";
        AppendJsonString(out, StatusName(counts.view, counts.statuses[i]));
        out += ": ";
        out += std::to_string(line.values[i]);
      }
    };
    for (const SummaryCounts::Line& line : counts.types) {
      out += &line == &counts.types.front() ? "\n  {\"Type\": " : ",\n  {\"Type\": ";
      AppendJsonString(out, line.type);
      values(line, true);
      out += '}';
    }
    out += counts.types.empty() ? "],\n" : "\n ],\n";
    out += " \"Total\": {";
    values(counts.total, false);
    out += "}}\n";
  }

 private:
  static void Name(std::string& out, std::string_view name) {
    out += ", ";
    AppendJsonString(out, name);
    out += ": ";
  }

  ListView view_;
  bool first_row_ = true;
};

}  // namespace

std::unique_ptr<ListFormatter> MakeJsonFormat(const ListContext& context) {
  return std::make_unique<JsonFormat>(context.view);
}

void AppendJsonFields(std::string& out, std::string_view record) {
  for (int f = 0; f < kFieldCount; ++f) {
    const auto field = static_cast<Field>(f);
    const std::string_view text = TrimBlanks(record.substr(
        static_cast<std::size_t>(FieldOffset(field)), static_cast<std::size_t>(FieldWidth(field))));
    const std::optional<long long> number =
        field == Field::kId || field == Field::kBlobSize ? WholeNumber(text) : std::nullopt;
    if (f > 0) out += ", ";
    AppendJsonString(out, Info(ColumnOf(field)).header);
    out += ": ";
    if (number) {
      out += std::to_string(*number);
    } else {
      AppendJsonString(out, text);
    }
  }
}

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

}  // namespace quillet
