#include "output/export_line.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace quillet {
namespace {

using test::RowOf;

TEST(ExportLine, QuotesTheTrimmedTextsOfARow) {
  const auto row = RowOf(1, {"Codeunit", "        80", "Posting", "", "V2", "2008-12-31",
                             "12:00:00", "      1234", ""});
  EXPECT_EQ(ExportLine(row),
            "\"1\",\"Codeunit\",\"80\",\"Posting\",\"\",\"V2\",\"2008-12-31\",\"12:00:00\","
            "\"1234\",\"\"\r\n");
}

TEST(ExportLine, WritesQuotesAndCommasUnchanged) {
  const auto row = RowOf(
      2, {"Table", "2000000001", "Item \"Old\", Copy", "", "A,B;C", "", "", "         0", ""});
  EXPECT_EQ(ExportLine(row),
            "\"2\",\"Table\",\"2000000001\",\"Item \"Old\", Copy\",\"\",\"A,B;C\",\"\",\"\","
            "\"0\",\"\"\r\n");
}

TEST(ExportLine, KeepsWindows1252BytesAndInnerBlanks) {
  // The name is split after its escapes, which would otherwise take the "e" as a hex digit.
  const std::string name = std::string("  Gr\xF6\xDF") + "e  Liste ";
  const auto row = RowOf(1, {"Form", "  7", name, "", "", "", "09:05:00 PM", "", ""});
  std::string out = "before\r\n";
  AppendExportLine(out, row);
  EXPECT_EQ(out,
            "before\r\n\"1\",\"Form\",\"7\",\"Gr\xF6\xDF"
            "e  Liste\",\"\",\"\",\"\","
            "\"09:05:00 PM\",\"\",\"\"\r\n");
}

}  // namespace
}  // namespace quillet
