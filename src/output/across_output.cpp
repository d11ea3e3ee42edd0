#include "output/across_output.h"

#include "list/across_variants.h"
#include "objects/code_page.h"
#include "objects/text.h"
#include "output/id_lines.h"
#include "output/list_formats.h"

namespace quillet {
namespace {

constexpr std::size_t kPiece = std::size_t{64} * 1024;

// Letters are asked for every cell of every row: made once each.
class Letters {
 public:
  const std::string& Of(int variant) {
    while (letters_.size() <= static_cast<std::size_t>(variant)) {
      letters_.push_back(VariantLetters(static_cast<int>(letters_.size())));
    }
    return letters_[static_cast<std::size_t>(variant)];
  }

 private:
  std::vector<std::string> letters_;
};

// The saved list's form, CSV and tab-separated text: a header line, a line a row, and the
// summary as a table of the same form.
class LinesFormat final : public AcrossFormatter {
 public:
  LinesFormat(ListFormat format, const AcrossContext& context)
      : format_(format), raw_(context.raw_csv), files_(context.files) {
    separator_ = format == ListFormat::kTsv ? '\t' : ',';
    line_end_ = format == ListFormat::kTsv ? "\n" : "\r\n";
    for (const std::string& name : context.files) {
      std::string field;
      NameField(field, name);
      names_.push_back(std::move(field));
    }
  }

  void Begin(std::string& out) override {
    for (std::size_t i = 0; i < kAcrossKeyColumns.size(); ++i) {
      if (i > 0) out += separator_;
      Text(out, kAcrossKeyColumns[i]);
    }
    for (const std::string& name : names_) {
      out += separator_;
      out += name;
    }
    out += line_end_;
  }

  void AddRow(std::string& out, const AcrossRow& row) override {
    Text(out, row.type);
    out += separator_;
    Text(out, row.id);
    out += separator_;
    Text(out, TrimBlanks(row.name));
    out += separator_;
    Plain(out, std::to_string(row.variants));
    for (const AcrossCell& cell : row.cells) {
      out += separator_;
      Plain(out, cell.HasObject() ? std::string_view(letters_.Of(cell.variant)) : "");
    }
    out += line_end_;
  }

  // As the keyed views' counts: the saved list's form gives the CSV form.
  void Summary(std::string& out, const AcrossSummary& summary) override {
    const bool tsv = format_ == ListFormat::kTsv;
    const char separator = tsv ? '\t' : ',';
    const std::string_view line_end = tsv ? "\n" : "\r\n";
    for (const std::string_view column : kAcrossSummaryColumns) {
      out += column;
      out += separator;
    }
    std::vector<std::string> names;
    for (const std::string& file : files_) {
      std::string field;
      (tsv ? TsvName : CsvName)(field, file, raw_);
      names.push_back(std::move(field));
    }
    for (std::size_t file = 0; file < names.size(); ++file) {
      if (file > 0) out += separator;
      out += names[file];
    }
    out += line_end;
    for (int file = 0; file < summary.FileCount(); ++file) {
      out += names.at(static_cast<std::size_t>(file));
      out += separator;
      out += std::to_string(summary.Objects(file));
      out += separator;
      out += std::to_string(summary.OnlyHere(file));
      for (int other = 0; other < summary.FileCount(); ++other) {
        out += separator;
        out += std::to_string(summary.Differs(file, other));
      }
      out += line_end;
    }
  }

 private:
  static void CsvName(std::string& out, std::string_view utf8, bool raw) {
    const bool formula = !raw && !utf8.empty() && kFormulaStarts.find(utf8[0]) != std::string::npos;
    const bool quoted = utf8.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quoted) out += '"';
    if (formula) out += '\'';
    for (const char c : utf8) {
      if (c == '"') out += '"';
      out += c;
    }
    if (quoted) out += '"';
  }
  static void TsvName(std::string& out, std::string_view utf8, bool /*raw*/) {
    for (const char c : utf8) out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
  }

  // A file's name as its column's title.
  void NameField(std::string& out, const std::string& utf8) const {
    switch (format_) {
      case ListFormat::kCsv:
        CsvName(out, utf8, raw_);
        return;
      case ListFormat::kTsv:
        TsvName(out, utf8, raw_);
        return;
      default:
        out += '"';
        out += Utf8ToWindows1252(utf8);
        out += '"';
    }
  }

  // A Windows-1252 text of the file's.
  void Text(std::string& out, std::string_view text) const {
    switch (format_) {
      case ListFormat::kCsv:
        AppendCsvField(out, text, raw_);
        return;
      case ListFormat::kTsv:
        for (const char c : text) {
          const char shown = c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
          AppendWindows1252AsUtf8(out, {&shown, 1});
        }
        return;
      default:
        out += '"';
        out += text;
        out += '"';
    }
  }
  // A number or letters, which need no quoting in CSV or TSV.
  void Plain(std::string& out, std::string_view text) const {
    const bool quoted = format_ != ListFormat::kCsv && format_ != ListFormat::kTsv;
    if (quoted) out += '"';
    out += text;
    if (quoted) out += '"';
  }

