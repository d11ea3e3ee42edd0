#include "output/pdf_document.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "objects/code_page.h"
#include "test_support.h"

namespace quillet {
namespace {

const PrintHeader kHeader{"C:\\first.fob", "C:\\second.fbk", "07.12.2026 - 08:00:00"};

// A list and the records its rows show.
struct Rows {
  ObjectTable table;
  ObjectList list{table};
  void Add(int file, std::initializer_list<std::string_view> texts) {
    list.Append(test::AddRecord(table, file, texts));
  }
};

// `rows` rows named "Object 0", "Object 1", ...: realistic pages through the core's layout.
const ObjectList& NumberedRows(Rows& rows, int count) {
  for (int i = 0; i < count; ++i) {
    rows.Add(1 + i % 2, {"Table", std::to_string(i), "Object " + std::to_string(i), "", "V1",
                         "2026-12-07", "08:00:00", "42"});
  }
  return rows.list;
}

std::string PdfOf(const ObjectList& list, std::string_view creator = "quillet-test") {
  std::string bytes;
  PdfDocument pdf([&](std::string_view piece) { return bytes.append(piece), true; },
                  "Quillet object list", creator);
  EXPECT_TRUE(PrintToPdf(pdf, list, kHeader));
  return bytes;
}

bool HaveTool(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// What `command` printed; the PDF is given as its next argument, then `after`.
std::string ToolOutput(const std::string& command, const std::string& pdf_bytes,
                       const std::string& after = "") {
  const test::TempDir dir;
  const std::string pdf = dir.Write("list.pdf", pdf_bytes);
  const std::string out = (dir / "out.txt").string();
  EXPECT_EQ(std::system((command + " '" + pdf + "' " + after + " > '" + out + "' 2>&1").c_str()), 0)
      << command;
  std::ifstream stream(out, std::ios::binary);
  std::ostringstream text;
  text << stream.rdbuf();
  return text.str();
}

TEST(PdfDocument, CrossReferenceTableAndTrailerPointAtTheirObjects) {
  Rows rows;
  const std::string pdf = PdfOf(NumberedRows(rows, 100));
  ASSERT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
  const std::size_t startxref = pdf.rfind("startxref\n");
  ASSERT_NE(startxref, std::string::npos);
  const std::size_t xref = std::stoull(pdf.substr(startxref + 10));
  ASSERT_EQ(pdf.compare(xref, 7, "xref\n0 "), 0);
  const std::size_t size = std::stoul(pdf.substr(xref + 7));
  const std::size_t first_entry = pdf.find('\n', xref + 7) + 1;
  EXPECT_EQ(pdf.compare(first_entry, 20, "0000000000 65535 f \n"), 0);
  for (std::size_t number = 1; number < size; ++number) {
    const std::string entry = pdf.substr(first_entry + 20 * number, 20);
    ASSERT_EQ(entry.substr(10), " 00000 n \n") << number;
    const std::string object = std::to_string(number) + " 0 obj\n";
    EXPECT_EQ(pdf.compare(std::stoull(entry), object.size(), object), 0) << number;
  }
  EXPECT_EQ(pdf.compare(first_entry + 20 * size, 19, "trailer\n<< /Size " + std::to_string(size)),
            0);
  EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
  // 33 rows a page: the 100 rows take four pages.
  EXPECT_EQ(PaginateRows(100, PdfDocument::Metrics()).size(), 4u);
  EXPECT_NE(pdf.find("/Count 4 "), std::string::npos);
  EXPECT_EQ(size, 6u + 2 * 4);  // catalog, pages, two fonts, two objects a page, information
}

TEST(PdfDocument, EveryLineStandsInsideThePrintableArea) {
  Rows rows;
  const std::string pdf = PdfOf(NumberedRows(rows, 33 * 3));  // full pages, then a header page
  const std::regex position("1 0 0 1 ([0-9.]+) ([0-9.]+) Tm");
  double lowest = 842, highest = 0;
  int lines = 0;
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), position);
       it != std::sregex_iterator(); ++it, ++lines) {
    EXPECT_EQ((*it)[1].str(), "30");
    lowest = std::min(lowest, std::stod((*it)[2].str()));
    highest = std::max(highest, std::stod((*it)[2].str()));
  }
  EXPECT_EQ(lines, 4 * 3 + 2 * 33 * 3);
  // Baselines: the first a font ascent below the top margin, the last with room for its descent
  // above the bottom one.
  EXPECT_NEAR(highest, 842 - 36 - 9 * 1705 / 2048.0, 0.01);
  EXPECT_GE(lowest - 9 * 615 / 2048.0, 36);
}

