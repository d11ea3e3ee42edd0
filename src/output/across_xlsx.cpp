// The rows across files as a spreadsheet: a sheet of the matrix (a bold, frozen header row with
// a filter, the files' names upright above narrow columns, ID and Variants as numbers, each
// letter on its colour, a file without the object hatched grey) and a sheet of the summary.
#include <xlsxwriter.h>

#include <algorithm>
#include <array>

#include "list/across_variants.h"
#include "objects/text.h"
#include "output/across_output.h"
#include "output/list_formats.h"
#include "output/xlsx_sheet.h"
#include "output/xlsx_workbook.h"

namespace quillet {
namespace {

constexpr lxw_row_t kMostRows = LXW_ROW_MAX - 1;  // below the header

// Characters, not bytes.
std::size_t TextWidth(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

class AcrossXlsx final : public AcrossFormatter {
 public:
  explicit AcrossXlsx(const AcrossContext& context) : files_(context.files) {}
  ~AcrossXlsx() override {
    if (workbook_ != nullptr) lxw_workbook_free(workbook_);
  }
  AcrossXlsx(const AcrossXlsx&) = delete;
  AcrossXlsx& operator=(const AcrossXlsx&) = delete;

  void Begin(std::string& /*out*/) override {
    if (!Open()) return;
    sheet_ = Sheet("Across files", {kAcrossKeyColumns.begin(), kAcrossKeyColumns.end()});
    if (sheet_ == nullptr) return;
    const double widths[] = {11, 12, 32, 9};
    for (lxw_col_t col = 0; col < 4; ++col) {
      Check(worksheet_set_column(sheet_, col, col, widths[col], nullptr));
    }
  }

  void AddRow(std::string& /*out*/, const AcrossRow& row) override {
    if (!Writing() || !NextRow()) return;
    String(0, SheetCellText(row.type), nullptr);
    if (const std::optional<long long> id = WholeNumber(row.id)) {
      Check(worksheet_write_number(sheet_, row_, 1, static_cast<double>(*id), nullptr));
    } else {
      String(1, SheetCellText(row.id), nullptr);
    }
    String(2, SheetCellText(TrimBlanks(row.name)), nullptr);
    Check(worksheet_write_number(sheet_, row_, 3, row.variants, nullptr));
    lxw_col_t col = 4;
    for (const AcrossCell& cell : row.cells) {
      if (cell.HasObject()) {
        const auto variant = static_cast<std::size_t>(cell.variant);
        if (variant >= letters_.size()) Grow(variant);
        Check(worksheet_write_string(sheet_, row_, col, letters_[variant].c_str(),
                                     variants_[variant % variants_.size()]));
      } else {
        Check(worksheet_write_blank(sheet_, row_, col, none_));
      }
      ++col;
    }
  }

  void End(std::string& out, const AcrossResult& result) override {
    if (!Writing()) return;
    Check(worksheet_autofilter(sheet_, 0, 0, row_, static_cast<lxw_col_t>(3 + files_.size())));
    SummarySheet(result.summary);
    Close(out);
  }

  void Summary(std::string& out, const AcrossSummary& summary) override {
    if (!Open()) return;
    SummarySheet(summary);
    Close(out);
  }

  std::string Error() const override { return error_; }

 private:
  bool Writing() const { return sheet_ != nullptr && error_.empty(); }

  // The workbook in a folder of its own, written there row by row so a long list costs no
  // memory, and its formats.
  bool Open() {
    workbook_ = book_.Open("across.xlsx");
    if (workbook_ == nullptr) return false;
    header_ = workbook_add_format(workbook_);
    upright_ = workbook_add_format(workbook_);
    none_ = workbook_add_format(workbook_);
    if (header_ == nullptr || upright_ == nullptr || none_ == nullptr) return Failed();
    format_set_bold(header_);
    format_set_bold(upright_);
    format_set_rotation(upright_, 90);
    format_set_align(upright_, LXW_ALIGN_CENTER);
    format_set_pattern(none_, LXW_PATTERN_LIGHT_UP);
    format_set_fg_color(none_, kNoObjectColour);
    format_set_bg_color(none_, 0xEFEFEF);
    for (const VariantColour& colour : kVariantColours) {
      lxw_format* format = workbook_add_format(workbook_);
      if (format == nullptr) return Failed();
      format_set_bold(format);
      format_set_align(format, LXW_ALIGN_CENTER);
      format_set_bg_color(format, colour.background);
      if (colour.light_text) format_set_font_color(format, 0xFFFFFF);
      variants_.push_back(format);
    }
    return true;
  }

  bool Failed() {
    if (error_.empty()) error_ = "the spreadsheet cannot be made";
    return false;
  }

  // A sheet with a header row, frozen: the titles, then the files' names upright.
  lxw_worksheet* Sheet(const char* name, const std::vector<std::string_view>& titles) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook_, name);
    if (sheet == nullptr) {
      Failed();
      return nullptr;
    }
    std::size_t longest = 0;
    for (const std::string& file : files_) longest = std::max(longest, TextWidth(file));
    // Before the row is written: in this mode a row cannot be gone back to.
    Check(worksheet_set_row(sheet, 0, std::min(409.0, 15.0 + 6.0 * static_cast<double>(longest)),
                            nullptr));
    lxw_col_t col = 0;
    for (const std::string_view title : titles) {
      Check(worksheet_write_string(sheet, 0, col++, std::string(title).c_str(), header_));
    }
    for (const std::string& file : files_) {
      Check(worksheet_write_string(sheet, 0, col, file.c_str(), upright_));
      Check(worksheet_set_column(sheet, col, col, 4.5, nullptr));
      ++col;
    }
    worksheet_freeze_panes(sheet, 1, 0);
    return sheet;
  }

