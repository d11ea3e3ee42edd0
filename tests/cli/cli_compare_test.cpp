// compare as scripts run it: the rows of every comparison as lines, the exit status that tells
// whether the files differ, and trouble.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "gen/generator.h"

namespace {

namespace fs = std::filesystem;
namespace gen = quillet::gen;
using quillet::test::CliTest;
using quillet::test::CountLines;
using quillet::test::Lines;
using quillet::test::Outcome;
using quillet::test::Quote;
using quillet::test::SavedFields;
using quillet::test::Slurp;

class CliCompareTest : public CliTest {
 protected:
  static gen::Object Make(const std::string& type, long long id, const std::string& name) {
    gen::Object o;
    o.type = type;
    o.id = gen::Number10(id);
    o.name = name;
    o.date = "31.12.08";
    o.time = "12:00:00";
    o.size = gen::Number10(1234);
    o.version = "V1";
    return o;
  }

  std::string File(const std::string& name, const std::vector<gen::Object>& objects) {
    gen::Options options;
    return Write(name, gen::EncodeFile(objects, options));
  }

  // The lines `list --types=all` gives for a file, marked as rows of file #`file`.
  std::vector<std::string> Listed(const std::string& path, int file) {
    std::vector<std::string> lines = Lines(Run("list --types=all " + path).out);
    for (std::string& line : lines) line[1] = static_cast<char>('0' + file);
    return lines;
  }
};

TEST_F(CliCompareTest, EqualAndDifferentRows) {
  gen::Object changed = Make("Table", 18, "Customer");
  changed.version = "V2";
  const std::string one = File(
      "one.fob",
      {Make("Codeunit", 80, "Posting"), Make("Table", 18, "Customer"), Make("Page", 21, "Card")});
  const std::string two =
      File("two.fob", {Make("Codeunit", 80, "Posting"), changed, Make("Report", 111, "Sales")});
  const auto a = Listed(one, 1), b = Listed(two, 2);
  ASSERT_EQ(a.size(), 3u);
  ASSERT_EQ(b.size(), 3u);
  const std::string files = " " + one + " " + two;

  const Outcome different = Run("compare --different" + files);
  EXPECT_EQ(different.status, 1);
  EXPECT_EQ(different.err, "");
  EXPECT_EQ(Lines(different.out), (std::vector<std::string>{a[1], a[2], b[1], b[2]}));

  const Outcome equal = Run("compare --equal" + files);
  EXPECT_EQ(equal.status, 0);
  EXPECT_EQ(Lines(equal.out), (std::vector<std::string>{a[0], b[0]}));

  const std::string no_version = " --criteria=type-id,NAME,date,time,size";
  EXPECT_EQ(Lines(Run("compare --equal" + no_version + files).out),
            (std::vector<std::string>{a[0], b[0], a[1], b[1]}));
  EXPECT_EQ(Lines(Run("compare --different" + no_version + files).out),
            (std::vector<std::string>{a[2], b[2]}));

  // With no criteria every object equals every other.
  EXPECT_EQ(CountLines(Run("compare --equal --criteria=" + files).out), 18);
  const Outcome none = Run("compare --different --criteria=" + files);
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "");
  const Outcome same = Run("compare --different " + one + " " + one);
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "");

  // The row filter: a file's rows are left out by their own type in --different.
  EXPECT_EQ(Lines(Run("compare --different --types=Table" + files).out),
            (std::vector<std::string>{a[1], b[1]}));
  const Outcome hidden = Run("compare --different --types=Codeunit" + files);
  EXPECT_EQ(hidden.status, 0);
  EXPECT_EQ(hidden.out, "");
}

TEST_F(CliCompareTest, AFailedWriteIsTrouble) {
  const std::string file = File("f.fob", {Make("Codeunit", 80, "Posting")});
  const std::string command = Quote(QUILLET_CLI) + " compare --equal " + file + " " + file +
                              " >/dev/full 2>" + Quote((dir_ / "err").string());
  const int raw = std::system(command.c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
  EXPECT_EQ(Slurp(dir_ / "err"),
            "quillet-cli: cannot write standard output: no space left on device\n");
}

TEST_F(CliCompareTest, BadUseAndUnusableFilesAreTrouble) {
  const std::string good = File("good.fob", {Make("Codeunit", 80, "Posting")});
  const std::string missing = (dir_ / "missing.fob").string();
  fs::create_directory(dir_ / "folder.fob");
  const std::string cases[] = {
      "compare --different " + missing + " " + good,
      "compare --equal " + good + " " + missing,
      "compare --equal " + good + " " + (dir_ / "folder.fob").string(),
      "compare --equal --different " + good + " " + good,
      "compare " + good + " " + good,
      "compare --equal " + good,
      "compare --equal " + good + " " + good + " " + good,
      "compare --equal --criteria=name,colour " + good + " " + good,
      "compare --different --types=Query " + good + " " + good,
      "compare --different " + good + " " + good + " --criteria",
      "list --different " + good,
      "list --criteria=name " + good,
  };
  for (const std::string& arguments : cases) ExpectTrouble(arguments);
}

}  // namespace

