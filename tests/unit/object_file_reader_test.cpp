#include <gtest/gtest.h>

#include <algorithm>

#include "commands/listing.h"
#include "commands/load_file.h"
#include "gen/generator.h"
#include "objects/code_page.h"
#include "objects/date_time_format.h"
#include "objects/text.h"
#include "test_support.h"

namespace quillet {
namespace {

using test::LineA;
using test::LineB;
using test::Padded;

// The example line of the file format, spelled out byte by byte.
std::string ExampleLine() {
  std::string line;
  line += "Codeunit ";                    // type, 9
  line += " ";                            // skipped
  line += "        80";                   // number, 10
  line += " ";                            // skipped
  line += "Test" + std::string(26, ' ');  // name, 30
  line += "  ";                           // skipped
  line += "31.12.08  ";                   // date, 10
  line += std::string(5, ' ');            // skipped
  line += "12:00:00   ";                  // time, 11
  line += std::string(12, ' ');           // skipped
  line += "       512";                   // size, 10
  line += " ";                            // skipped
  line += "V1" + std::string(55, ' ');    // version, 57
  line += "\r\n";
  return line;
}

class ReaderTest : public ::testing::Test {
 protected:
  LoadResult Load(const std::string& name, std::string_view bytes, int file = 1) {
    return LoadObjectFile(t_.ws, dir_.Write(name, bytes), file);
  }
  std::string FieldText(int row, Field field, int file = 1) const {
    return std::string(t_.table.Read(file, row, field));
  }
  std::string Trimmed(int row, Field field, int file = 1) const {
    return std::string(TrimBlanks(t_.table.Read(file, row, field)));
  }

