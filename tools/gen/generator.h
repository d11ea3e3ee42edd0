#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace quillet::gen {

// One object line's fields as they stand in the file. The encoder pads each to its width.
struct Object {
  std::string type;     // one of the nine names, or anything else for odd files
  std::string id;       // the ten characters of the number, blanks included
  std::string name;     // up to 30 bytes, code page 850
  std::string date;     // up to 10 characters, as written (unused for TableData)
  std::string time;     // up to 11 characters (unused for TableData)
  std::string size;     // the ten characters of the size, blanks included
  std::string version;  // up to 57 bytes (30 for TableData), code page 850
};

enum class DateForm { kDot, kHyphen, kSlash, kLongYear, kMixed };

struct Options {
  int objects = 100;
  std::uint32_t seed = 1;
  DateForm date_form = DateForm::kDot;
  int repeated_tables = 0;       // extra Table lines that repeat an earlier Table's ID
  double system_share = 0.05;    // share of objects with ten-digit system IDs
  bool junk = true;              // arbitrary bytes in the positions the reader skips
  std::size_t data_size = 4096;  // bytes of object data after the 0x1A
};

std::vector<Object> GenerateObjects(const Options& options);

// Changes about `fraction` of the objects: new versions, dates, times or sizes, some objects
// removed and some added. The same seed gives the same changes.
void Mutate(std::vector<Object>& objects, double fraction, std::uint32_t seed);

// A right-aligned number in ten characters.
std::string Number10(long long value);

// One object line: layout B (108 bytes) for TableData, layout A (161 bytes) otherwise, ended
// by CR LF. With `junk`, the skipped positions get arbitrary bytes (never CR or 0x1A).
void AppendLine(std::string& out, const Object& object, std::mt19937* junk = nullptr);

// The directory, its 0x1A and the data block after it.
std::string EncodeFile(const std::vector<Object>& objects, const Options& options);

// Writes the bytes; a larger file_size extends the file with a hole (sparse), as big backups are.
// The file is whole or not there at all (an old one stays as it was); `error` then says why.
bool WriteFile(const std::string& path, const std::string& bytes, std::uint64_t file_size = 0,
               std::string* error = nullptr);

}  // namespace quillet::gen