TEST(PdfDocument, NamesComeBackAsWrittenWhateverBytesTheyHold) {
  if (!HaveTool("pdftotext")) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  Rows rows;
  const ObjectList& list = rows.list;
  rows.Add(1, {"Table", "18", "Caf\xE9 \x80 M\xFCller", "", "V(1)"});
  rows.Add(2, {"Form", "21", "a (b) c\\d ((", "", "W\\2"});
  rows.Add(1, {"Report", "30", "line\nbreak\rtab\tend\x01", "", "\x7F\xFF", "2026-12-07"});
  rows.Add(1, {"Report", "31", "plain", "", "", "2026-12-07"});
  const std::string text = ToolOutput("pdftotext -layout -enc UTF-8", PdfOf(list), "-");
  EXPECT_NE(text.find(Windows1252ToUtf8("Caf\xE9 \x80 M\xFCller")), std::string::npos) << text;
  EXPECT_NE(text.find("V(1)"), std::string::npos) << text;
  EXPECT_NE(text.find("a (b) c\\d (("), std::string::npos) << text;
  EXPECT_NE(text.find("W\\2"), std::string::npos) << text;
  EXPECT_NE(text.find(Windows1252ToUtf8("\xFF")), std::string::npos) << text;
  // Control bytes draw nothing, but take their place: they break neither the line nor its
  // columns.
  std::smatch control, plain;
  ASSERT_TRUE(std::regex_search(text, control, std::regex("\n.* 30 +line break tab end +2026")))
      << text;
  ASSERT_TRUE(std::regex_search(text, plain, std::regex("\n.* 31 +plain +2026"))) << text;
  EXPECT_EQ(control.length(), plain.length()) << text;
  EXPECT_NE(text.find("Page 1"), std::string::npos) << text;
}

TEST(PdfDocument, PdfinfoAcceptsTheFileAndCountsItsPages) {
  if (!HaveTool("pdfinfo")) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  Rows rows;
  const std::string info =
      ToolOutput("pdfinfo -enc UTF-8", PdfOf(NumberedRows(rows, 1000), "Qu\xE9"));
  auto has = [&](const std::string& pattern) {
    return std::regex_search(info, std::regex(pattern));
  };
  EXPECT_TRUE(has("\nPages: +31\n")) << info;
  EXPECT_TRUE(has("Title: +Quillet object list\n")) << info;
  EXPECT_TRUE(has(Windows1252ToUtf8("\nCreator: +Qu\xE9\n"))) << info;
  EXPECT_TRUE(has("\nPage size: +595 x 842 pts \\(A4\\)")) << info;
  EXPECT_EQ(info.find("Error"), std::string::npos) << info;
  EXPECT_EQ(info.find("Syntax"), std::string::npos) << info;
}

TEST(PdfDocument, AFailingSinkIsReportedAndEndsTheWriting) {
  Rows rows;
  const ObjectList& list = NumberedRows(rows, 40);
  const PrintMetrics metrics = PdfDocument::Metrics();
  const std::vector<PrintPage> pages = PaginateRows(list.RowCount(), metrics);
  ASSERT_EQ(pages.size(), 2u);
  // The sink fails from its `fail_from`th call on (1 is the first).
  for (int fail_from = 1; fail_from <= 4; ++fail_from) {
    int calls = 0;
    PdfDocument pdf([&](std::string_view) { return ++calls < fail_from; }, "t", "c");
    std::vector<bool> results;
    for (std::size_t page = 0; page < pages.size(); ++page) {
      results.push_back(
          pdf.AddPage(LayOutPage(list, kHeader, metrics, pages[page], static_cast<int>(page) + 1)));
    }
    results.push_back(pdf.Finish());
    // The sink's calls: the start and page 1 (both in the first AddPage), page 2, the end.
    const std::vector<bool> expected = {fail_from > 2, fail_from > 3, fail_from > 4};
    EXPECT_EQ(results, expected) << fail_from;
    EXPECT_EQ(calls, fail_from) << "nothing is written after a failure";
  }
}

