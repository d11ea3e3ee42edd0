// Runs the quillet-cli binary as scripts do and checks what they rely on: the rows, the exit
// status and the messages.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "gen/generator.h"

namespace {

namespace fs = std::filesystem;
namespace gen = quillet::gen;
using quillet::test::CliTest;
using quillet::test::CountLines;
using quillet::test::kUsageHint;
using quillet::test::Outcome;
using quillet::test::Quote;
using quillet::test::Slurp;

TEST_F(CliTest, ListsTheSampleExactly) {
  const Outcome outcome = Run("list " + Quote(std::string(QUILLET_SAMPLES) + "/sample.fob"));
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(outcome.out, Slurp(fs::path(QUILLET_TEST_DATA) / "sample.fob.list"));
}

TEST_F(CliTest, ListsTheChangedBackupSampleExactly) {
  const Outcome outcome =
      Run("list --types=all " + Quote(std::string(QUILLET_SAMPLES) + "/sample-changed.fbk"));
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, Slurp(fs::path(QUILLET_TEST_DATA) / "sample-changed.fbk.all.list"));
}

TEST_F(CliTest, ComparesTheSamplesExactly) {
  const std::string samples = std::string(QUILLET_SAMPLES) + "/";
  const Outcome outcome = Run("compare --different " + Quote(samples + "sample.fob") + " " +
                              Quote(samples + "sample-changed.fbk"));
  EXPECT_EQ(outcome.status, 1) << outcome.err;
  EXPECT_EQ(outcome.out, Slurp(fs::path(QUILLET_TEST_DATA) / "sample-different.list"));
}

TEST_F(CliTest, TypeSelectionAndSystemObjects) {
  gen::Options options;
  options.objects = 90;
  options.system_share = 0.3;
  auto objects = gen::GenerateObjects(options);
  const std::string file = Write("f.fob", gen::EncodeFile(objects, options));
  int table_data = 0, codeunits = 0, system_codeunits = 0;
  for (const auto& o : objects) {
    table_data += o.type == "TableData";
    codeunits += o.type == "Codeunit";
    system_codeunits += o.type == "Codeunit" && o.id[0] != ' ';
  }
  ASSERT_GT(system_codeunits, 0);

  EXPECT_EQ(CountLines(Run("list " + file).out), 90 - table_data);  // all but TableData
  EXPECT_EQ(CountLines(Run("list --types=all " + file).out), 90);
  EXPECT_EQ(CountLines(Run("list --types=codeunit " + file).out), codeunits);
  EXPECT_EQ(CountLines(Run("list --types=Codeunit --hide-system " + file).out),
            codeunits - system_codeunits);
  const Outcome some = Run("list --types=Table,Page " + file);
  EXPECT_EQ(some.status, 0);
  EXPECT_EQ(some.out.find("\"Codeunit\""), std::string::npos);
}

TEST_F(CliTest, TroubleExitsWithTwoAndAMessage) {
  const std::string good = Generated("good.fob", 5);
  fs::create_directory(dir_ / "folder.fob");
  const std::string cases[] = {
      "list " + (dir_ / "missing.fob").string(),
      "list " + (dir_ / "folder.fob").string(),
      "list --types=Query " + good,
      "list --bogus " + good,
      "list",
      "list " + good + " " + good,
      "frobnicate " + good,
      "",
  };
  for (const std::string& arguments : cases) ExpectTrouble(arguments);
}

// What makes no sense is refused before anything is read or written.
TEST_F(CliTest, ArgumentsThatMakeNoSenseAreTrouble) {
  const std::string file = Generated("in.fob", 5);
  const std::string before = Slurp(file);
  for (const std::string& arguments : {
           "list --types= " + file,
           "list --types=,, " + file,
           "list --types=Table --types=Page " + file,
           "list -o " + (dir_ / "a.txt").string() + " --pdf " + (dir_ / "a.txt").string() + " " +
               file,
           "list -o " + file + " " + file,
           "list --pdf " + file + " " + file,
           "compare --different -o " + file + " " + Generated("other.fob", 5) + " " + file,
       }) {
    ExpectTrouble(arguments);
  }
  EXPECT_EQ(Slurp(file), before);  // the user's object file is never replaced by its listing
  EXPECT_FALSE(fs::exists(dir_ / "a.txt"));

  const Outcome all = Run("list --types=all,Table " + file);
  EXPECT_EQ(all.status, 2);
  EXPECT_EQ(all.err, "quillet-cli: --types=all takes no other type beside it\n" + kUsageHint);
  const Outcome empty = Run("list --types=, " + file);
  EXPECT_EQ(empty.err, "quillet-cli: --types needs at least one type, or all\n" + kUsageHint);
  const Outcome twice = Run("list --hide-system --types=Page --types=page " + file);
  EXPECT_EQ(twice.err, "quillet-cli: --types is given twice, with different values\n" + kUsageHint);
  // The same option with the same value twice is no contradiction.
  EXPECT_EQ(Run("list --types=Page --types=Page --hide-system --hide-system " + file).status, 0);
}

