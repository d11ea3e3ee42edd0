// The parse of the arguments on its own: what it takes, what it refuses, and that it leaves the
// file system to the run.
#include "cli/cli_request.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_checks.h"
#include "cli/cli_options.h"
#include "support/temp_dir.h"

namespace quillet {
namespace {

using Arguments = std::vector<std::string>;

TEST(CliRequest, AnOptionGivenAgainMustMeanTheSame) {
  const std::vector<std::pair<Arguments, std::string>> cases = {
      {{"list", "--types=Page", "--types=Page", "--hide-system", "--hide-system", "a.fob"}, ""},
      {{"list", "-o", "x.txt", "--output=x.txt", "a.fob"}, ""},
      {{"list", "--types=Page", "--types=page", "a.fob"},
       "--types is given twice, with different values"},
      // The option first given of those that clash is named, whatever comes after.
      {{"list", "--format=csv", "--types=Page", "--types=Form", "--format=json", "--bogus"},
       "unknown option '--bogus'"},
      {{"list", "--format=csv", "--types=Page", "--types=Form", "--format=json", "a.fob"},
       "--format is given twice, with different values"},
      {{"list", "-o", "a", "--types=Page", "--output", "b", "--types=Form", "a.fob"},
       "--output is given twice, with different values"},
  };
  for (const auto& [arguments, error] : cases) {
    const Result<CliRequest> parsed = ParseCliArguments(arguments);
    EXPECT_EQ(parsed.error(), error) << arguments[2];
  }
  // A script may pass an option many times over; each argument is looked at once.
  Arguments many(150000, "-h");
  many.insert(many.end(), {"list", "a.fob"});
  const Result<CliRequest> help = ParseCliArguments(many);
  ASSERT_TRUE(help.ok()) << help.error();
  EXPECT_EQ(help->command, CliCommand::kHelp);
}

// The parse reads the arguments alone; whether an output would replace an input is found out
// on disk, before the run reads or writes anything.
TEST(CliRequest, OutputsThatReplaceAnInputAreFoundOnDisk) {
  const test::TempDir dir;
  const std::string input = (dir.path() / "in.fob").string();
  std::ofstream(input) << "objects";
  const std::string link = (dir.path() / "link.fob").string();
  std::filesystem::create_symlink(input, link);
  const std::string list = (dir.path() / "list.txt").string();
  const std::vector<std::pair<Arguments, std::string>> cases = {
      {{"list", "-o", list, input}, ""},
      {{"list", "-o", list, "--pdf", (dir.path() / "list.pdf").string(), input}, ""},
      {{"list", "-o", input, input}, "the output " + input + " is an input file"},
      {{"list", "--pdf", link, input}, "the output " + link + " is an input file"},
      {{"compare", "--base=" + input, "-o", input, list, list},
       "the output " + input + " is an input file"},
      {{"list", "-o", list, "--pdf", list, input}, "-o and --pdf name the same file"},
  };
  for (const auto& [arguments, error] : cases) {
    const Result<CliRequest> parsed = ParseCliArguments(arguments);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const Status checked = CheckOutputs(*parsed);
    EXPECT_EQ(checked.error().substr(0, error.size()), error) << arguments[2];
    EXPECT_EQ(checked.ok(), error.empty()) << arguments[2];
  }
  EXPECT_FALSE(std::filesystem::exists(list));
}

// --help, the parser, the manual page and the completions read one table: every option is in it
// once, under names that are not taken twice.
TEST(CliRequest, EveryOptionIsInTheTableOnce) {
  std::set<std::string_view> names;
  for (int option = 0; option < kCliOptionCount; ++option) {
    int found = 0;
    for (const CliOptionInfo& info : CliOptions()) {
      found += static_cast<int>(info.option) == option ? 1 : 0;
    }
    EXPECT_EQ(found, 1) << option;
    const CliOptionInfo& info = CliOptionOf(static_cast<CliOption>(option));
    EXPECT_EQ(static_cast<int>(info.option), option);
    EXPECT_TRUE(names.insert(info.name).second) << info.name;
    if (!info.short_name.empty()) {
      EXPECT_TRUE(names.insert(info.short_name).second) << info.short_name;
    }
    EXPECT_NE(CliHelpText().find("--" + std::string(info.name)), std::string::npos);
  }
}

TEST(CliRequest, ValuesAreReadFromTheVocabularies) {
  const Result<RowFilter> types = ParseTypes(" codeunit , TABLE,MenuSuite ");
  ASSERT_TRUE(types.ok());
  EXPECT_EQ(types->types,
            (std::array<bool, 9>{false, true, false, false, false, false, true, false, true}));
  const Result<CompareCriteria> criteria = ParseCriteria("Type-ID,size");
  ASSERT_TRUE(criteria.ok());
  EXPECT_EQ(*criteria, (CompareCriteria{true, false, false, false, false, true}));
  const Result<unsigned> changes = ParseStatuses(ListView::kChanges, "same,ONLY2");
  ASSERT_TRUE(changes.ok());
  EXPECT_EQ(*changes, (1u << static_cast<int>(ChangeStatus::kSame)) |
                          (1u << static_cast<int>(ChangeStatus::kOnlyIn2)));
  EXPECT_EQ(ParseStatuses(ListView::kChanges, "conflict").error(),
            "unknown status 'conflict' (the statuses are changed, only1, only2, same, or all)");
  EXPECT_EQ(ParseStatuses(ListView::kUpgrade, "all").value(), 0x7Fu);
}

}  // namespace
}  // namespace quillet
