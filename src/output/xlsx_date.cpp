#include "objects/code_page.h"
#include "output/xlsx_sheet.h"

namespace quillet {

std::string SheetCellText(std::string_view text) {
  std::string utf8;
  for (const char c : text) {
    const char32_t code = Windows1252ToUnicode(static_cast<unsigned char>(c));
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
      utf8 += "\xEF\xBF\xBD";
    } else {
      AppendWindows1252AsUtf8(utf8, {&c, 1});
    }
  }
  return utf8;
}

std::optional<CalendarDate> ListDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto number = [&](std::size_t at, std::size_t length) {
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  const CalendarDate date{number(0, 4), number(5, 2), number(8, 2)};
  if (date.year < 1900 || date.month < 1 || date.month > 12 || date.day < 1) return std::nullopt;
  const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int days = kDays[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
  if (date.day > days) return std::nullopt;
  return date;
}

}  // namespace quillet
