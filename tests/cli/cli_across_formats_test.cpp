// compare --across in every format, as other programs read them: CSV and tab-separated text
// beside the saved list's form, JSON against its schema, a spreadsheet read back, a report a
// strict parser takes, the ID lines read back as a filter, and the summary in each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_across_support.h"

namespace {

using quillet::test::CliAcrossTest;
using quillet::test::Object;
using quillet::test::Outcome;
using quillet::test::Quote;
using quillet::test::Split;
using quillet::test::TsvLines;

constexpr const char* kPython = "/usr/bin/python3";

class CliAcrossFormats : public CliAcrossTest {
 protected:
  void SetUp() override { MakeSites(); }

  static bool Have(const std::string& modules) {
    return std::system(
               (std::string(kPython) + " -c 'import " + modules + "' 2>/dev/null").c_str()) == 0;
  }
  // Another program, as Run gives quillet-cli's outcome.
  Outcome Sh(const std::string& command) { return Shell(command); }
  Outcome Python(const std::string& name, const std::string& arguments) {
    return Sh(std::string(kPython) + " " +
              Quote(std::string(QUILLET_TEST_SOURCES) + "/cli/" + name) + " " + arguments);
  }
  std::string Sheet(const std::string& options) {
    const std::string sheet = (dir_ / "across.xlsx").string();
    const Outcome written = Across(options + " --format=xlsx -o " + Quote(sheet));
    EXPECT_EQ(written.status, 1) << written.err;
    const Outcome read = Python("read-xlsx", Quote(sheet));
    EXPECT_EQ(read.status, 0) << read.err;
    return read.out;
  }
};

// A CSV line's fields as a spreadsheet reads them.
std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

TEST_F(CliAcrossFormats, CsvAndTsvHoldTheRowsOfTheSavedListsForm) {
  for (const std::string options : {"--show=all", "--summary"}) {
    const Outcome text = Across(options);
    const Outcome csv = Across(options + " --format=csv");
    const Outcome tsv = Across(options + " --format=tsv");
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(tsv.status, 1);
    const std::vector<std::string> text_lines =
                                       Split(text.out.substr(0, text.out.size() - 2), "\r\n"),
                                   csv_lines = Split(csv.out.substr(0, csv.out.size() - 2), "\r\n");
    const auto tsv_lines = TsvLines(tsv.out);
    EXPECT_EQ(tsv.out.find('\r'), std::string::npos);
    ASSERT_EQ(csv_lines.size(), text_lines.size()) << options;
    ASSERT_EQ(tsv_lines.size(), text_lines.size()) << options;
    for (std::size_t i = 0; i < text_lines.size(); ++i) {
      EXPECT_EQ(CsvFields(csv_lines[i]), tsv_lines[i]) << options << " line " << i;
    }
  }
  // The texts of the files in UTF-8, the names of the files as given; the saved list's form
  // stays Windows-1252.
  const auto rows = TsvLines(Across("--format=tsv --show=same").out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Type", "ID", "Name", "Variants", "release.fob",
                                               "site one.fob", "site2.fob"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"Codeunit", "80",
                                               "Pr\xC3\xBC"
                                               "fung",
                                               "1", "A", "A", "A"}));
}

// A file's name and an object's name come from others: in CSV neither runs as a formula.
TEST_F(CliAcrossFormats, FormulasInNamesAreNeverRun) {
  File("=1+2.fob", {Object("Table", 18, "=HYPERLINK(\"x\")", "V1")});
  const Outcome csv = Across("--format=csv", " =1+2.fob");
  EXPECT_EQ(CsvFields(Split(csv.out, "\r\n")[0]).back(), "'=1+2.fob");
  EXPECT_EQ(CsvFields(Split(csv.out, "\r\n")[1])[2], "Customer");
  const Outcome only = Run("compare --across --format=csv =1+2.fob release.fob",
                           "cd " + Quote(dir_.string()) + " &&");
  EXPECT_EQ(CsvFields(Split(only.out, "\r\n")[1])[2], "'=HYPERLINK(\"x\")");
  const Outcome raw = Run("compare --across --format=csv --raw =1+2.fob release.fob",
                          "cd " + Quote(dir_.string()) + " &&");
  EXPECT_EQ(CsvFields(Split(raw.out, "\r\n")[0])[4], "=1+2.fob");
  EXPECT_EQ(CsvFields(Split(raw.out, "\r\n")[1])[2], "=HYPERLINK(\"x\")");
}

