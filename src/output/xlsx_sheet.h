#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "output/list_formats.h"

namespace quillet {

// The rows as a spreadsheet (.xlsx): a bold header row, frozen, with a filter; columns as wide
// as their texts; ID and BLOB size as numbers where they are plain whole numbers, Date as a
// date; every other cell a string, never a formula; in the keyed views the changed cells bold
// on a tint. With the counts instead of rows, a sheet of the counts. The whole file comes out
// at End (or from Summary). A sheet holds at most 1,048,575 rows: more is an error, not a cut.
std::unique_ptr<ListFormatter> MakeXlsxSheet(const ListContext& context);

// A Windows-1252 text as a cell's UTF-8. Control characters, which the file format cannot
// carry, stand as the replacement character.
std::string SheetCellText(std::string_view text);

// A date as the list writes it ("2024-01-31") as year, month, day, when it is a real date a
// spreadsheet can hold (from 1900 on).
struct CalendarDate {
  int year;
  int month;
  int day;
};
std::optional<CalendarDate> ListDate(std::string_view text);

}  // namespace quillet
