#include "test_support.h"

namespace quillet::test {

std::string Padded(std::string_view text, std::size_t width) {
  std::string padded(text.substr(0, width));
  padded.resize(width, ' ');
  return padded;
}

std::string LineA(std::string_view type, std::string_view id, std::string_view name,
                  std::string_view date, std::string_view time, std::string_view size,
                  std::string_view version) {
  std::string line = Padded(type, 9) + " " + Padded(id, 10) + " " + Padded(name, 30) + "  " +
                     Padded(date, 10) + std::string(5, ' ') + Padded(time, 11) +
                     std::string(12, ' ') + Padded(size, 10) + " " + Padded(version, 57) + "\r\n";
  return line;
}

std::string LineB(std::string_view id, std::string_view name, std::string_view size,
                  std::string_view version) {
  return "TableData " + Padded(id, 10) + " " + Padded(name, 30) + std::string(13, ' ') +
         Padded(size, 10) + " " + Padded(version, 30) + " \r\n";
}

TestRow RowOf(int file, std::initializer_list<std::string_view> texts) {
  ObjectTable table;
  table.Reserve(file, 1);
  int field = 0;
  for (std::string_view text : texts) table.Store(file, 1, static_cast<Field>(field++), text);
  return {file, std::string(table.Record(file, 1))};
}

ObjectRow AddRecord(ObjectTable& table, int file, std::initializer_list<std::string_view> texts) {
  const int index = table.Count(file) + 1;
  table.Reserve(file, index);
  table.Clear(file, index);
  int field = 0;
  for (std::string_view text : texts) table.Store(file, index, static_cast<Field>(field++), text);
  table.SetCount(file, index);
  return ObjectRow::FromRecord(table, file, index);
}

}  // namespace quillet::test
