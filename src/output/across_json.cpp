// The rows across files as one JSON object (docs/output.schema.json):
//   {"View": "across", "Files": ["a.fob", "b.fob"], "Rows": [
//     {"Type": "Table", "ID": 18, "Name": "Customer", "Variants": 2, "Status": "differs",
//      "Status text": "Differs", "Cells": ["A", "B"], "Objects": [{...}, {...}]}]}
// A file without the row's object has null for its cell and its object. With the summary:
//   {"View": "across", "Files": [...], "Summary": [{"File": "a.fob", "Objects": 120,
//    "Only here": 3, "Differs": [0, 5]}, ...]}
#include "list/across_variants.h"
#include "objects/text.h"
#include "output/across_output.h"
#include "output/json_text.h"
#include "output/list_formats.h"

namespace quillet {
namespace {

// A name that is already UTF-8 without control characters (AcrossFileName) as a JSON string.
void AppendJsonUtf8(std::string& out, std::string_view utf8) {
  out += '"';
  for (const char c : utf8) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
}

class AcrossJson final : public AcrossFormatter {
 public:
  explicit AcrossJson(const AcrossContext& context) : files_(context.files) {}

  void Begin(std::string& out) override {
    Head(out);
    out += ",\n \"Rows\": [";
  }

  void AddRow(std::string& out, const AcrossRow& row) override {
    out += first_row_ ? "\n  {\"Type\": " : ",\n  {\"Type\": ";
    first_row_ = false;
    AppendJsonString(out, row.type);
    out += ", \"ID\": ";
    if (const std::optional<long long> id = WholeNumber(row.id)) {
      out += std::to_string(*id);
    } else {
      AppendJsonString(out, row.id);
    }
    out += ", \"Name\": ";
    AppendJsonString(out, TrimBlanks(row.name));
    out += ", \"Variants\": ";
    out += std::to_string(row.variants);
    out += ", \"Status\": ";
    AppendJsonString(out, StatusName(ListView::kAcross, static_cast<int>(row.status)));
    out += ", \"Status text\": ";
    AppendJsonString(out, StatusText(ListView::kAcross, static_cast<int>(row.status)));
    out += ",\n   \"Cells\": [";
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
      if (i > 0) out += ", ";
      const AcrossCell& cell = row.cells[i];
      if (cell.HasObject()) {
        out += '"';
        out += VariantLetters(cell.variant);
        out += '"';
      } else {
        out += "null";
      }
    }
    out += "],\n   \"Objects\": [";
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
      if (i > 0) out += ",\n    ";
      const AcrossCell& cell = row.cells[i];
      if (cell.HasObject()) {
        out += '{';
        AppendJsonFields(out, cell.record);
        out += '}';
      } else {
        out += "null";
      }
    }
    out += "]}";
  }

  void End(std::string& out, const AcrossResult& /*result*/) override {
    out += first_row_ ? "]}\n" : "\n ]}\n";
  }

  void Summary(std::string& out, const AcrossSummary& summary) override {
    Head(out);
    out += ",\n \"Summary\": [";
    for (int file = 0; file < summary.FileCount(); ++file) {
      out += file == 0 ? "\n  {\"File\": " : ",\n  {\"File\": ";
      AppendJsonUtf8(out, files_.at(static_cast<std::size_t>(file)));
      out += ", \"Objects\": " + std::to_string(summary.Objects(file));
      out += ", \"Only here\": " + std::to_string(summary.OnlyHere(file));
      out += ", \"Differs\": [";
      for (int other = 0; other < summary.FileCount(); ++other) {
        if (other > 0) out += ", ";
        out += std::to_string(summary.Differs(file, other));
      }
      out += "]}";
    }
    out += summary.FileCount() == 0 ? "]}\n" : "\n ]}\n";
  }

 private:
  void Head(std::string& out) const {
    out += "{\"View\": \"across\",\n \"Files\": [";
    for (std::size_t i = 0; i < files_.size(); ++i) {
      if (i > 0) out += ", ";
      AppendJsonUtf8(out, files_[i]);
    }
    out += ']';
  }

  std::vector<std::string> files_;
  bool first_row_ = true;
};

}  // namespace

namespace detail {
std::unique_ptr<AcrossFormatter> MakeAcrossJson(const AcrossContext& context) {
  return std::make_unique<AcrossJson>(context);
}
}  // namespace detail

}  // namespace quillet
