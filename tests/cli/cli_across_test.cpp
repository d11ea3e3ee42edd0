// compare --across as scripts run it: the rows and their letters, what chooses them, the
// summary, the exit status, two files and every pair of five held to compare --changes, a hundred
// files with standard input and /dev/null among them.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cli/cli_across_support.h"

namespace {

using quillet::test::CliAcrossTest;
using quillet::test::KeyCounts;
using quillet::test::Object;
using quillet::test::Outcome;
using quillet::test::Quote;
using quillet::test::TsvLines;

class CliAcross : public CliAcrossTest {
 protected:
  void SetUp() override { MakeSites(); }
};

constexpr const char* kHeader =
    "\"Type\",\"ID\",\"Name\",\"Variants\",\"release.fob\",\"site one.fob\",\"site2.fob\"\r\n";
// Every row, in the order of the changes view: types in toolbar order, IDs as numbers, a key's
// instances in file order. The name is of the first file that has the object, in Windows-1252.
const std::vector<std::string> kRows = {
    "\"Table\",\"18\",\"Customer\",\"2\",\"A\",\"B\",\"A\"\r\n",
    "\"Table\",\"27\",\"Vendor\",\"2\",\"A\",\"A\",\"B\"\r\n",
    "\"Table\",\"2000000001\",\"Object\",\"2\",\"A\",\"A\",\"B\"\r\n",
    "\"Form\",\"5\",\"Extra\",\"1\",\"\",\"A\",\"\"\r\n",
    "\"Codeunit\",\"80\",\"Pr\xFC"
    "fung\",\"1\",\"A\",\"A\",\"A\"\r\n",
    "\"Codeunit\",\"80\",\"Pr\xFC"
    "fung\",\"1\",\"A\",\"\",\"A\"\r\n",
    "\"Page\",\"21\",\"Customer Card\",\"1\",\"A\",\"\",\"A\"\r\n",
};

std::string Rows(const std::vector<int>& which) {
  std::string text = kHeader;
  for (const int row : which) text += kRows[static_cast<std::size_t>(row)];
  return text;
}

TEST_F(CliAcross, RowsLineUpByKeyWithALetterPerVariant) {
  const struct {
    std::string options;
    int status;
    std::string out;
  } cases[] = {
      {"--show=all", 1, Rows({0, 1, 2, 3, 4, 5, 6})},
      {"", 1, Rows({0, 1, 2, 3, 5, 6})},  // the rows that differ
      {"--show=same", 1, Rows({4})},      // the status tells of every row, whatever is listed
      {"--show=differs,same", 1, Rows({0, 1, 2, 3, 4, 5, 6})},
      {"--hide-system --show=all", 1, Rows({0, 1, 3, 4, 5, 6})},
      {"--types=Codeunit --show=all", 1, Rows({4, 5})},
      {"--types=TableData --show=all", 1,
       std::string(kHeader) + "\"TableData\",\"18\",\"Customer\",\"1\",\"A\",\"\",\"\"\r\n"},
      // Without the version, the tables agree; the system table's version alone differed.
      {"--types=Table --criteria=name,date,time,size", 0, Rows({})},
      {"--types=Table --criteria=name,date,time,size --show=all", 0,
       std::string(kHeader) + "\"Table\",\"18\",\"Customer\",\"1\",\"A\",\"A\",\"A\"\r\n" +
           "\"Table\",\"27\",\"Vendor\",\"1\",\"A\",\"A\",\"A\"\r\n" +
           "\"Table\",\"2000000001\",\"Object\",\"1\",\"A\",\"A\",\"A\"\r\n"},
      // A row stays when any file's object matches: only one site has V3, and Extra.
      {"--filter=tag:V3", 1, Rows({1})},
      {"--filter=name:extra --show=all", 1, Rows({3})},
      // The status is the comparison's, not what the filter leaves.
      {"--filter=name:nothing-has-this", 1, Rows({})},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Across(c.options);
    EXPECT_EQ(outcome.status, c.status) << c.options << ": " << outcome.err;
    EXPECT_EQ(outcome.err, "") << c.options;
    EXPECT_EQ(outcome.out, c.out) << c.options;
  }
  // Files that agree: nothing differs.
  const Outcome same = Run("compare --across release.fob release.fob ./release.fob",
                           "cd " + Quote(dir_.string()) + " &&");
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out,
            "\"Type\",\"ID\",\"Name\",\"Variants\",\"release.fob\",\"release.fob\","
            "\"./release.fob\"\r\n");
}