namespace {

// The keyed comparisons: objects paired by type and ID, with a status and the changed fields.
class CliChangesTest : public CliCompareTest {
 protected:
  void SetUp() override {
    gen::Object changed = Make("Table", 18, "Customer");
    changed.version = "V2";
    one_ = File("one.fob", {Make("Codeunit", 80, "Posting"), Make("Table", 18, "Customer"),
                            Make("Page", 21, "Card")});
    two_ =
        File("two.fob", {Make("Codeunit", 80, "Posting"), changed, Make("Report", 111, "Sales")});
    a_ = Listed(one_, 1);
    b_ = Listed(two_, 2);
  }
  // A listed line with the status and changed fields the keyed comparisons add.
  static std::string With(const std::string& line, const std::string& status,
                          const std::string& changed = "") {
    return line.substr(0, line.size() - 2) + ",\"" + status + "\",\"" + changed + "\"\r\n";
  }
  std::string Files() const { return " " + one_ + " " + two_; }

  std::string one_, two_;
  std::vector<std::string> a_, b_;
};

TEST_F(CliChangesTest, PairsByTypeAndIdAndSaysWhatChanged) {
  // Types in the order of the type buttons: Table, Report, Codeunit, Page.
  const Outcome changes = Run("compare --changes" + Files());
  EXPECT_EQ(changes.status, 1) << changes.err;
  EXPECT_EQ(Lines(changes.out),
            (std::vector<std::string>{With(a_[1], "Changed", "Version"),
                                      With(b_[1], "Changed", "Version"), With(b_[2], "Only in #2"),
                                      With(a_[2], "Only in #1")}));
  EXPECT_EQ(Lines(Run("compare --changes --show=same,only1" + Files()).out),
            (std::vector<std::string>{With(a_[0], "Same"), With(b_[0], "Same"),
                                      With(a_[2], "Only in #1")}));
  EXPECT_EQ(CountLines(Run("compare --changes --show=all" + Files()).out), 6);
  // Without the version the pair is the same; the lone objects still differ.
  const Outcome no_version =
      Run("compare --changes --criteria=type-id,name,date,time,size --show=changed" + Files());
  EXPECT_EQ(no_version.status, 1);
  EXPECT_EQ(no_version.out, "");
  const Outcome same = Run("compare --changes " + one_ + " " + one_);
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "");

  EXPECT_EQ(Run("compare --changes --summary" + Files()).out,
            "Type,Same,Changed,Only in #1,Only in #2\r\n"
            "Table,0,1,0,0\r\n"
            "Report,0,0,0,1\r\n"
            "Codeunit,1,0,0,0\r\n"
            "Page,0,0,1,0\r\n"
            "Total,1,1,1,1\r\n");
  EXPECT_EQ(Run("compare --changes --summary --types=Table,Page" + Files()).out,
            "Type,Same,Changed,Only in #1,Only in #2\r\n"
            "Table,0,1,0,0\r\n"
            "Page,0,0,1,0\r\n"
            "Total,0,1,1,0\r\n");
  const Outcome csv = Run("compare --changes --format=csv --show=changed" + Files());
  EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n")),
            "File,Type,ID,Name,Modified,Version,Date,Time,BLOB size,Compiled,Status,Changed");
  EXPECT_NE(csv.out.find(",Changed,Version\r\n"), std::string::npos);
}

