#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "output/list_formats.h"

namespace quillet {

// The rows as a JSON array, one object a row, or the counts as one object; UTF-8.
// docs/output.schema.json is the interface other programs rely on:
// - File, and ID and BLOB size where they hold a plain whole number, are numbers;
// - in the keyed views Status is the --show name ("changed"), "Status text" what the list
//   shows ("Changed"), Changed an array of column titles;
// - the rows shown together (a pair or a triple) share a Group number.
std::unique_ptr<ListFormatter> MakeJsonFormat(const ListContext& context);

// A record's nine fields as the members of a row's object, typed: "Type": "Table", "ID": 18,
// ... "Compiled": "" (no braces).
void AppendJsonFields(std::string& out, std::string_view record);

// A Windows-1252 text as a JSON string in UTF-8.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace quillet