// Names are bytes: one in Latin-1 from an old share is no UTF-8, and still opens, and an output
// of such a name is written under exactly that name.
TEST_F(CliTest, NamesInAnyEncodingOpenAndAreWritten) {
  const std::string input = (dir_ /
                             "Pr\xFC"
                             "fung.fob")
                                .string();
  fs::copy_file(std::string(QUILLET_SAMPLES) + "/sample.fob", input);
  const std::string output = (dir_ / "Liste \xE4.txt").string();
  const Outcome outcome = Run("list -o " + Quote(output) + " " + Quote(input));
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(Slurp(output), Slurp(fs::path(QUILLET_TEST_DATA) / "sample.fob.list"));
}

TEST_F(CliTest, AnUnreadableFileIsTrouble) {
  const std::string file = Generated("secret.fob", 5);
  if (const std::string why = RunAsOrdinaryUser(); !why.empty()) GTEST_SKIP() << why;
  fs::permissions(file, fs::perms::none);
  const Outcome outcome = Run("list " + Quote(file));
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("cannot read"), std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find("ermission"), std::string::npos) << outcome.err;
}

TEST_F(CliTest, DamagedFilesWarnButStillList) {
  // More objects than the table once held: all of them, and nothing to warn of.
  const std::string big = Generated("big.fob", 20001);
  const Outcome many = Run("list --types=all " + big);
  EXPECT_EQ(many.status, 0);
  EXPECT_EQ(CountLines(many.out), 20001);
  EXPECT_EQ(many.err, "");

  // A directory that ends inside a line.
  gen::Options options;
  options.objects = 3;
  options.data_size = 0;
  std::string bytes = gen::EncodeFile(gen::GenerateObjects(options), options);
  bytes.resize(bytes.size() - 40);
  const Outcome cut = Run("list --types=all " + Write("cut.fob", bytes + "\x1A"));
  EXPECT_EQ(cut.status, 0);
  EXPECT_EQ(CountLines(cut.out), 2);
  EXPECT_NE(cut.err.find("warning"), std::string::npos);
}

// A full backup of a large database: every object, each once, none cut.
TEST_F(CliTest, ListsEveryObjectOfAQuarterMillion) {
  gen::Options options;
  options.objects = 250000;
  options.data_size = 0;
  const std::vector<gen::Object> objects = gen::GenerateObjects(options);
  const Outcome outcome =
      Run("list --types=all --format=csv " + Write("large.fbk", gen::EncodeFile(objects, options)));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");

  // Type and ID of each line; neither holds a comma or a quote.
  std::multiset<std::string> listed, generated;
  std::size_t at = outcome.out.find("\r\n") + 2;  // past the header
  for (std::size_t end; (end = outcome.out.find("\r\n", at)) != std::string::npos; at = end + 2) {
    const std::size_t type = outcome.out.find(',', at) + 1, id = outcome.out.find(',', type) + 1;
    listed.insert(outcome.out.substr(type, outcome.out.find(',', id) - type));
  }
  for (const gen::Object& object : objects) {
    std::string id = object.id;
    id.erase(0, id.find_first_not_of(' '));
    id.erase(id.find_last_not_of(' ') + 1);
    generated.insert(object.type + "," + id);
  }
  EXPECT_EQ(listed.size(), 250000u);
  EXPECT_TRUE(listed == generated);
}

TEST_F(CliTest, HelpAndVersion) {
  const Outcome version = Run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "quillet-cli " QUILLET_VERSION "\n");
  const Outcome help = Run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--hide-system"), std::string::npos);
}

TEST_F(CliTest, AFileWithoutObjectsListsNothing) {
  const Outcome outcome = Run("list " + Write("notes.fob", "just some text\r\n"));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "");
}

}  // namespace