// A file's line: its key instances, those no other file has, and against each file the rows on
// which the two differ (one lacks the object, or their letters differ).
TEST_F(CliAcross, TheSummaryCountsPerFileAndPair) {
  const std::string summary =
      "File,Objects,Only here,release.fob,site one.fob,site2.fob\r\n"
      "release.fob,6,0,0,4,2\r\n"
      "site one.fob,5,1,4,0,6\r\n"
      "site2.fob,6,0,2,6,0\r\n";
  for (const std::string format : {"", "--format=text", "--format=csv"}) {
    const Outcome outcome = Across("--summary " + format);
    EXPECT_EQ(outcome.status, 1) << format;
    EXPECT_EQ(outcome.out, summary) << format;
  }
  // It counts the rows --types and --hide-system leave, whatever --show or the filter choose.
  const Outcome tables = Across("--summary --types=Table --hide-system --show=same --filter=x");
  EXPECT_EQ(tables.out,
            "File,Objects,Only here,release.fob,site one.fob,site2.fob\r\n"
            "release.fob,2,0,0,1,1\r\n"
            "site one.fob,2,0,1,0,2\r\n"
            "site2.fob,2,0,1,2,0\r\n");
}

TEST_F(CliAcross, WhatMakesNoSenseIsRefused) {
  const std::string a = Quote((dir_ / "release.fob").string());
  const std::string b = Quote((dir_ / "site2.fob").string());
  const struct {
    std::string arguments;
    std::string error;
  } cases[] = {
      {"compare --across " + a, "compare --across takes two files or more"},
      {"compare --across --changes " + a + " " + b,
       "compare takes one of --equal, --different, --changes, --base and --across"},
      {"list --across " + a,
       "--equal, --different, --changes, --base, --across and --criteria go "
       "with compare"},
      {"compare --across --show=changed " + a + " " + b,
       "unknown status 'changed' (the statuses are differs, same, or all)"},
      {"compare --across --pdf=x.pdf " + a + " " + b,
       "--pdf does not go with --across: the printout has no room for a column per file"},
      {"compare --across --summary --format=ids " + a + " " + b,
       "--summary gives counts, which have no IDs; --format=ids does not go with it"},
      {"compare --across - " + a + " -",
       "- (standard input) is given twice; it can be read only once"},
      {"compare --across -o " + b + " " + a + " " + b,
       "the output " + (dir_ / "site2.fob").string() + " is an input file; it would be replaced"},
      {"compare --across " + a + " " + Quote((dir_ / "missing.fob").string()),
       "cannot read " + (dir_ / "missing.fob").string() + ": no such file"},
      {"compare --across " + a + " " + Quote(dir_.string()),
       "cannot read " + dir_.string() + ": it is a folder"},
  };
  for (const auto& c : cases) {
    ExpectTrouble(c.arguments);
    const Outcome outcome = Run(c.arguments);
    EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')), "quillet-cli: " + c.error)
        << c.arguments;
  }
  // A file that is no object file is compared as holding none, and said to be one.
  const std::string text = Write("notes.txt", "nothing of the kind\n");
  const Outcome notes = Run("compare --across --show=all " + a + " " + Quote(text));
  EXPECT_EQ(notes.status, 1);
  EXPECT_EQ(notes.err, "quillet-cli: " + text + " holds no objects; is it an object file?\n");
  // A write that fails says so, and the status is trouble.
  const Outcome full = Shell("\"$CLI\" compare --across " + a + " " + b + " >/dev/full");
  EXPECT_EQ(full.status, 2);
  EXPECT_EQ(full.err, "quillet-cli: cannot write standard output: no space left on device\n");
}

