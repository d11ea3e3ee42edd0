#include "output/list_formats.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quillet {
namespace {

test::TestRow Row(int file, std::string_view type, std::string_view name) {
  return test::RowOf(file, {type, "        18", name});
}

std::string Format(ListFormat format, std::initializer_list<test::TestRow> rows) {
  ListFormatter formatter(format);
  std::string out;
  formatter.Begin(out);
  for (const test::TestRow& row : rows) formatter.AddRow(out, row);
  formatter.End(out);
  return out;
}

TEST(ListFormats, CsvQuotesOnlyWhereNeededInUtf8) {
  EXPECT_EQ(Format(ListFormat::kCsv, {Row(1, "Table", "Plain"),
                                      Row(2, "Form",
                                          "Gr\xF6\xDF"
                                          "e"),
                                      Row(1, "Page", "Say \"hi\", then")}),
            "File,Type,ID,Name,Modified,Version,Date,Time,BLOB size,Compiled\r\n"
            "1,Table,18,Plain,,,,,,\r\n"
            "2,Form,18,Größe,,,,,,\r\n"
            "1,Page,18,\"Say \"\"hi\"\", then\",,,,,,\r\n");
}

TEST(ListFormats, JsonIsAnArrayOfObjects) {
  EXPECT_EQ(Format(ListFormat::kJson, {}), "[]\n");
  EXPECT_EQ(Format(ListFormat::kJson, {Row(2, "Codeunit", "A \"b\" \\ \x80")}),
            "[\n  {\"File\": 2, \"Type\": \"Codeunit\", \"ID\": \"18\", \"Name\": "
            "\"A \\\"b\\\" \\\\ €\", \"Modified\": \"\", \"Version\": \"\", \"Date\": \"\", "
            "\"Time\": \"\", \"BLOB size\": \"\", \"Compiled\": \"\"}\n]\n");
}

TEST(ListFormats, TextIsTheSavedListFormat) {
  EXPECT_EQ(Format(ListFormat::kText, {Row(1, "Table", "X")}),
            "\"1\",\"Table\",\"18\",\"X\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
}

}  // namespace
}  // namespace quillet
