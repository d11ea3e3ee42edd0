#include "output/export_line.h"

#include <gtest/gtest.h>

#include <cstring>

#include "test_support.h"

namespace quillet {
namespace {

ObjectRow MakeRow(int file, std::initializer_list<std::string_view> texts) {
  ObjectRow row;
  row.file = static_cast<std::uint8_t>(file);
  int field = 0;
  for (std::string_view text : texts) {
    const auto f = static_cast<Field>(field++);
    const std::string padded = test::Padded(text, FieldWidth(f));
    std::memcpy(row.fields.data() + FieldOffset(f), padded.data(), padded.size());
  }
  return row;
}

TEST(ExportLine, QuotesTheTrimmedTextsOfARow) {
  const ObjectRow row = MakeRow(1, {"Codeunit", "        80", "Posting", "", "V2", "2008-12-31",
                                    "12:00:00", "      1234", ""});
  EXPECT_EQ(ExportLine(row),
            "\"1\",\"Codeunit\",\"80\",\"Posting\",\"\",\"V2\",\"2008-12-31\",\"12:00:00\","
            "\"1234\",\"\"\r\n");
}

TEST(ExportLine, WritesQuotesAndCommasUnchanged) {
  const ObjectRow row = MakeRow(
      2, {"Table", "2000000001", "Item \"Old\", Copy", "", "A,B;C", "", "", "         0", ""});
  EXPECT_EQ(ExportLine(row),
            "\"2\",\"Table\",\"2000000001\",\"Item \"Old\", Copy\",\"\",\"A,B;C\",\"\",\"\","
            "\"0\",\"\"\r\n");
}

TEST(ExportLine, KeepsWindows1252BytesAndInnerBlanks) {
  const ObjectRow row = MakeRow(1, {"Form", "  7",
                                    "  Gr\xF6\xDF"
                                    "e  Liste ",
                                    "", "", "", "09:05:00 PM", "", ""});
  std::string out = "before\r\n";
  AppendExportLine(out, row);
  EXPECT_EQ(out,
            "before\r\n\"1\",\"Form\",\"7\",\"Gr\xF6\xDF"
            "e  Liste\",\"\",\"\",\"\","
            "\"09:05:00 PM\",\"\",\"\"\r\n");
}

}  // namespace
}  // namespace quillet