TEST_F(CliChangesTest, TheUpgradeAnalysisAgainstABase) {
  // The customer renamed Card, which the new release removed: a conflict.
  gen::Object renamed = Make("Page", 21, "Card (ours)");
  const std::string customer = File(
      "customer.fob", {Make("Codeunit", 80, "Posting"), Make("Table", 18, "Customer"), renamed});
  const Outcome upgrade = Run("compare --base=" + one_ + " " + customer + " " + two_);
  EXPECT_EQ(upgrade.status, 1) << upgrade.err;
  std::vector<std::string> statuses;
  for (const std::string& line : Lines(upgrade.out)) {
    // The file number first, the status eleventh.
    const std::vector<std::string> fields = SavedFields(line);
    ASSERT_EQ(fields.size(), 12u) << line;
    statuses.push_back(fields[0] + ":" + fields[10]);
  }
  // Table 18 as base, customer and release rows; Report 111 new; Page 21 renamed and removed.
  EXPECT_EQ(statuses,
            (std::vector<std::string>{"0:Only #2 changed", "1:Only #2 changed", "2:Only #2 changed",
                                      "2:Only #2 added", "0:Conflict", "1:Conflict"}));
  const Outcome calm = Run("compare --base=" + one_ + " --show=all " + one_ + " " + two_);
  EXPECT_EQ(calm.status, 0);  // the new release alone changed things: nothing to merge by hand
  EXPECT_EQ(Run("compare --base=" + one_ + " --summary " + customer + " " + two_).out,
            "Type,Unchanged,Only #1 changed,Only #2 changed,Both changed alike,Conflict,"
            "Only #1 added,Only #2 added\r\n"
            "Table,0,0,1,0,0,0,0\r\n"
            "Report,0,0,0,0,0,0,1\r\n"
            "Codeunit,1,0,0,0,0,0,0\r\n"
            "Page,0,0,0,0,1,0,0\r\n"
            "Total,1,0,1,0,1,0,1\r\n");
}

TEST_F(CliChangesTest, TheFilterKeepsPairsWholeAndLeavesTheExitStatusAlone) {
  EXPECT_EQ(Lines(Run("compare --changes --filter=type:table" + Files()).out),
            (std::vector<std::string>{With(a_[1], "Changed", "Version"),
                                      With(b_[1], "Changed", "Version")}));
  // V2 is file #2's row only: the pair stays whole, in the equal comparison as well.
  EXPECT_EQ(CountLines(Run("compare --changes --filter=V2" + Files()).out), 2);
  EXPECT_EQ(Lines(Run("compare --equal --criteria=type-id --filter=V2" + Files()).out),
            (std::vector<std::string>{a_[1], b_[1]}));
  const Outcome nothing = Run("compare --different --filter=id:999" + Files());
  EXPECT_EQ(nothing.status, 1);  // the files differ, whatever the filter leaves
  EXPECT_EQ(nothing.out, "");
  const Outcome status =
      Run("compare --changes --show=all --filter='status:only1|only2'" + Files());
  EXPECT_EQ(Lines(status.out),
            (std::vector<std::string>{With(b_[2], "Only in #2"), With(a_[2], "Only in #1")}));
}

TEST_F(CliChangesTest, ChoicesThatMakeNoSenseAreTrouble) {
  for (const std::string& arguments : {
           "compare --changes --show=" + Files(),
           "compare --changes --show=, " + Files(),
           "compare --changes --show=conflict" + Files(),
           "compare --base=" + one_ + " --show=only1" + Files(),
           "compare --different --show=same" + Files(),
           "compare --equal --summary" + Files(),
           "list --summary " + one_,
           "compare --changes --equal" + Files(),
           "compare --base=" + one_ + " --changes" + Files(),
           "compare --base=" + (dir_ / "missing.fob").string() + Files(),
           "compare --changes --summary --format=ids" + Files(),
           "compare --changes --raw" + Files(),
           "compare --changes --filter=id:12..ab" + Files(),
           "compare --changes --filter=colour:red" + Files(),
           "list --filter=" + Quote("\"open") + " " + one_,
       }) {
    ExpectTrouble(arguments);
  }
  const Outcome bad = Run("list --filter=id:12..ab " + one_);
  EXPECT_EQ(bad.err, "quillet-cli: --filter: id:12..ab: \"ab\" is not a whole number\n" +
                         quillet::test::kUsageHint);
}

TEST_F(CliChangesTest, TheReportOpensInABrowserAndTheIdsMakeAFilter) {
  const Outcome html = Run("compare --changes --format=html" + Files());
  EXPECT_EQ(html.status, 1);
  EXPECT_NE(html.out.find("<td class=\"diff\">V2</td>"), std::string::npos);
  EXPECT_NE(html.out.find("<span>Changed 1</span>"), std::string::npos);
  EXPECT_NE(html.out.find(one_), std::string::npos);
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xmllint";
  const std::string report = Write("report.html", html.out);
  EXPECT_EQ(std::system(("xmllint --noout --nonet " + Quote(report)).c_str()), 0);

  const Outcome ids = Run("compare --changes --show=all --format=ids" + Files());
  EXPECT_EQ(ids.out, "Table: 18\r\nReport: 111\r\nCodeunit: 80\r\nPage: 21\r\n");
}

}  // namespace