  test::TempDir dir_;
  test::TestWorkspace t_;
};

TEST_F(ReaderTest, ReadsLayoutAAtItsOffsets) {
  ASSERT_EQ(ExampleLine().size(), 161u);
  const LoadResult result = Load("a.fob", ExampleLine() + "\x1A");
  ASSERT_EQ(result.status, LoadStatus::kLoaded);
  ASSERT_EQ(t_.table.Count(1), 1);
  EXPECT_EQ(FieldText(1, Field::kType), "Codeunit ");
  EXPECT_EQ(FieldText(1, Field::kId), "        80");
  EXPECT_EQ(FieldText(1, Field::kName), Padded("Test", 30));
  EXPECT_EQ(FieldText(1, Field::kModified), " ");
  EXPECT_EQ(FieldText(1, Field::kVersion), Padded("V1", 60));
  EXPECT_EQ(FieldText(1, Field::kDate), "2008-12-31");
  EXPECT_EQ(FieldText(1, Field::kTime), "12:00:00   ");
  EXPECT_EQ(FieldText(1, Field::kBlobSize), "       512");
  EXPECT_EQ(FieldText(1, Field::kCompiled), " ");
}

TEST_F(ReaderTest, ReadsLayoutsAAndBInFileOrder) {
  const std::string header =
      LineA("Table", "        18", "Customer", "01.02.09", "9:05:00", "      1000", "V7") +
      LineB("        18", "Customer", "   4096000", "DATA1") +
      LineA("Codeunit", "        80", "Posting", "12/31/08", "23:59:59", "       512", "V2") +
      "\x1A";
  ASSERT_EQ(LineB("1", "n", "s", "v").size(), 108u);
  Load("three.fob", header);
  ASSERT_EQ(t_.table.Count(1), 3);
  EXPECT_EQ(Trimmed(1, Field::kType), "Table");
  EXPECT_EQ(FieldText(1, Field::kTime), "09:05:00   ");
  EXPECT_EQ(FieldText(2, Field::kType), "TableData");
  EXPECT_EQ(FieldText(2, Field::kBlobSize), "   4096000");
  EXPECT_EQ(FieldText(2, Field::kVersion), Padded("DATA1", 60));
  EXPECT_EQ(FieldText(2, Field::kDate), std::string(10, ' '));
  EXPECT_EQ(FieldText(2, Field::kTime), std::string(11, ' '));
  EXPECT_EQ(Trimmed(3, Field::kName), "Posting");
  EXPECT_EQ(FieldText(3, Field::kDate), "2008-12-31");
}

TEST_F(ReaderTest, TakesVersionListsUpToTheirLayoutWidth) {
  const std::string long_version(57, 'v');
  const std::string header =
      LineA("Page", "21", "Card", "01.01.10", "10:00:00", "1", long_version) +
      LineB("22", "Data", "1", std::string(30, 'w')) + "\x1A";
  Load("v.fob", header);
  EXPECT_EQ(Trimmed(1, Field::kVersion), long_version);
  EXPECT_EQ(Trimmed(2, Field::kVersion), std::string(30, 'w'));
  EXPECT_EQ(FieldText(1, Field::kVersion).substr(57), "   ");
}

TEST_F(ReaderTest, CountsTheFirstLineWithoutALineEndBeforeIt) {
  const std::string header =
      LineB("1", "First", "10", "") + LineB("2", "Second", "20", "") + "\x1A";
  EXPECT_EQ(Load("td.fob", header).lines, 2);
  EXPECT_EQ(t_.table.Count(1), 2);
  EXPECT_EQ(Trimmed(2, Field::kName), "Second");
}

TEST_F(ReaderTest, IgnoresEverythingAfterTheEndOfTheHeader) {
  // What follows the 0x1A may look like more lines; it is not the directory.
  const std::string bytes = LineA("Form", "5", "Only", "01.01.10", "1:00:00", "1", "") + "\x1A" +
                            LineA("Form", "6", "Data", "01.01.10", "1:00:00", "1", "") + "\r\n" +
                            LineA("Table", "7", "More", "01.01.10", "1:00:00", "1", "");
  const LoadResult result = Load("data.fob", bytes);
  EXPECT_EQ(result.lines, 1);
  EXPECT_EQ(t_.table.Count(1), 1);
}

TEST_F(ReaderTest, AFileWithoutDirectoryHoldsNoObjects) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::string line = LineA("Table", "1", "T", "01.01.10", "1:00:00", "1", "");
  const Case cases[] = {
      {"plain text", "Table 1 is not a directory\r\nCodeunit 2 neither\r\n"},
      {"no end mark", line},
      {"empty", ""},
      {"end mark first", "\x1A" + line},
      {"no object line", "Hello\r\nWorld\x1A"},
  };
  for (const Case& c : cases) {
    t_.table.Reserve(1, 1);
    t_.table.Store(1, 1, Field::kName, "old");
    t_.table.SetCount(1, 1);
    const LoadResult result = Load("x.fob", c.bytes);
    EXPECT_EQ(result.status, LoadStatus::kNoObjects) << c.what;
    EXPECT_EQ(t_.table.Count(1), 0) << c.what;
    EXPECT_EQ(t_.status.Now(Panel::kActivity), "Analyzing...") << c.what;
    EXPECT_TRUE(t_.messages.texts.empty()) << c.what;
  }
}

TEST_F(ReaderTest, AnEndMarkThatIsTheLastByteMakesTheWholeFileTheHeader) {
  const std::string header = LineA("Report", "1", "R", "01.01.10", "1:00:00", "1", "") +
                             LineA("Report", "2", "S", "01.01.10", "1:00:00", "1", "") + "\x1A";
  EXPECT_EQ(Load("r.fob", header).objects, 2);
}

TEST_F(ReaderTest, FindsLineStartsAcrossReadBlocks) {
  // Enough lines that the header spans several of the reader's blocks, so some CR LF and type
  // name pairs straddle a block boundary.
  gen::Options options;
  options.objects = 15000;
  options.data_size = 3 << 20;
  const auto objects = gen::GenerateObjects(options);
  const LoadResult result = Load("big.fob", gen::EncodeFile(objects, options));
  EXPECT_EQ(result.lines, 15000);
  EXPECT_EQ(t_.table.Count(1), 15000);
}

TEST_F(ReaderTest, BackupFilesDropRepeatedTableLines) {
  const std::string header =
      LineA("Table", "        18", "First", "01.01.10", "1:00:00", "1", "") +
      LineA("Codeunit", "        18", "Unit", "01.01.10", "1:00:00", "1", "") +
      LineA("Table", "        18", "Repeat", "01.01.10", "1:00:00", "1", "") +
      LineA("Codeunit", "        18", "Unit again", "01.01.10", "1:00:00", "1", "") +
      LineA("Table", "18        ", "Left aligned", "01.01.10", "1:00:00", "1", "") + "\x1A";
  for (const char* name : {"b.fbk", "b.FBK", "b.Fbk"}) {
    const LoadResult result = Load(name, header);
    ASSERT_EQ(t_.table.Count(1), 4) << name;
    EXPECT_EQ(Trimmed(1, Field::kName), "First");
    EXPECT_EQ(Trimmed(3, Field::kName), "Unit again");
    EXPECT_EQ(Trimmed(4, Field::kName), "Left aligned");  // blanks make it another number
    EXPECT_EQ(t_.status.Now(Panel::kProgress), "File 1: 4");
    EXPECT_DOUBLE_EQ(t_.status.progress.back(), 40.0);  // a dropped line keeps it below 50
  }
  Load("b.fob", header);
  EXPECT_EQ(t_.table.Count(1), 5);
  EXPECT_DOUBLE_EQ(t_.status.progress.back(), 50.0);
}

TEST_F(ReaderTest, BackupRuleMatchesTheStraightforwardScan) {
  gen::Options options;
  options.objects = 3000;
  options.repeated_tables = 400;
  options.seed = 7;
  const auto objects = gen::GenerateObjects(options);
  // The rule as written: drop a Table line when an earlier kept Table has the same number.
  std::vector<const gen::Object*> kept;
  for (const gen::Object& object : objects) {
    const bool repeat =
        object.type == "Table" && std::any_of(kept.begin(), kept.end(), [&](const gen::Object* k) {
          return k->type == "Table" && k->id == object.id;
        });
    if (!repeat) kept.push_back(&object);
  }
  ASSERT_LT(kept.size(), objects.size());
  Load("many.fbk", gen::EncodeFile(objects, options));
  ASSERT_EQ(t_.table.Count(1), static_cast<int>(kept.size()));
  for (std::size_t i = 0; i < kept.size(); ++i) {
    ASSERT_EQ(FieldText(static_cast<int>(i) + 1, Field::kId), kept[i]->id) << i;
  }
}

TEST_F(ReaderTest, ConvertsTheCodePageLettersOfNamesAndVersionsOnly) {
  const std::string header = LineA("Form", "\x81",
                                   "Pr\x81"
                                   "fung \x84\x8E\x94\x99\x9A\xE1 \x82",
                                   "01.01.10", "1:00:00", "1",
                                   "\x9A"
                                   "1") +
                             "\x1A";
  Load("cp.fob", header);
  EXPECT_EQ(Trimmed(1, Field::kName),
            "Pr\xFC"
            "fung \xE4\xC4\xF6\xD6\xDC\xDF \xE9");  // 0x82 is an e with an acute accent
  EXPECT_EQ(Trimmed(1, Field::kVersion),
            "\xDC"
            "1");
  EXPECT_EQ(Trimmed(1, Field::kId), "\x81");  // the number is never converted
}

TEST_F(ReaderTest, StoresEveryGeneratedObjectAsWritten) {
  gen::Options options;
  options.objects = 2000;
  options.date_form = gen::DateForm::kMixed;
  options.seed = 11;
  const auto objects = gen::GenerateObjects(options);
  Load("all.fob", gen::EncodeFile(objects, options));
  ASSERT_EQ(t_.table.Count(1), 2000);
  for (int i = 0; i < 2000; ++i) {
    const gen::Object& o = objects[i];
    const int row = i + 1;
    ASSERT_EQ(Trimmed(row, Field::kType), o.type) << row;
    ASSERT_EQ(FieldText(row, Field::kId), o.id) << row;
    ASSERT_EQ(FieldText(row, Field::kBlobSize), o.size) << row;
    ASSERT_EQ(Trimmed(row, Field::kName), TrimBlanks(ConvertUmlauts(o.name))) << row;
    ASSERT_EQ(Trimmed(row, Field::kVersion), TrimBlanks(ConvertUmlauts(o.version))) << row;
    if (o.type == "TableData") {
      ASSERT_EQ(Trimmed(row, Field::kDate), "") << row;
    } else {
      ASSERT_EQ(FieldText(row, Field::kDate), Padded(FormatObjectDate(o.date), 10)) << row;
      ASSERT_EQ(FieldText(row, Field::kTime), Padded(FormatObjectTime(o.time), 11)) << row;
    }
  }
}

TEST_F(ReaderTest, ReportsItsProgressInTheStatusBar) {
  const std::string header = LineA("Page", "1", "A", "01.01.10", "1:00:00", "1", "") +
                             LineA("Page", "2", "B", "01.01.10", "1:00:00", "1", "") + "\x1A";
  const std::string name = dir_.Write("p.fob", header);
  LoadObjectFile(t_.ws, name, 2);
  EXPECT_EQ(t_.status.Now(Panel::kFile2), name);
  EXPECT_TRUE(t_.status.icons[2]);
  EXPECT_EQ(t_.status.Now(Panel::kActivity), "Loaded");
  EXPECT_EQ(t_.status.Now(Panel::kProgress), "File 2: 2");
  EXPECT_EQ(t_.status.Now(Panel::kCount), "");
  EXPECT_DOUBLE_EQ(t_.status.progress.back(), 50.0);
  EXPECT_TRUE(std::is_sorted(t_.status.progress.begin(), t_.status.progress.end()));
}

TEST_F(ReaderTest, ReplacesOnlyTheRowsOfTheFileItLoads) {
  const std::string one = LineA("Page", "1", "One", "01.01.10", "1:00:00", "1", "") + "\x1A";
  const std::string two = LineA("Page", "2", "Two", "01.01.10", "1:00:00", "1", "") +
                          LineA("Page", "3", "Three", "01.01.10", "1:00:00", "1", "") + "\x1A";
  Load("one.fob", one, 1);
  ShowFileObjects(t_.ws, 1);
  Load("two.fob", two, 2);
  ShowFileObjects(t_.ws, 2);
  ASSERT_EQ(t_.list.RowCount(), 3);

  Load("one.fob", one, 1);
  EXPECT_EQ(t_.list.RowCount(), 2);  // file #2's rows stay
  ShowFileObjects(t_.ws, 1);
  EXPECT_EQ(t_.list.RowCount(), 3);  // one set of file #1's rows, not two
  EXPECT_EQ(t_.table.Count(2), 2);
}

TEST_F(ReaderTest, ASmallerFileLeavesTheOlderRecordsUnread) {
  const std::string two = LineA("Page", "2", "Two", "01.01.10", "1:00:00", "1", "") +
                          LineA("Page", "3", "Three", "01.01.10", "1:00:00", "1", "") + "\x1A";
  const std::string one = LineA("Form", "9", "Nine", "01.01.10", "1:00:00", "1", "") + "\x1A";
  Load("two.fob", two);
  ShowFileObjects(t_.ws, 1);
  ASSERT_EQ(t_.list.RowCount(), 2);
  Load("one.fob", one);
  // Rows refer to records: none may outlive the records it named.
  EXPECT_EQ(t_.list.RowCount(), 0);
  EXPECT_EQ(t_.table.Count(1), 1);
  EXPECT_EQ(Trimmed(1, Field::kName), "Nine");
  EXPECT_EQ(Trimmed(2, Field::kName), "Three");  // still there, but past the count
  ShowFileObjects(t_.ws, 1);
  EXPECT_EQ(t_.list.RowCount(), 1);
}

TEST_F(ReaderTest, AMissingFileChangesNothing) {
  Load("one.fob", LineA("Page", "1", "One", "01.01.10", "1:00:00", "1", "") + "\x1A");
  ShowFileObjects(t_.ws, 1);
  t_.status.panels.clear();
  const LoadResult result = LoadObjectFile(t_.ws, dir_ / "none.fob", 1);
  EXPECT_EQ(result.status, LoadStatus::kMissing);
  EXPECT_EQ(LoadObjectFile(t_.ws, "", 1).status, LoadStatus::kMissing);
  EXPECT_EQ(t_.list.RowCount(), 1);
  EXPECT_EQ(t_.table.Count(1), 1);
  EXPECT_TRUE(t_.status.panels.empty());
  EXPECT_TRUE(t_.messages.texts.empty());
}

// A line whose type is none of the nine is not announced by the line count; reading on until
// all announced lines are in keeps it and loses nothing after it.
TEST_F(ReaderTest, KeepsALineOfAnUnknownTypeAndTheLinesAfterIt) {
  const std::string header = LineA("Form", "1", "First", "01.01.10", "1:00:00", "1", "") +
                             LineA("Query", "2", "Odd", "01.01.10", "1:00:00", "1", "") +
                             LineA("Form", "3", "Last", "01.01.10", "1:00:00", "1", "") + "\x1A";
  const LoadResult result = Load("odd.fob", header);
  EXPECT_EQ(result.lines, 2);
  ASSERT_EQ(t_.table.Count(1), 3);
  EXPECT_EQ(Trimmed(2, Field::kType), "Query");
  EXPECT_EQ(Trimmed(3, Field::kName), "Last");
  EXPECT_DOUBLE_EQ(t_.status.progress.back(), 50.0);
}

TEST_F(ReaderTest, StopsAtALineTheFileCutsShort) {
  const std::string first = LineA("Form", "1", "First", "01.01.10", "1:00:00", "1", "V1");
  const std::string second = LineA("Form", "2", "Second", "01.01.10", "1:00:00", "1", "V2");
  // The count sees two lines, but the second ends inside its version list.
  const std::string header = first + second.substr(0, 120) + "\x1A";
  const LoadResult result = Load("cut.fob", header);
  EXPECT_TRUE(result.cut_short);
  EXPECT_EQ(t_.table.Count(1), 1);
  EXPECT_EQ(Trimmed(1, Field::kName), "First");
  ASSERT_EQ(t_.messages.texts.size(), 1u);
}

TEST_F(ReaderTest, ALastLineWithoutLineEndIsRead) {
  std::string last = LineA("Form", "2", "Second", "01.01.10", "1:00:00", "1", "V2");
  last.resize(159);  // no CR LF: the end mark follows the version list at once
  const std::string header =
      LineA("Form", "1", "First", "01.01.10", "1:00:00", "1", "V1") + last + "\x1A";
  const LoadResult result = Load("noend.fob", header);
  EXPECT_FALSE(result.cut_short);
  EXPECT_EQ(t_.table.Count(1), 2);
  EXPECT_EQ(Trimmed(2, Field::kVersion), "V2");
  EXPECT_TRUE(t_.messages.texts.empty());
}

TEST(ReaderCapacity, StopsAtTheTableCapacityAndSaysSo) {
  test::TempDir dir;
  test::TestWorkspace t(5);
  std::string header;
  for (int i = 1; i <= 7; ++i) {
    header += LineA("Page", std::to_string(i), "P", "01.01.10", "1:00:00", "1", "");
  }
  const LoadResult result = LoadObjectFile(t.ws, dir.Write("seven.fob", header + "\x1A"), 1);
  EXPECT_TRUE(result.capacity_reached);
  EXPECT_EQ(t.table.Count(1), 5);
  EXPECT_EQ(t.status.Now(Panel::kProgress), "File 1: 5");
  ASSERT_EQ(t.messages.texts.size(), 1u);
  EXPECT_NE(t.messages.texts[0].find('5'), std::string::npos);

  // Exactly as many objects as there is room for is no reason to complain.
  t.messages.texts.clear();
  header.clear();
  for (int i = 1; i <= 5; ++i) {
    header += LineA("Page", std::to_string(i), "P", "01.01.10", "1:00:00", "1", "");
  }
  EXPECT_FALSE(LoadObjectFile(t.ws, dir.Write("five.fob", header + "\x1A"), 1).capacity_reached);
  EXPECT_TRUE(t.messages.texts.empty());
}

TEST_F(ReaderTest, AFileThatCannotBeReadEmptiesItsSlotAndSaysSo) {
  Load("one.fob", LineA("Page", "1", "One", "01.01.10", "1:00:00", "1", "") + "\x1A");
  ShowFileObjects(t_.ws, 1);
  const std::filesystem::path folder = dir_.path() / "folder.fob";
  std::filesystem::create_directory(folder);
  std::vector<std::filesystem::path> paths = test::MakeSpecialFiles(dir_.path());
  paths.push_back(folder);

  for (const auto& path : paths) {
    t_.table.SetCount(1, 1);
    t_.messages.texts.clear();
    const LoadResult result = LoadObjectFile(t_.ws, path, 1);
    EXPECT_EQ(result.status, LoadStatus::kUnreadable) << path;
    EXPECT_EQ(t_.table.Count(1), 0) << path;
    EXPECT_EQ(t_.list.RowCount(), 0) << path;
    EXPECT_EQ(t_.status.Now(Panel::kFile1), path.string());
    ASSERT_EQ(t_.messages.texts.size(), 1u) << path;
    EXPECT_EQ(t_.messages.texts[0].rfind("Unable to read the file", 0), 0u);
  }
}

TEST(ReadObjectDirectory, ReportsAReadErrorAsUnreadable) {
  // A source that fails part-way, as a disk might.
  class FailingSource final : public ByteSource {
   public:
    std::size_t Read(char* destination, std::size_t n) override {
      if (calls_++ > 0) {
        failed_ = true;
        return 0;
      }
      const std::string line = LineA("Page", "1", "A", "01.01.10", "1:00:00", "1", "");
      const std::size_t count = std::min(n, line.size());
      std::copy_n(line.data(), count, destination);
      return count;
    }
    Status Rewind() override { return Ok(); }
    Status ReadStatus() const override {
      return failed_ ? Status(Fail("Input/output error")) : Ok();
    }

   private:
    int calls_ = 0;
    bool failed_ = false;
  };
  ObjectTable table(4);
  table.SetCount(1, 3);
  NullStatusSink status;
  FailingSource source;
  const LoadResult result = ReadObjectDirectory(table, source, 1, false, status);
  EXPECT_EQ(result.status, LoadStatus::kUnreadable);
  EXPECT_EQ(result.read.error(), "Input/output error");
  EXPECT_EQ(table.Count(1), 0);
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

// Lines that slipped out of place are read as the count says, not on and on: a header that is
// one long line, and a directory whose first line is one byte too long.
TEST_F(ReaderTest, LinesOutOfPlaceStillEndWithTheCount) {
  const std::string long_line = "Table " + std::string(5000, 'x') + "\x1A";
  EXPECT_EQ(Load("long.fob", long_line).objects, 1);

  std::string slipped = LineA("Form", "1", "A", "01.01.10", "1:00:00", "1", "");
  slipped.insert(100, "!");
  for (int i = 2; i <= 40; ++i) {
    slipped += LineA("Form", std::to_string(i), "B", "01.01.10", "1:00:00", "1", "");
  }
  const LoadResult result = Load("slipped.fob", slipped + "\x1A" + std::string(100000, 'd'));
  EXPECT_EQ(result.lines, 40);
  EXPECT_EQ(result.objects, 40);
}

}  // namespace
}  // namespace quillet