namespace {

// -o, --format and --pdf: where the rows go and in which form.
class CliOutputTest : public CliTest {
 protected:
  std::string Sample() { return Quote(SampleFile("sample.fob")); }
};

TEST_F(CliOutputTest, OutputFileHoldsWhatStandardOutputWould) {
  const std::string target = (dir_ / "list.txt").string();
  std::ofstream(target) << "an older list";
  const Outcome written = Run("list -o " + Quote(target) + " " + Sample());
  EXPECT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(Slurp(target), Slurp(fs::path(QUILLET_TEST_DATA) / "sample.fob.list"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3)
      << "no temporary file is left behind";  // stdout, stderr and the list

  const Outcome csv = Run("list --format=csv " + Sample());
  EXPECT_EQ(csv.out.rfind("File,Type,ID,Name,Modified,Version,Date,Time,BLOB size,Compiled\r\n"
                          "1,Table,55,Buffer Caf\xC3\xA9,,\"CUST8.75,LOC4.45\",1990-07-13,",
                          0),
            0u)
      << csv.out.substr(0, 200);
  EXPECT_EQ(CountLines(csv.out), 54);
  const Outcome json = Run("list --format=JSON --types=Codeunit " + Sample());
  EXPECT_EQ(json.out.rfind("[\n  {\"File\": 1, \"Type\": \"Codeunit\", ", 0), 0u);
  EXPECT_EQ(json.out.substr(json.out.size() - 4), "}\n]\n");
  EXPECT_EQ(Run("list --format=xml " + Sample()).status, 2);
}

TEST_F(CliOutputTest, AnOutputThatCannotBeWrittenLeavesTheOldFile) {
  fs::create_directory(dir_ / "folder.txt");
  const Outcome folder = Run("list -o " + Quote((dir_ / "folder.txt").string()) + " " + Sample());
  EXPECT_EQ(folder.status, 2);
  EXPECT_NE(folder.err.find("cannot write"), std::string::npos) << folder.err;
  EXPECT_TRUE(fs::is_directory(dir_ / "folder.txt"));

  // A read-only folder, as a user who may not write there.
  const fs::path locked = dir_ / "locked";
  fs::create_directory(locked);
  std::ofstream(locked / "list.txt") << "the old list";
  if (const std::string why = RunAsOrdinaryUser(); !why.empty()) GTEST_SKIP() << why;
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  const Outcome outcome = Run("list -o " + Quote((locked / "list.txt").string()) + " " + Sample());
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("cannot write"), std::string::npos) << outcome.err;
  EXPECT_EQ(Slurp(locked / "list.txt"), "the old list");
}

// Printing needs no display, whatever platform Qt is told to use: none is started.
TEST_F(CliOutputTest, PdfPrintoutNeedsNoDisplayWhateverQtIsTold) {
  const std::string pdf = (dir_ / "list.pdf").string();
  const Outcome outcome = Run("list --pdf " + Quote(pdf) + " " + Sample(),
                              "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(Slurp(pdf).rfind("%PDF-", 0), 0u);
}

TEST_F(CliOutputTest, PdfPrintoutNeedsNoDisplay) {
  const std::string pdf = (dir_ / "list.pdf").string();
  const Outcome outcome = Run("compare --different --pdf " + Quote(pdf) + " " + Sample() + " " +
                                  Quote(std::string(QUILLET_SAMPLES) + "/sample-changed.fbk"),
                              "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
  EXPECT_EQ(outcome.status, 1) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(CountLines(outcome.out), 12);  // the rows still go to standard output
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "no pdftotext";
  const fs::path text = dir_ / "list.txt";
  ASSERT_EQ(std::system(("pdftotext -layout " + Quote(pdf) + " " + Quote(text.string())).c_str()),
            0);
  const std::string page = Slurp(text);
  EXPECT_NE(page.find("File #1: "), std::string::npos);
  EXPECT_NE(page.find("sample-changed.fbk"), std::string::npos);
  EXPECT_NE(page.find("Page 1"), std::string::npos);
  EXPECT_NE(page.find("# Type"), std::string::npos);
  EXPECT_NE(page.find("MenuSuite"), std::string::npos);
}

// A folder the user may not write, holding files the user may: there is no room for a new file
// beside them, so they are written in place, cut to their new length.
TEST_F(CliOutputTest, AFolderTheUserCannotWriteStillTakesTheirFiles) {
  const fs::path locked = dir_ / "locked", list = locked / "list.txt", pdf = locked / "list.pdf";
  fs::create_directory(locked);
  const auto read_write = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                          fs::perms::group_write | fs::perms::others_read | fs::perms::others_write;
  for (const fs::path& file : {list, pdf}) {
    std::ofstream(file) << std::string(1 << 20, 'o');  // longer than what replaces it
    fs::permissions(file, read_write);
  }
  if (const std::string why = RunAsOrdinaryUser(); !why.empty()) GTEST_SKIP() << why;
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);

  const Outcome outcome = Run("list -o " + Quote(list.string()) + " " + Sample());
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  const std::string written = Slurp(list);  // compared whole, as a failure would print 1 MB
  EXPECT_TRUE(written == Slurp(fs::path(QUILLET_TEST_DATA) / "sample.fob.list"))
      << written.size() << " bytes: " << written.substr(0, 100);

  const Outcome printed = Run("list --pdf " + Quote(pdf.string()) + " " + Sample());
  EXPECT_EQ(printed.status, 0) << printed.err;
  const std::string printout = Slurp(pdf);
  EXPECT_EQ(printout.rfind("%PDF", 0), 0u);
  EXPECT_NE(printout.find("%%EOF", printout.size() - 8), std::string::npos);
  EXPECT_LT(printout.size(), 1u << 20);
  EXPECT_EQ(std::distance(fs::directory_iterator(locked), fs::directory_iterator()), 2);
}

}  // namespace