TEST(PdfDocument, ACancelledPrintoutStopsAtItsPageAndIsNeverFinished) {
  Rows rows;
  const ListPrintout printout(NumberedRows(rows, 33 * 4), kHeader);
  ASSERT_EQ(printout.PageCount(), 5);
  for (const int stop_after : {1, 3, 5}) {
    std::string bytes;
    PdfDocument pdf([&](std::string_view piece) { return bytes.append(piece), true; }, "t", "c");
    std::vector<int> told;
    const Result<PrintEnd> printed = PrintToPdf(pdf, printout, [&](int done, int total) {
      told.push_back(done);
      EXPECT_EQ(total, 5);
      return done < stop_after;
    });
    ASSERT_TRUE(printed.ok()) << printed.error();
    EXPECT_EQ(*printed, PrintEnd::kCancelled) << stop_after;
    EXPECT_EQ(told.size(), static_cast<std::size_t>(stop_after));
    EXPECT_EQ(pdf.PageCount(), stop_after);
    // No trailer: nothing a reader could take for the whole printout.
    EXPECT_EQ(bytes.find("trailer"), std::string::npos) << stop_after;
  }
  std::string bytes;
  PdfDocument pdf([&](std::string_view piece) { return bytes.append(piece), true; }, "t", "c");
  const Result<PrintEnd> printed = PrintToPdf(pdf, printout, [](int, int) { return true; });
  ASSERT_TRUE(printed.ok());
  EXPECT_EQ(*printed, PrintEnd::kPrinted);
  EXPECT_EQ(bytes.substr(bytes.size() - 6), "%%EOF\n");
}

TEST(PdfDocument, OtherPaperGivesItsSizeAndMargins) {
  Rows rows;
  const PrintPaper letter{612, 792, 50, 40, 20, 30};
  const ListPrintout printout(NumberedRows(rows, 40), kHeader, letter);
  std::string pdf;
  PdfDocument document([&](std::string_view piece) { return pdf.append(piece), true; }, "t", "c",
                       letter);
  ASSERT_TRUE(PrintToPdf(document, printout, {}).ok());
  EXPECT_NE(pdf.find("/MediaBox [0 0 612 792]"), std::string::npos);
  const std::regex position("1 0 0 1 ([0-9.]+) ([0-9.]+) Tm");
  double highest = 0;
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), position);
       it != std::sregex_iterator(); ++it) {
    EXPECT_EQ((*it)[1].str(), "50");
    highest = std::max(highest, std::stod((*it)[2].str()));
  }
  EXPECT_NEAR(highest, 792 - 40 - kPrintAscent, 0.01);
  if (!HaveTool("pdfinfo")) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  EXPECT_TRUE(std::regex_search(ToolOutput("pdfinfo", pdf), std::regex("Page size: +612 x 792")));
}

TEST(PdfDocument, AnEmptyDocumentGetsABlankPageAndNothingFollowsTheEnd) {
  std::string bytes;
  PdfDocument pdf([&](std::string_view piece) { return bytes.append(piece), true; }, "t", "c");
  EXPECT_TRUE(pdf.Finish());
  EXPECT_NE(bytes.find("/Count 1 "), std::string::npos);
  const std::size_t written = bytes.size();
  EXPECT_FALSE(pdf.AddPage({}));
  EXPECT_FALSE(pdf.Finish());
  EXPECT_EQ(bytes.size(), written);
  if (!HaveTool("pdfinfo")) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  EXPECT_TRUE(std::regex_search(ToolOutput("pdfinfo", bytes), std::regex("\nPages: +1\n")));
}

}  // namespace
}  // namespace quillet
