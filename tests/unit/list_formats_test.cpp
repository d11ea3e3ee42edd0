#include "output/list_formats.h"

#include <gtest/gtest.h>

#include "list/changed_fields.h"
#include "list/changes.h"
#include "test_support.h"

namespace quillet {
namespace {

test::TestRow Row(int file, std::string_view type, std::string_view name) {
  return test::RowOf(file, {type, "        18", name});
}

std::string Format(ListFormat format, std::initializer_list<test::TestRow> rows,
                   const ListContext& context = {}) {
  const auto formatter = ListFormatter::Make(format, context);
  std::string out;
  formatter->Begin(out);
  for (const test::TestRow& row : rows) formatter->AddRow(out, row);
  formatter->End(out);
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
            "[\n  {\"File\": 2, \"Type\": \"Codeunit\", \"ID\": 18, \"Name\": "
            "\"A \\\"b\\\" \\\\ €\", \"Modified\": \"\", \"Version\": \"\", \"Date\": \"\", "
            "\"Time\": \"\", \"BLOB size\": \"\", \"Compiled\": \"\"}\n]\n");
}

TEST(ListFormats, TextIsTheSavedListFormat) {
  EXPECT_EQ(Format(ListFormat::kText, {Row(1, "Table", "X")}),
            "\"1\",\"Table\",\"18\",\"X\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
}

// A changed pair of the changes view: the file #2 row, its version and date changed.
test::TestRow ChangedRow() {
  test::TestRow row = test::RowOf(
      2, {"Table", "        18", "Customer", "", "V2", "2024-01-31", "12:00:00", "      4711"});
  row.view = ListView::kChanges;
  row.status = static_cast<std::uint8_t>(ChangeStatus::kChanged);
  row.changed = static_cast<std::uint16_t>(FieldBit(Field::kVersion) | FieldBit(Field::kDate));
  row.group = 7;
  return row;
}

TEST(ListFormats, RowsWithAStatusCarryItAndTheChangedFields) {
  EXPECT_EQ(Format(ListFormat::kText, {ChangedRow()}),
            "\"2\",\"Table\",\"18\",\"Customer\",\"\",\"V2\",\"2024-01-31\",\"12:00:00\",\"4711\","
            "\"\",\"Changed\",\"Version;Date\"\r\n");
  ListContext changes;
  changes.view = ListView::kChanges;
  EXPECT_EQ(Format(ListFormat::kCsv, {ChangedRow()}, changes),
            "File,Type,ID,Name,Modified,Version,Date,Time,BLOB size,Compiled,Status,Changed\r\n"
            "2,Table,18,Customer,,V2,2024-01-31,12:00:00,4711,,Changed,Version;Date\r\n");
  // Copied rows: a tab inside a name becomes a blank, a formula-like name stands as it is.
  test::TestRow formula = test::RowOf(1, {"Table", "        18", "=Cust\tomer"});
  formula.view = ListView::kChanges;
  formula.status = static_cast<std::uint8_t>(ChangeStatus::kOnlyIn1);
  EXPECT_EQ(Format(ListFormat::kTsv, {ChangedRow(), formula}, changes),
            "File\tType\tID\tName\tModified\tVersion\tDate\tTime\tBLOB size\tCompiled\tStatus"
            "\tChanged\n"
            "2\tTable\t18\tCustomer\t\tV2\t2024-01-31\t12:00:00\t4711\t\tChanged\tVersion;Date\n"
            "1\tTable\t18\t=Cust omer\t\t\t\t\t\t\tOnly in #1\t\n");
  EXPECT_NE(
      Format(ListFormat::kJson, {ChangedRow()}, changes)
          .find(
              "\"BLOB size\": 4711, \"Compiled\": \"\", \"Status\": \"changed\", "
              "\"Status text\": \"Changed\", \"Changed\": [\"Version\", \"Date\"], \"Group\": 7}"),
      std::string::npos);
}

// Names come in files users receive from others: a spreadsheet must not run one as a formula.
TEST(ListFormats, CsvGuardsCellsThatLookLikeFormulas) {
  std::string guarded, raw;
  for (const char* name : {"=SUM(A1)", "+1", "-x", "@cmd", "\tx", "\rx", "=a,b", "a=b"}) {
    AppendCsvField(guarded, name, false);
    guarded += '|';
    AppendCsvField(raw, name, true);
    raw += '|';
  }
  EXPECT_EQ(guarded, "'=SUM(A1)|'+1|'-x|'@cmd|'\tx|\"'\rx\"|\"'=a,b\"|a=b|");
  EXPECT_EQ(raw, "=SUM(A1)|+1|-x|@cmd|\tx|\"\rx\"|\"=a,b\"|a=b|");
  ListContext scripts;
  scripts.raw_csv = true;
  EXPECT_NE(Format(ListFormat::kCsv, {Row(1, "Form", "=1+1")}, scripts).find(",=1+1,"),
            std::string::npos);
  EXPECT_NE(Format(ListFormat::kCsv, {Row(1, "Form", "=1+1")}).find(",'=1+1,"), std::string::npos);
}

TEST(ListFormats, IdLinesGiveRangesPerTypeInTypeOrder) {
  const auto row = [](const char* type, const char* id) { return test::RowOf(1, {type, id}); };
  EXPECT_EQ(Format(ListFormat::kIds,
                   {row("Table", "      5060"), row("Table", "18"),     row("Codeunit", "80"),
                    row("Table", "5050"),       row("Table", "27"),     row("Table", "18"),
                    row("Table", "5055..5059"), row("Query", "1"),      row("Form", "AB12"),
                    row("Codeunit", "81"),      row("Table", "  5051"), row("Page", "     "),
                    row("Table", "5052"),       row("Table", "5053"),   row("Table", "5054"),
                    row("Table", "5055"),       row("Table", "5056"),   row("Table", "5057"),
                    row("Table", "5058"),       row("Table", "5059")}),
            "Table: 18|27|5050..5060\r\nCodeunit: 80|81\r\n");
  EXPECT_EQ(Format(ListFormat::kIds, {row("Form", "007"), row("Form", "8"), row("Form", "9")}),
            "Form: 7..9\r\n");
  EXPECT_EQ(Format(ListFormat::kIds, {}), "");
}

TEST(ListFormats, HtmlEscapesEveryTextAndMarksTheChangedCells) {
  ListContext report;
  report.view = ListView::kChanges;
  report.files = {{"File #1", "C:\\a & b <old>.fob"}, {"File #2", "\"new\".fbk"}};
  report.criteria = "Name, Version";
  report.counts = {{"Changed", 1}, {"Only in #1", 0}};
  test::TestRow odd = ChangedRow();
  odd.record = test::RowOf(2, {"Table", "18", "<b>&'x'\x01\xE9</b>", "", "V2"}).record;
  const std::string html = Format(ListFormat::kHtml, {odd}, report);
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("C:\\a &amp; b &lt;old&gt;.fob"), std::string::npos);
  EXPECT_NE(html.find("&quot;new&quot;.fbk"), std::string::npos);
  EXPECT_NE(html.find("&lt;b&gt;&amp;&#39;x&#39;&#xFFFD;\xC3\xA9&lt;/b&gt;"), std::string::npos);
  EXPECT_NE(html.find("<span>Changed 1</span>"), std::string::npos);
  EXPECT_NE(html.find("<td class=\"diff\">V2</td>"), std::string::npos);
  EXPECT_NE(html.find("<th>Status</th><th>Changed</th>"), std::string::npos);
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_EQ(html.find("<b>"), std::string::npos);
}

}  // namespace
}  // namespace quillet