  ListFormat format_;
  bool raw_;
  char separator_;
  std::string_view line_end_;
  std::vector<std::string> files_;  // as given
  std::vector<std::string> names_;  // as the header writes them
  Letters letters_;
};

// The IDs of the rows, as the list's ID lines: each row's key stands in its first object.
class IdsFormat final : public AcrossFormatter {
 public:
  IdsFormat() : lines_(MakeIdLines()) {}
  void AddRow(std::string& out, const AcrossRow& row) override {
    const AcrossCell& first = row.cells[static_cast<std::size_t>(row.first)];
    lines_->AddRow(out, RowView{row.first + 1, first.record});
  }
  void End(std::string& out, const AcrossResult& /*result*/) override { lines_->End(out); }
  void Summary(std::string& /*out*/, const AcrossSummary& /*summary*/) override {}

 private:
  std::unique_ptr<ListFormatter> lines_;
};

}  // namespace

std::string AcrossFileName(std::string_view name) {
  std::string utf8;
  utf8.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const Utf8Char c = DecodeUtf8(name, i);
    // Control characters too: no output has a use for them in a title.
    if (c.length == 0 || c.code < 0x20 || (c.code >= 0x7F && c.code <= 0x9F)) {
      utf8 += "\xEF\xBF\xBD";
      i += c.length == 0 ? 1 : static_cast<std::size_t>(c.length);
      continue;
    }
    utf8.append(name.substr(i, static_cast<std::size_t>(c.length)));
    i += static_cast<std::size_t>(c.length);
  }
  return utf8;
}

std::unique_ptr<AcrossFormatter> AcrossFormatter::Make(ListFormat format,
                                                       const AcrossContext& context) {
  switch (format) {
    case ListFormat::kJson:
      return detail::MakeAcrossJson(context);
    case ListFormat::kHtml:
      return detail::MakeAcrossHtml(context);
    case ListFormat::kXlsx:
      return detail::MakeAcrossXlsx(context);
    case ListFormat::kIds:
      return std::make_unique<IdsFormat>();
    case ListFormat::kText:
    case ListFormat::kCsv:
    case ListFormat::kTsv:
      break;
  }
  return std::make_unique<LinesFormat>(format, context);
}

AcrossWriter::AcrossWriter(RowOutput& output, ListFormat format, const AcrossContext& context)
    : output_(output), formatter_(AcrossFormatter::Make(format, context)) {
  piece_.reserve(kPiece + 4096);
}

bool AcrossWriter::Begun() {
  if (!begun_) {
    begun_ = true;
    formatter_->Begin(piece_);
  }
  return ok_;
}

bool AcrossWriter::Row(const AcrossRow& row) {
  if (!Begun()) return false;
  formatter_->AddRow(piece_, row);
  return Pass(false);
}

// Hands a full piece on; the last one also completes the output, unless anything failed: a
// file that could not be made whole is not put in place.
bool AcrossWriter::Pass(bool last) {
  if (ok_ && !formatter_->Error().empty()) ok_ = false;
  if (ok_ && (last || piece_.size() >= kPiece)) {
    // Always handed on, even empty, so the output knows it takes text of its own.
    ok_ = output_.WriteText(piece_);
    piece_.clear();
  }
  if (ok_ && last) ok_ = output_.Finish();
  return ok_;
}

bool AcrossWriter::Finish(const AcrossResult& result) {
  if (Begun()) formatter_->End(piece_, result);
  return Pass(true);
}

bool AcrossWriter::FinishSummary(const AcrossSummary& summary) {
  begun_ = true;
  if (ok_) formatter_->Summary(piece_, summary);
  return Pass(true);
}

std::string AcrossWriter::Error() const {
  std::string error = formatter_->Error();
  return error.empty() ? output_.Error() : error;
}

Status WriteAcrossFile(const std::filesystem::path& path, ListFormat format,
                       const AcrossContext& context,
                       const std::function<void(AcrossVisitor&)>& rows,
                       const AcrossResult& result) {
  Result<std::unique_ptr<FileOutput>> opened =
      FileOutput::Open(path, format, {}, PipeWait::kRefuse);
  if (!opened) return Fail(opened.error());
  AcrossWriter writer(*opened.value(), format, context);
  rows(writer);
  if (!writer.Finish(result)) return Fail(writer.Error());
  return Ok();
}

}  // namespace quillet
