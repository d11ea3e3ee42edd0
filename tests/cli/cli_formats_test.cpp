// The formats as other programs read them: tab-separated text beside CSV, JSON against its
// schema, a spreadsheet read back, HTML a strict parser takes, and the counts in every format.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "gen/generator.h"
#include "objects/code_page.h"
#include "output/format_table.h"

namespace {

namespace fs = std::filesystem;
namespace gen = quillet::gen;
using quillet::test::CliTest;
using quillet::test::Outcome;
using quillet::test::Quote;
using quillet::test::Slurp;

constexpr const char* kPython = "/usr/bin/python3";

class CliFormats : public CliTest {
 protected:
  void SetUp() override {
    const std::string samples = std::string(QUILLET_SAMPLES) + "/";
    one_ = Quote(samples + "sample.fob");
    two_ = Quote(samples + "sample-changed.fbk");
    // The changed sample as the base: every kind of upgrade result has rows.
    commands_ = {"list --types=all " + one_,
                 "compare --equal --criteria=type-id " + one_ + " " + two_,
                 "compare --different " + one_ + " " + two_,
                 "compare --changes --show=all " + one_ + " " + two_,
                 "compare --base=" + two_ + " --show=all " + one_ + " " + one_,
                 "compare --changes --summary " + one_ + " " + two_,
                 "compare --base=" + one_ + " --summary " + one_ + " " + two_};
  }
  static bool Have(const std::string& modules) {
    return std::system(
               (std::string(kPython) + " -c 'import " + modules + "' 2>/dev/null").c_str()) == 0;
  }
  // One of the test's Python programs, with its arguments.
  static std::string Python(const std::string& name, const std::string& arguments) {
    return std::string(kPython) + " " + Quote(std::string(QUILLET_TEST_SOURCES) + "/cli/" + name) +
           " " + arguments;
  }
  // A command line of another program, as Run gives quillet-cli's.
  Outcome Sh(const std::string& command) {
    const fs::path out = dir_ / "sh.out", err = dir_ / "sh.err";
    const int raw = std::system(
        (command + " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null")
            .c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
  }
  std::string ReadSheet(const std::string& sheet) {
    const Outcome read = Sh(Python("read-xlsx", Quote(sheet)));
    EXPECT_EQ(read.status, 0) << read.err;
    return read.out;
  }

  std::string one_, two_;
  std::vector<std::string> commands_;
};

// Fields of a CSV line as a spreadsheet reads them: quotes around a field, "" for a quote.
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

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  for (std::size_t end; (end = text.find(separator, at)) != std::string::npos;
       at = end + separator.size()) {
    parts.push_back(text.substr(at, end - at));
  }
  parts.push_back(text.substr(at));
  return parts;
}

TEST_F(CliFormats, TsvHasTheRowsAndColumnsOfCsvInEveryCommand) {
  for (const std::string& command : commands_) {
    const Outcome csv = Run(command + " --format=csv --raw");
    const Outcome tsv = Run(command + " --format=tsv");
    EXPECT_EQ(tsv.status, csv.status) << command;
    EXPECT_EQ(tsv.err, "") << command;
    EXPECT_EQ(tsv.out.find('\r'), std::string::npos) << command;
    ASSERT_EQ(tsv.out.back(), '\n') << command;
    std::vector<std::string> csv_lines = Split(csv.out.substr(0, csv.out.size() - 2), "\r\n"),
                             tsv_lines = Split(tsv.out.substr(0, tsv.out.size() - 1), "\n");
    ASSERT_EQ(tsv_lines.size(), csv_lines.size()) << command;
    ASSERT_GT(tsv_lines.size(), 2u) << command;
    for (std::size_t i = 0; i < tsv_lines.size(); ++i) {
      ASSERT_EQ(Split(tsv_lines[i], "\t"), CsvFields(csv_lines[i])) << command << " line " << i;
    }
  }
  // UTF-8, for grep and git: the sample's "Café".
  EXPECT_NE(Run("list --format=tsv " + one_).out.find("Buffer Caf\xC3\xA9\t"), std::string::npos);
}

TEST_F(CliFormats, JsonOfEveryCommandValidatesAgainstTheSchema) {
  if (!Have("jsonschema")) GTEST_SKIP() << "no python3-jsonschema";
  std::string files;
  for (std::size_t i = 0; i < commands_.size(); ++i) {
    const Outcome json = Run(commands_[i] + " --format=json");
    EXPECT_NE(json.status, 2) << commands_[i] << ": " << json.err;
    const std::string file = Write("out" + std::to_string(i) + ".json", json.out);
    files += " " + Quote(file);
  }
  const Outcome checked =
      Sh(Python("validate-json", Quote(std::string(QUILLET_DOCS) + "/output.schema.json") + files));
  EXPECT_EQ(checked.status, 0) << checked.out << checked.err;

  // What scripts count on: numbers are numbers, a pair shares its group.
  const std::string changes = Run(commands_[3] + " --format=json").out;
  EXPECT_NE(changes.find("\"ID\": 63, "), std::string::npos) << changes.substr(0, 300);
  EXPECT_NE(changes.find("\"Status\": \"changed\", \"Status text\": \"Changed\", "
                         "\"Changed\": [\"Version\"], \"Group\": "),
            std::string::npos)
      << changes.substr(0, 600);
}

TEST_F(CliFormats, ASpreadsheetReadBackHasTypedCells) {
  if (!Have("openpyxl")) GTEST_SKIP() << "no python3-openpyxl";
  const auto read = [&](const std::string& command) {
    const std::string sheet = (dir_ / "sheet.xlsx").string();
    const Outcome written = Run(command + " --format=xlsx -o " + Quote(sheet));
    EXPECT_NE(written.status, 2) << command << ": " << written.err;
    return ReadSheet(sheet);
  };
  const std::string list = read(commands_[0]);
  for (const std::string& expected : {
           std::string("\"name\": \"Objects\", \"frozen\": \"A2\", \"filter\": \"A1:J61\""),
           std::string("{\"value\": \"ID\", \"type\": \"text\", \"bold\": true"),
           std::string("{\"value\": 55, \"type\": \"number\""),  // the first row's ID
           std::string("{\"value\": \"1990-07-13\", \"type\": \"date\""),
           std::string("{\"value\": \"Buffer Caf\xC3\xA9\", \"type\": \"text\""),
       }) {
    EXPECT_NE(list.find(expected), std::string::npos) << expected << "\n" << list.substr(0, 1500);
  }
  const std::string changes = read(commands_[3]);
  EXPECT_NE(changes.find("\"name\": \"Changes\""), std::string::npos);
  EXPECT_NE(changes.find("\"type\": \"text\", \"bold\": true, \"tinted\": true"), std::string::npos)
      << "the changed cells are marked";
  EXPECT_NE(changes.find("{\"value\": \"Changed\", \"type\": \"text\", \"bold\": false"),
            std::string::npos);
  const std::string summary = read(commands_[5]);
  EXPECT_NE(summary.find("\"name\": \"Summary\""), std::string::npos) << summary;
  EXPECT_NE(summary.find("{\"value\": \"Total\", \"type\": \"text\", \"bold\": true"),
            std::string::npos)
      << summary;
}

// Names that hold a formula stay text in every format a spreadsheet opens.
TEST_F(CliFormats, AFormulaInANameIsNeverRun) {
  if (!Have("openpyxl")) GTEST_SKIP() << "no python3-openpyxl";
  gen::Object object;
  object.type = "Codeunit";
  object.id = gen::Number10(50000);
  object.name = "=HYPERLINK(\"x\")";
  object.date = "31.12.08";
  object.time = "12:00:00";
  object.size = gen::Number10(1);
  gen::Options options;
  const std::string file = Write("f.fob", gen::EncodeFile({object}, options));
  const std::string sheet = (dir_ / "f.xlsx").string();
  ASSERT_EQ(Run("list --format=xlsx -o " + Quote(sheet) + " " + file).status, 0);
  const std::string cells = ReadSheet(sheet);
  EXPECT_NE(cells.find("{\"value\": \"=HYPERLINK(\\\"x\\\")\", \"type\": \"text\""),
            std::string::npos)
      << cells;
}

TEST_F(CliFormats, TheCountsComeInEveryFormat) {
  const Outcome csv = Run(commands_[5] + " --format=csv");
  for (const quillet::FormatInfo& format : quillet::kFormats) {
    const std::string token(format.token);
    const Outcome summary =
        Run(commands_[5] + " --format=" + token + " -o " + Quote((dir_ / "s").string()));
    if (format.format == quillet::ListFormat::kIds) {
      EXPECT_EQ(summary.status, 2);
      continue;
    }
    EXPECT_EQ(summary.status, csv.status) << token << ": " << summary.err;
    EXPECT_FALSE(Slurp(dir_ / "s").empty()) << token;
  }
  // The text form is the CSV form, as it always was.
  EXPECT_EQ(Run(commands_[5]).out, csv.out);
}

// A strict parser refuses a report with a control character; each becomes U+FFFD.
TEST_F(CliFormats, TheReportHoldsOnlyCharactersHtmlAllows) {
  gen::Options options;
  std::vector<gen::Object> objects;
  for (const char* name : {"Del\x7F", "Cr\x8D", "Sf\x8F", "Dc\x90", "Rs\x9D", "Ctl\x01\x1B"}) {
    gen::Object object;
    object.type = "Table";
    object.id = gen::Number10(static_cast<long long>(objects.size()) + 1);
    object.name = name;
    object.version = std::string("V") + name;
    object.size = gen::Number10(1);
    objects.push_back(object);
  }
  const std::string file = Write("odd.fob", gen::EncodeFile(objects, options));
  for (const std::string& command :
       {"list --types=all --format=html " + file,
        "compare --base=" + file + " --show=all --format=html " + file + " " + file}) {
    const Outcome report = Run(command);
    ASSERT_EQ(report.status, 0) << report.err;
    for (std::size_t at = 0; at < report.out.size();) {
      const quillet::Utf8Char c = quillet::DecodeUtf8(report.out, at);
      ASSERT_GT(c.length, 0) << "not UTF-8 at byte " << at;
      ASSERT_FALSE((c.code < 0x20 && c.code != '\n') || (c.code >= 0x7F && c.code <= 0x9F))
          << "U+" << std::hex << static_cast<unsigned>(c.code);
      at += static_cast<std::size_t>(c.length);
    }
  }
  const std::string upgrade =
      Run("compare --base=" + file + " --show=all --format=html " + file + " " + file).out;
  EXPECT_NE(upgrade.find("<td>base</td><td>Table</td>"), std::string::npos);
  EXPECT_EQ(upgrade.find("<td>0</td>"), std::string::npos);
  if (std::system("command -v xmllint >/dev/null 2>&1") == 0) {
    const Outcome xml = Sh("xmllint --noout " + Quote(Write("upgrade.html", upgrade)));
    EXPECT_EQ(xml.status, 0) << "the report is well-formed XML: " << xml.err;
  }
}

}  // namespace