  void SummarySheet(const AcrossSummary& summary) {
    lxw_worksheet* sheet =
        Sheet("Summary", {kAcrossSummaryColumns.begin(), kAcrossSummaryColumns.end()});
    if (sheet == nullptr) return;
    std::size_t widest = 4;
    for (int file = 0; file < summary.FileCount(); ++file) {
      const auto row = static_cast<lxw_row_t>(file + 1);
      const std::string& name = files_.at(static_cast<std::size_t>(file));
      widest = std::max(widest, TextWidth(name));
      if (!name.empty()) Check(worksheet_write_string(sheet, row, 0, name.c_str(), nullptr));
      Check(worksheet_write_number(sheet, row, 1, static_cast<double>(summary.Objects(file)),
                                   nullptr));
      Check(worksheet_write_number(sheet, row, 2, static_cast<double>(summary.OnlyHere(file)),
                                   nullptr));
      for (int other = 0; other < summary.FileCount(); ++other) {
        Check(worksheet_write_number(sheet, row, static_cast<lxw_col_t>(3 + other),
                                     static_cast<double>(summary.Differs(file, other)), nullptr));
      }
    }
    Check(worksheet_set_column(sheet, 0, 0, std::min(80.0, static_cast<double>(widest) + 2),
                               nullptr));
    Check(worksheet_set_column(sheet, 1, 2, 10, nullptr));
  }

  bool NextRow() {
    if (row_ == kMostRows) {
      error_ = "a spreadsheet holds at most " + std::to_string(kMostRows) + " rows";
      return false;
    }
    ++row_;
    return true;
  }

  // Text stays text: a name that starts with "=" is never run as a formula.
  void String(lxw_col_t col, const std::string& utf8, lxw_format* format) {
    if (!utf8.empty()) Check(worksheet_write_string(sheet_, row_, col, utf8.c_str(), format));
  }

  void Grow(std::size_t variant) {
    while (letters_.size() <= variant) {
      letters_.push_back(VariantLetters(static_cast<int>(letters_.size())));
    }
  }

  void Check(lxw_error error) { book_.Check(error); }

  // The file's bytes into `out`.
  void Close(std::string& out) {
    lxw_workbook* workbook = workbook_;
    workbook_ = nullptr;
    sheet_ = nullptr;
    if (workbook == nullptr) return;
    book_.Close(workbook, out);
  }

  std::vector<std::string> files_;
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* header_ = nullptr;
  lxw_format* upright_ = nullptr;
  lxw_format* none_ = nullptr;
  std::vector<lxw_format*> variants_;
  std::vector<std::string> letters_;
  lxw_row_t row_ = 0;
  std::string error_;
  XlsxWorkbook book_{error_};
};

}  // namespace

namespace detail {
std::unique_ptr<AcrossFormatter> MakeAcrossXlsx(const AcrossContext& context) {
  return std::make_unique<AcrossXlsx>(context);
}
}  // namespace detail

}  // namespace quillet
