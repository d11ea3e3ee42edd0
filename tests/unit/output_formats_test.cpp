// The formats as other programs read them: typed JSON, the counts in every format, HTML that a
// strict parser takes, the table the command line and the Save dialog share.
#include <gtest/gtest.h>

#include "list/changed_fields.h"
#include "list/changes.h"
#include "list/upgrade.h"
#include "objects/code_page.h"
#include "output/html_report.h"
#include "output/list_formats.h"
#include "output/xlsx_sheet.h"
#include "test_support.h"

namespace quillet {
namespace {

std::string Format(ListFormat format, std::initializer_list<test::TestRow> rows,
                   const ListContext& context = {}) {
  const auto formatter = ListFormatter::Make(format, context);
  std::string out;
  formatter->Begin(out);
  for (const test::TestRow& row : rows) formatter->AddRow(out, row);
  formatter->End(out);
  return out;
}

TEST(JsonRows, NumbersOnlyWhereNothingIsLost) {
  struct Case {
    const char* id;
    const char* size;
    const char* json;  // what ID and BLOB size become
  };
  for (const Case& c : {
           Case{"        18", "      4711", "\"ID\": 18, \"Name\": \"\", \"Modified\": \"\", "},
           Case{"0", "0", "\"ID\": 0, "},
           Case{"007", "1", "\"ID\": \"007\", "},  // "7" is another object's ID
           Case{"AB12", "", "\"ID\": \"AB12\", "},
           Case{"-5", "1.5", "\"ID\": \"-5\", "},
           Case{"9999999999", "", "\"ID\": 9999999999, "},
       }) {
    const std::string json =
        Format(ListFormat::kJson, {test::RowOf(1, {"Table", c.id, "", "", "", "", "", c.size})});
    EXPECT_NE(json.find(c.json), std::string::npos) << c.id << ": " << json;
  }
  const std::string sizes =
      Format(ListFormat::kJson, {test::RowOf(1, {"Table", "1", "", "", "", "", "", "      4711"}),
                                 test::RowOf(1, {"Table", "1", "", "", "", "", "", "12x"})});
  EXPECT_NE(sizes.find("\"BLOB size\": 4711, "), std::string::npos) << sizes;
  EXPECT_NE(sizes.find("\"BLOB size\": \"12x\", "), std::string::npos) << sizes;
  // A plain listing has no groups, so no Group member.
  EXPECT_EQ(sizes.find("Group"), std::string::npos);
}

TEST(JsonRows, AnUpgradeRowCarriesItsTokenTextAndGroup) {
  test::TestRow base = test::RowOf(kBaseFile, {"Page", "21", "Overview"});
  base.view = ListView::kUpgrade;
  base.status = static_cast<std::uint8_t>(UpgradeResult::kConflict);
  base.changed = static_cast<std::uint16_t>(FieldBit(Field::kName) | FieldBit(Field::kBlobSize));
  base.group = 3;
  ListContext upgrade;
  upgrade.view = ListView::kUpgrade;
  EXPECT_NE(Format(ListFormat::kJson, {base}, upgrade)
                .find("{\"File\": 0, \"Type\": \"Page\", \"ID\": 21, "),
            std::string::npos);
  EXPECT_NE(Format(ListFormat::kJson, {base}, upgrade)
                .find("\"Status\": \"conflict\", \"Status text\": \"Conflict\", \"Changed\": "
                      "[\"Name\", \"BLOB size\"], \"Group\": 3}"),
            std::string::npos);
}

SummaryCounts Counts() {
  SummaryCounts counts;
  counts.view = ListView::kChanges;
  counts.statuses = StatusSummaryOrder(ListView::kChanges);
  counts.types = {{"Table", {5120, 180, 40, 41}}, {"Page", {588, 21, 5, 5}}};
  counts.total = {"Total", {5708, 201, 45, 46}};
  return counts;
}

std::string Summary(ListFormat format) {
  std::string out;
  ListFormatter::Make(format, {})->Summary(out, Counts());
  return out;
}

// The counts in every format: the CSV form for text and CSV, as it always was.
TEST(Summaries, EveryFormatGivesTheCounts) {
  const std::string csv =
      "Type,Same,Changed,Only in #1,Only in #2\r\nTable,5120,180,40,41\r\nPage,588,21,5,5\r\n"
      "Total,5708,201,45,46\r\n";
  EXPECT_EQ(Summary(ListFormat::kText), csv);
  EXPECT_EQ(Summary(ListFormat::kCsv), csv);
  EXPECT_EQ(Summary(ListFormat::kTsv),
            "Type\tSame\tChanged\tOnly in #1\tOnly in #2\nTable\t5120\t180\t40\t41\n"
            "Page\t588\t21\t5\t5\nTotal\t5708\t201\t45\t46\n");
  EXPECT_EQ(
      Summary(ListFormat::kJson),
      "{\"View\": \"changes\",\n \"Counts\": [\n"
      "  {\"Type\": \"Table\", \"same\": 5120, \"changed\": 180, \"only1\": 40, \"only2\": 41},\n"
      "  {\"Type\": \"Page\", \"same\": 588, \"changed\": 21, \"only1\": 5, \"only2\": 5}\n"
      " ],\n \"Total\": {\"same\": 5708, \"changed\": 201, \"only1\": 45, \"only2\": 46}}\n");
  const std::string html = Summary(ListFormat::kHtml);
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("<th>Type</th><th>Same</th><th>Changed</th>"), std::string::npos);
  EXPECT_NE(html.find("<tr><td>Table</td><td class=\"number\">5120</td>"), std::string::npos);
  EXPECT_NE(html.find("<th>Total</th><td class=\"number\">5708</td>"), std::string::npos);
  EXPECT_EQ(html.substr(html.size() - 8), "</html>\n");
}

// Every byte valid UTF-8, and no character HTML forbids: no control but tab and line ends
// (here none), no C1 control, no DEL.
void ExpectStrictHtml(const std::string& html) {
  for (std::size_t at = 0; at < html.size();) {
    const Utf8Char c = DecodeUtf8(html, at);
    ASSERT_GT(c.length, 0) << "not UTF-8 at byte " << at;
    EXPECT_FALSE((c.code < 0x20 && c.code != '\n' && c.code != '\t') ||
                 (c.code >= 0x7F && c.code <= 0x9F))
        << "U+" << std::hex << static_cast<unsigned>(c.code) << " at byte " << std::dec << at;
    at += static_cast<std::size_t>(c.length);
  }
}

TEST(HtmlReport, EveryForbiddenCharacterBecomesTheReplacementCharacter) {
  struct Case {
    char byte;
    std::string_view html;
  };
  for (const Case& c :
       {Case{'\x7F', "&#xFFFD;"}, Case{'\x81', "&#xFFFD;"}, Case{'\x8D', "&#xFFFD;"},
        Case{'\x8F', "&#xFFFD;"}, Case{'\x90', "&#xFFFD;"}, Case{'\x9D', "&#xFFFD;"},
        Case{'\x01', "&#xFFFD;"}, Case{'\x1F', "&#xFFFD;"}, Case{'\x80', "\xE2\x82\xAC"},
        Case{'\x9C', "\xC5\x93"}, Case{'\xA0', "\xC2\xA0"}, Case{'\xFF', "\xC3\xBF"}}) {
    std::string text;
    AppendHtmlText(text, std::string("a") + c.byte + "b");
    EXPECT_EQ(text, "a" + std::string(c.html) + "b") << static_cast<int>(c.byte);
  }
  // Every byte a field can hold, in a whole report.
  std::string every;
  for (int byte = 1; byte < 256; ++byte) {
    if (byte != ' ') every += static_cast<char>(byte);
  }
  ListContext report;
  report.files = {{"File #1", every.substr(0, 80)}};
  const std::string html =
      Format(ListFormat::kHtml,
             {test::RowOf(1, {"Table", "1", every.substr(0, 30), "", every.substr(30, 60)}),
              test::RowOf(2, {"Page", "2", every.substr(90, 30), "", every.substr(120, 60)}),
              test::RowOf(1, {"Form", "3", every.substr(180, 30), "", every.substr(210)})},
             report);
  ExpectStrictHtml(html);
}

TEST(HtmlReport, TheBaseIsNamed) {
  test::TestRow base = test::RowOf(kBaseFile, {"Page", "21", "Overview"});
  base.view = ListView::kUpgrade;
  base.group = 1;
  ListContext upgrade;
  upgrade.view = ListView::kUpgrade;
  const std::string html = Format(ListFormat::kHtml, {base}, upgrade);
  EXPECT_NE(html.find("<tr class=\"group\"><td>base</td><td>Page</td>"), std::string::npos) << html;
  EXPECT_EQ(html.find("<td>0</td>"), std::string::npos);
  // The saved list keeps its number: other programs read that field.
  EXPECT_EQ(Format(ListFormat::kText, {base}).rfind("\"0\",\"Page\",\"21\"", 0), 0u);
}

TEST(FormatTable, OneNameAndOneSaveTypeEach) {
  for (const FormatInfo& info : kFormats) {
    EXPECT_EQ(ListFormatNamed(info.token), info.format) << info.token;
    if (!info.label.empty()) {
      EXPECT_EQ(FormatOfExtension(info.extension), info.format);
    }
  }
  EXPECT_EQ(ListFormatNamed("TSV"), ListFormat::kTsv);
  EXPECT_EQ(ListFormatNamed("xml"), std::nullopt);
  EXPECT_EQ(FormatOfExtension("HTM"), ListFormat::kHtml);
  EXPECT_EQ(FormatOfExtension("XLSX"), ListFormat::kXlsx);
  EXPECT_EQ(FormatOfExtension("pdf"), std::nullopt);
  // The Save dialog's entries keep their places; the new types come after them.
  EXPECT_EQ(SaveDialogFilter(),
            "Text files (*.txt)|*.txt|CSV files (*.csv)|*.csv|JSON files (*.json)|*.json|"
            "HTML reports (*.html)|*.html|Tab-separated text (*.tsv)|*.tsv|Spreadsheets "
            "(*.xlsx)|*.xlsx|All files (*.*)|*.*");
  EXPECT_EQ(SavedFormats().size(), 6u);
}

TEST(SpreadsheetCells, DatesAndNumbersOnlyWhereTheyAreReal) {
  struct Case {
    const char* text;
    bool date;
  };
  for (const Case& c :
       {Case{"2024-01-31", true}, Case{"2024-02-29", true}, Case{"2000-02-29", true},
        Case{"1900-01-01", true}, Case{"2023-02-29", false}, Case{"1900-02-29", false},
        Case{"1899-12-31", false}, Case{"2024-13-01", false}, Case{"2024-04-31", false},
        Case{"2024-00-10", false}, Case{"24-01-31", false}, Case{"2024/01/31", false},
        Case{"2024-1-31 ", false}, Case{"", false}}) {
    EXPECT_EQ(ListDate(c.text).has_value(), c.date) << c.text;
  }
  const std::optional<CalendarDate> date = ListDate("2046-03-27");
  ASSERT_TRUE(date);
  EXPECT_EQ(date->year * 10000 + date->month * 100 + date->day, 20460327);
  EXPECT_EQ(WholeNumber("10000000000"), std::nullopt);  // wider than any field
  EXPECT_EQ(WholeNumber("+1"), std::nullopt);
  EXPECT_EQ(WholeNumber("50000"), 50000);
}

}  // namespace
}  // namespace quillet