TEST_F(CliAcrossFormats, JsonValidatesAgainstTheSchemaAndIsTyped) {
  const Outcome rows = Across("--format=json --show=all", " /dev/null");
  const Outcome summary = Across("--format=json --summary", " /dev/null");
  EXPECT_EQ(rows.status, 1) << rows.err;
  EXPECT_EQ(summary.status, 1) << summary.err;
  // What scripts count on: numbers are numbers, a file without the object has null.
  EXPECT_NE(rows.out.find("{\"Type\": \"Table\", \"ID\": 18, \"Name\": \"Customer\", \"Variants\": "
                          "2, \"Status\": \"differs\", \"Status text\": \"Differs\",\n   "
                          "\"Cells\": [\"A\", \"B\", \"A\", null],"),
            std::string::npos)
      << rows.out.substr(0, 800);
  EXPECT_NE(rows.out.find("{\"Type\": \"Table\", \"ID\": 18, \"Name\": \"Customer\", \"Modified\": "
                          "\"\", \"Version\": \"V2\", \"Date\": \"2024-01-31\", \"Time\": "
                          "\"12:00:00\", \"BLOB size\": 100, \"Compiled\": \"\"}"),
            std::string::npos);
  EXPECT_NE(summary.out.find("{\"File\": \"site one.fob\", \"Objects\": 5, \"Only here\": 1, "
                             "\"Differs\": [4, 0, 6, 5]}"),
            std::string::npos)
      << summary.out;
  if (!Have("jsonschema")) GTEST_SKIP() << "no python3-jsonschema";
  const Outcome checked =
      Python("validate-json", Quote(std::string(QUILLET_DOCS) + "/output.schema.json") + " " +
                                  Quote(Write("rows.json", rows.out)) + " " +
                                  Quote(Write("summary.json", summary.out)));
  EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
}

TEST_F(CliAcrossFormats, ASpreadsheetHasTypedCellsOnTheLettersColours) {
  if (!Have("openpyxl")) GTEST_SKIP() << "no python3-openpyxl";
  const std::string sheets = Sheet("--show=all");
  for (const std::string& expected : {
           std::string("\"name\": \"Across files\", \"frozen\": \"A2\", \"filter\": \"A1:G8\""),
           std::string("{\"value\": \"site one.fob\", \"type\": \"text\", \"bold\": true"),
           // ID and Variants are numbers; each letter on its colour, a file without the object
           // hatched.
           std::string("[{\"value\": \"Table\", \"type\": \"text\", \"bold\": false, \"tinted\": "
                       "false}, {\"value\": 18, \"type\": \"number\", \"bold\": false, \"tinted\": "
                       "false}, {\"value\": \"Customer\", \"type\": \"text\", \"bold\": false, "
                       "\"tinted\": false}, {\"value\": 2, \"type\": \"number\", \"bold\": false, "
                       "\"tinted\": false}, {\"value\": \"A\", \"type\": \"text\", \"bold\": true, "
                       "\"tinted\": true}, {\"value\": \"B\", \"type\": \"text\", \"bold\": true, "
                       "\"tinted\": true}"),
           std::string(
               "{\"value\": \"Form\", \"type\": \"text\", \"bold\": false, \"tinted\": "
               "false}, {\"value\": 5, \"type\": \"number\", \"bold\": false, \"tinted\": "
               "false}, {\"value\": \"Extra\", \"type\": \"text\", \"bold\": false, "
               "\"tinted\": false}, {\"value\": 1, \"type\": \"number\", \"bold\": false, "
               "\"tinted\": false}, {\"value\": null, \"type\": \"empty\", \"bold\": false, "
               "\"tinted\": true}"),
           // The summary beside the matrix, in numbers.
           std::string("\"name\": \"Summary\", \"frozen\": \"A2\""),
           std::string("[{\"value\": \"site one.fob\", \"type\": \"text\", \"bold\": false, "
                       "\"tinted\": false}, {\"value\": 5, \"type\": \"number\""),
       }) {
    EXPECT_NE(sheets.find(expected), std::string::npos) << expected << "\n" << sheets;
  }
  // With --summary, the summary alone.
  const std::string summary = Sheet("--summary");
  EXPECT_EQ(summary.find("Across files"), std::string::npos);
  EXPECT_NE(summary.find("{\"value\": 6, \"type\": \"number\""), std::string::npos) << summary;
}

