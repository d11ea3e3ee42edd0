#include "output/xlsx_sheet.h"

#include <xlsxwriter.h>

#include <algorithm>

#include "list/changed_fields.h"
#include "list/list_view.h"
#include "objects/code_page.h"
#include "objects/text.h"
#include "output/xlsx_workbook.h"

namespace quillet {
namespace {

constexpr lxw_row_t kMostRows = LXW_ROW_MAX - 1;  // below the header
constexpr double kWidestColumn = 80;

// Characters, not bytes: what a column needs to show the text.
double TextWidth(std::string_view utf8) {
  double count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

class XlsxSheet final : public ListFormatter {
 public:
  explicit XlsxSheet(ListContext context) : context_(std::move(context)) {}
  ~XlsxSheet() override {
    if (workbook_ != nullptr) lxw_workbook_free(workbook_);
  }
  XlsxSheet(const XlsxSheet&) = delete;
  XlsxSheet& operator=(const XlsxSheet&) = delete;

  void Begin(std::string& /*out*/) override {
    std::vector<std::string> titles;
    for (const std::string_view column : OutputColumns(context_.view)) titles.emplace_back(column);
    Open(ViewTitle(context_.view), titles);
  }

  void AddRow(std::string& /*out*/, const RowView& row) override {
    if (!Writing() || !NextRow()) return;
    lxw_col_t col = 0;
    if (row.file == kBaseFile) {
      String(col++, "base", nullptr);
    } else {
      Number(col++, row.file, nullptr);
    }
    for (int column = 1; column < kColumnCount; ++column, ++col) {
      const Column c = ColumnAt(column);
      const std::string_view text = TrimBlanks(row.Cell(c));
      lxw_format* format = (row.changed & FieldBit(FieldOf(c))) != 0 ? changed_ : nullptr;
      const std::optional<long long> number =
          c == Column::kId || c == Column::kBlobSize ? WholeNumber(text) : std::nullopt;
      const std::optional<CalendarDate> date = c == Column::kDate ? ListDate(text) : std::nullopt;
      if (number) {
        Number(col, static_cast<double>(*number), format);
      } else if (date) {
        lxw_datetime value{date->year, date->month, date->day, 0, 0, 0.0};
        Check(worksheet_write_datetime(sheet_, row_, col, &value,
                                       format != nullptr ? changed_date_ : date_));
        Widen(col, 10);
      } else {
        String(col, SheetCellText(text), format);
      }
    }
    if (HasStatus(context_.view)) {
      String(col++, SheetCellText(row.StatusText()), nullptr);
      String(col++, ChangedFieldsText(row.changed), nullptr);
    }
  }

  void End(std::string& out) override {
    if (Writing()) Close(out);
  }

  void Summary(std::string& out, const SummaryCounts& counts) override {
    std::vector<std::string> titles = {"Type"};
    for (const int status : counts.statuses) {
      titles.emplace_back(StatusText(counts.view, status));
    }
    Open("Summary", titles);
    std::vector<const SummaryCounts::Line*> lines;
    for (const SummaryCounts::Line& line : counts.types) lines.push_back(&line);
    lines.push_back(&counts.total);
    for (const SummaryCounts::Line* line : lines) {
      if (!Writing() || !NextRow()) break;
      String(0, SheetCellText(line->type), line == &counts.total ? header_ : nullptr);
      for (std::size_t i = 0; i < line->values.size(); ++i) {
        Number(static_cast<lxw_col_t>(i + 1), static_cast<double>(line->values[i]), nullptr);
      }
    }
    if (Writing()) Close(out);
  }

  std::string Error() const override { return error_; }

 private:
  bool Writing() const { return sheet_ != nullptr && error_.empty(); }

  // The workbook in a folder of its own, written there row by row so a long list costs no
  // memory, and the header row.
  void Open(std::string_view sheet_name, const std::vector<std::string>& titles) {
    workbook_ = book_.Open("list.xlsx");
    if (workbook_ == nullptr) return;
    sheet_ = workbook_add_worksheet(workbook_, std::string(sheet_name).c_str());
    header_ = workbook_add_format(workbook_);
    date_ = workbook_add_format(workbook_);
    changed_ = workbook_add_format(workbook_);
    changed_date_ = workbook_add_format(workbook_);
    if (sheet_ == nullptr || header_ == nullptr || date_ == nullptr || changed_ == nullptr ||
        changed_date_ == nullptr) {
      error_ = "the spreadsheet cannot be made";
      return;
    }
    format_set_bold(header_);
    format_set_num_format(date_, "yyyy-mm-dd");
    // As the window and the report mark them: bold on a tint, so they read in grey too.
    for (lxw_format* format : {changed_, changed_date_}) {
      format_set_bold(format);
      format_set_bg_color(format, 0xF5C542);
    }
    format_set_num_format(changed_date_, "yyyy-mm-dd");
    columns_ = static_cast<lxw_col_t>(titles.size());
    widths_.assign(titles.size(), 0);
    for (std::size_t i = 0; i < titles.size(); ++i) {
      String(static_cast<lxw_col_t>(i), titles[i], header_);
    }
    worksheet_freeze_panes(sheet_, 1, 0);
  }

  bool NextRow() {
    if (row_ == kMostRows) {
      error_ = "a spreadsheet holds at most " + std::to_string(kMostRows) + " rows";
      return false;
    }
    ++row_;
    return true;
  }

  void Number(lxw_col_t col, double value, lxw_format* format) {
    Check(worksheet_write_number(sheet_, row_, col, value, format));
    Widen(col, TextWidth(std::to_string(static_cast<long long>(value))));
  }

  // Text stays text: a name that starts with "=" is never run as a formula.
  void String(lxw_col_t col, const std::string& utf8, lxw_format* format) {
    if (utf8.empty()) {
      if (format != nullptr) Check(worksheet_write_blank(sheet_, row_, col, format));
      return;
    }
    Check(worksheet_write_string(sheet_, row_, col, utf8.c_str(), format));
    Widen(col, TextWidth(utf8));
  }

  void Widen(lxw_col_t col, double width) {
    double& widest = widths_[col];
    widest = std::max(widest, width);
  }

  void Check(lxw_error error) { book_.Check(error); }

  // The filter over every row, the widths, and the file's bytes into `out`.
  void Close(std::string& out) {
    Check(worksheet_autofilter(sheet_, 0, 0, row_, columns_ - 1));
    for (lxw_col_t col = 0; col < columns_; ++col) {
      // A little more than the text, for the filter's button beside the title.
      const double width = std::min(kWidestColumn, widths_[col] + 3);
      Check(worksheet_set_column(sheet_, col, col, width, nullptr));
    }
    lxw_workbook* workbook = workbook_;
    workbook_ = nullptr;
    sheet_ = nullptr;
    book_.Close(workbook, out);
  }

  ListContext context_;
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* header_ = nullptr;
  lxw_format* date_ = nullptr;
  lxw_format* changed_ = nullptr;
  lxw_format* changed_date_ = nullptr;
  lxw_row_t row_ = 0;
  lxw_col_t columns_ = 0;
  std::vector<double> widths_;
  std::string error_;
  XlsxWorkbook book_{error_};
};

}  // namespace

std::unique_ptr<ListFormatter> MakeXlsxSheet(const ListContext& context) {
  return std::make_unique<XlsxSheet>(context);
}

}  // namespace quillet