// How often each key is a row of `status` ("differs" or "same") in across's tab-separated rows.
KeyCounts AcrossKeys(const std::string& tsv, bool differs) {
  KeyCounts keys;
  const auto lines = TsvLines(tsv);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto& cells = lines[i];
    bool lacks = false;
    for (std::size_t c = 4; c < cells.size(); ++c) lacks = lacks || cells[c].empty();
    if ((lacks || cells[3] != "1") == differs) ++keys[{cells[0], cells[1]}];
  }
  return keys;
}

// The same of --changes: a changed or same pair once, an object in one file only once.
KeyCounts ChangesKeys(const std::string& tsv, bool differs) {
  KeyCounts keys;
  const auto lines = TsvLines(tsv);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto& cells = lines[i];
    const std::string& status = cells.at(10);
    const bool pair = status == "Changed" || status == "Same";
    if (pair && cells[0] != "1") continue;
    if ((status != "Same") == differs) ++keys[{cells[1], cells[2]}];
  }
  return keys;
}

// For two files, the rows that differ are the keys --changes lists as changed or in one file
// only, on generated files with repeated keys and shared IDs, over several criteria; the
// summary counts them.
TEST_F(CliAcross, TwoFilesDifferWhereTheChangesSayTheyDo) {
  bool repeated = false, both_kinds = false;
  for (const std::uint32_t seed : {3u, 8u, 21u}) {
    const std::vector<std::string> files = Installations(seed, 2, 60 + static_cast<int>(seed));
    const std::string both = Files(files);
    for (const std::string criteria : {"", "--criteria=", "--criteria=version",
                                       "--criteria=name,date,time", "--criteria=size,type-id"}) {
      const std::string options = criteria + " --types=all --show=all --format=tsv";
      const Outcome across = Run("compare --across " + options + both);
      const Outcome changes = Run("compare --changes " + options + both);
      ASSERT_NE(across.status, 2) << across.err;
      EXPECT_EQ(across.status, changes.status) << seed << criteria;
      const KeyCounts differs = AcrossKeys(across.out, true), same = AcrossKeys(across.out, false);
      EXPECT_EQ(differs, ChangesKeys(changes.out, true)) << seed << criteria;
      EXPECT_EQ(same, ChangesKeys(changes.out, false)) << seed << criteria;
      both_kinds = both_kinds || (!differs.empty() && !same.empty());
      for (const auto& [key, count] : differs) repeated = repeated || count > 1;

      long long rows = 0;
      for (const auto& [key, count] : differs) rows += count;
      const auto summary = TsvLines(Run("compare --across --summary " + options + both).out);
      ASSERT_EQ(summary.size(), 3u) << seed << criteria;
      EXPECT_EQ(summary[1][4], std::to_string(rows)) << seed << criteria;
      EXPECT_EQ(summary[2][3], std::to_string(rows)) << seed << criteria;
    }
  }
  EXPECT_TRUE(both_kinds) << "the files have rows that differ and rows that are the same";
  EXPECT_TRUE(repeated) << "a key is there more than once";
}

// The rows of files `a` and `b` (columns from 0) of a many-file run, as a run of those two alone
// would give them: a row neither has is none of theirs, one they hold alike is the same.
KeyCounts PairKeys(const std::string& tsv, std::size_t a, std::size_t b, bool differs) {
  KeyCounts keys;
  const auto lines = TsvLines(tsv);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& left = lines[i].at(4 + a);
    const std::string& right = lines[i].at(4 + b);
    if (left.empty() && right.empty()) continue;
    if ((left != right) == differs) ++keys[{lines[i][0], lines[i][1]}];
  }
  return keys;
}