TEST_F(CliAcrossFormats, TheReportNamesTheFilesAndColoursEachLetter) {
  // A name that is not UTF-8, with markup in it.
  File("<b>\xFF.fob",
       {Object("Table", 18, "Customer", "V2"), Object("Table", 99, "Customer & Co", "V1")});
  const Outcome report = Across("--format=html --show=all", " '<b>\xFF.fob'");
  EXPECT_EQ(report.status, 1) << report.err;
  const std::string& html = report.out;
  for (const std::string& expected : {
           std::string("<tr><th>File 1</th><td>release.fob</td></tr>"),
           std::string("<tr><th>File 4</th><td>&lt;b&gt;\xEF\xBF\xBD.fob</td></tr>"),
           std::string("<tr><th>Compared</th><td>Type and ID, Name, Version, Date, Time, BLOB "
                       "size</td></tr>"),
           std::string("<th class=\"file\" title=\"site one.fob\">site one.fob</th>"),
           std::string("<tr><td>Table</td><td class=\"number\">18</td><td>Customer</td><td "
                       "class=\"number\">2</td><td class=\"cell v0\">A</td><td class=\"cell "
                       "v1\">B</td><td class=\"cell v0\">A</td><td class=\"cell v1\">B</td></tr>"),
           std::string("<td class=\"cell none\">&#x2013;</td>"),
           std::string("<tr><td>Table</td><td class=\"number\">99</td><td>Customer &amp; "
                       "Co</td>"),
           std::string("<span>Differs 8</span><span>Same 0</span>"),
           std::string("<tr><td>site one.fob</td><td class=\"number\">5</td><td "
                       "class=\"number\">1</td><td class=\"number\">4</td><td class=\"number "
                       "self\">0</td>"),
           // Each letter's colour, lighter to darker.
           std::string("td.v0 { background: #E6F4DC; }"),
           std::string("td.v3 { background: #C2456A; color: #FFFFFF; }"),
       }) {
    EXPECT_NE(html.find(expected), std::string::npos) << expected;
  }
  EXPECT_EQ(html.find("Customer & Co"), std::string::npos) << "every text is escaped";
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_EQ(html.find("http"), std::string::npos) << "nothing is loaded from elsewhere";
  if (std::system("command -v xmllint >/dev/null 2>&1") == 0) {
    const Outcome xml = Sh("xmllint --noout " + Quote(Write("across.html", html)));
    EXPECT_EQ(xml.status, 0) << "the report is well-formed XML: " << xml.err;
    const Outcome summary = Sh("xmllint --noout " +
                               Quote(Write("summary.html", Across("--format=html --summary").out)));
    EXPECT_EQ(summary.status, 0) << summary.err;
  }
}

// The IDs of the rows shown, as lines the filter reads back: the same rows again.
TEST_F(CliAcrossFormats, TheIdLinesReadBackAsAFilter) {
  const Outcome ids = Across("--format=ids --hide-system");
  EXPECT_EQ(ids.status, 1);
  EXPECT_EQ(ids.out, "Table: 18|27\r\nForm: 5\r\nCodeunit: 80\r\nPage: 21\r\n");
  const Outcome same = Across("--format=ids --show=same");
  EXPECT_EQ(same.out, "Codeunit: 80\r\n");
  const Outcome back = Across("--show=all --format=tsv --filter=" + Quote(same.out));
  const auto rows = TsvLines(back.out);
  ASSERT_EQ(rows.size(), 3u) << back.out;
  EXPECT_EQ(rows[1][1], "80");
  EXPECT_EQ(rows[2][1], "80");
}

}  // namespace