// In a run of many files, every pair of them differs exactly where --changes says those two do,
// and the summary's count for the pair is that many rows.
TEST_F(CliAcross, EveryPairOfManyFilesDiffersWhereTheChangesSayTheyDo) {
  const std::vector<std::string> files = Installations(13, 5, 70);
  bool both_kinds = false;
  for (const std::string criteria : {"", "--criteria=version,size", "--criteria="}) {
    const std::string options = criteria + " --types=all --show=all --format=tsv";
    const Outcome across = Run("compare --across " + options + Files(files));
    ASSERT_NE(across.status, 2) << across.err;
    const auto summary = TsvLines(Run("compare --across --summary " + options + Files(files)).out);
    ASSERT_EQ(summary.size(), files.size() + 1) << criteria;
    for (std::size_t a = 0; a < files.size(); ++a) {
      for (std::size_t b = a + 1; b < files.size(); ++b) {
        const Outcome changes = Run("compare --changes " + options + Files({files[a], files[b]}));
        ASSERT_NE(changes.status, 2) << changes.err;
        const KeyCounts differs = PairKeys(across.out, a, b, true);
        const KeyCounts same = PairKeys(across.out, a, b, false);
        EXPECT_EQ(differs, ChangesKeys(changes.out, true)) << criteria << a << b;
        EXPECT_EQ(same, ChangesKeys(changes.out, false)) << criteria << a << b;
        both_kinds = both_kinds || (!differs.empty() && !same.empty());
        long long rows = 0;
        for (const auto& [key, count] : differs) rows += count;
        EXPECT_EQ(summary[1 + a][3 + b], std::to_string(rows)) << criteria << a << b;
        EXPECT_EQ(summary[1 + b][3 + a], std::to_string(rows)) << criteria << a << b;
      }
    }
  }
  EXPECT_TRUE(both_kinds) << "pairs with rows that differ and rows that are the same";
}

// Any number of files; standard input and /dev/null among them are files like the others.
TEST_F(CliAcross, AHundredFilesWithStandardInputAndDevNull) {
  std::vector<std::string> files = Installations(5, 100, 12);
  const std::string piped = files[10];
  files[40] = "/dev/null";
  const std::string named = Files(files);
  files[10] = "-";
  const Outcome by_name = Run("compare --across --show=all --format=tsv" + named);
  const Outcome streamed = Shell("\"$CLI\" compare --across --show=all --format=tsv" +
                                 Files(files) + " < " + Quote(piped));
  ASSERT_EQ(by_name.status, 1) << by_name.err;
  EXPECT_EQ(streamed.status, 1) << streamed.err;
  EXPECT_EQ(streamed.err, "");
  auto lines = TsvLines(by_name.out), streamed_lines = TsvLines(streamed.out);
  ASSERT_GT(lines.size(), 20u);
  ASSERT_EQ(lines.front().size(), 104u);
  EXPECT_EQ(streamed_lines.front()[14], "-");
  EXPECT_EQ(lines.front()[44], "/dev/null");
  streamed_lines.front()[14] = lines.front()[14];
  EXPECT_TRUE(streamed_lines == lines) << "standard input is compared as the file it holds";
  for (const auto& line : lines) {
    ASSERT_EQ(line.size(), 104u);
    if (&line != &lines.front()) {
      EXPECT_EQ(line[44], "");
    }
  }

  // /dev/null differs from every file on each of its objects; the counts are the same both ways.
  const auto summary = TsvLines(Run("compare --across --summary --format=tsv" + named).out);
  ASSERT_EQ(summary.size(), 101u);
  EXPECT_EQ(summary[41][0], "/dev/null");
  EXPECT_EQ(summary[41][1], "0");
  for (std::size_t file = 1; file <= 100; ++file) {
    EXPECT_EQ(summary[file][3 + file - 1], "0");
    EXPECT_EQ(summary[41][3 + file - 1], file == 41 ? "0" : summary[file][1]);
    for (std::size_t other = 1; other <= 100; ++other) {
      EXPECT_EQ(summary[file][3 + other - 1], summary[other][3 + file - 1]);
    }
  }
}

}  // namespace
