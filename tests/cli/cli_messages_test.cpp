// What quillet-cli says when something goes wrong: one style, one line per message whatever
// the names hold, the way back to --help for a command line that makes no sense, and a clear
// outcome for hostile files. And the ID lines, which read back as a filter.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_support.h"
#include "gen/generator.h"
#include "hostile_files.h"

namespace {

namespace gen = quillet::gen;
using quillet::test::CliTest;
using quillet::test::CountLines;
using quillet::test::kUsageHint;
using quillet::test::Lines;
using quillet::test::Outcome;
using quillet::test::Quote;
using quillet::test::SavedFields;

bool HasControlBytes(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\n') || byte == 0x7F;
  });
}

TEST_F(CliTest, NamesAndValuesInMessagesShowTheirControlCharactersEscaped) {
  const std::string good = Generated("good.fob", 5);
  const std::string odd = (dir_ / "no\nsuch\x1b[31mRED.fob").string();
  const std::string shown = (dir_ / "no\\nsuch\\x1b[31mRED.fob").string();
  const std::string clash = Generated("in\r\x7f.fob", 5);
  // The arguments, and the start of what standard error must say.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"list " + Quote(odd), "quillet-cli: " + shown + ": no such file\n"},
      {"list --types=" + Quote("Table,\x1b[2J\tx") + " " + good,
       "quillet-cli: unknown object type '\\x1b[2J\\tx' (the types are "},
      {"list --format=" + Quote("csv\n\x1b]0;owned\x07") + " " + good,
       "quillet-cli: unknown format 'csv\\n\\x1b]0;owned\\x07' (the formats are "},
      {"compare --changes --show=" + Quote("changed,\x1b[1m") + " " + good + " " + good,
       "quillet-cli: unknown status '\\x1b[1m' (the statuses are "},
      {"compare --base=" + Quote(odd) + " --show=" + Quote("\x9b") + " " + good + " " + good,
       "quillet-cli: unknown status '\\x9b' (the statuses are "},
      {"frobnicate\x1b[A " + good, "quillet-cli: unknown command 'frobnicate\\x1b[A'\n"},
      {Quote("--bo\ngus") + " " + good, "quillet-cli: unknown option '--bo\\ngus'\n"},
      {"list -o " + Quote(clash) + " " + Quote(clash),
       "quillet-cli: the output " + (dir_ / "in\\r\\x7f.fob").string() + " is an input file"},
  };
  for (const auto& [arguments, said] : cases) {
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, 2) << arguments;
    EXPECT_EQ(outcome.err.rfind(said, 0), 0u) << arguments << "\n" << outcome.err;
    EXPECT_FALSE(HasControlBytes(outcome.err)) << outcome.err;
    std::string message = outcome.err;
    if (message.ends_with(kUsageHint)) message.resize(message.size() - kUsageHint.size());
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << outcome.err;
  }

  // A warning about a file names it the same way.
  gen::Options options;
  options.objects = 3;
  options.data_size = 0;
  std::string bytes = gen::EncodeFile(gen::GenerateObjects(options), options);
  bytes.resize(bytes.size() - 40);
  Write("cut\t1.fob", bytes + "\x1A");
  const Outcome cut = Run("list " + Quote((dir_ / "cut\t1.fob").string()));
  EXPECT_EQ(cut.status, 0);
  EXPECT_EQ(cut.err, "quillet-cli: warning: " + (dir_ / "cut\\t1.fob").string() +
                         ": the file ends inside its list of objects. Only the objects before "
                         "the damaged line are loaded.\n");
}

// Every message is "quillet-cli: what went wrong", in lower case after the prefix; one about
// the command line itself ends with a line that points to --help, one about the files does not.
TEST_F(CliTest, MessagesHaveOneStyleAndUsageErrorsPointToHelp) {
  const std::string good = Generated("good.fob", 5);
  const std::string missing = (dir_ / "missing.fob").string();
  const std::string list = (dir_ / "list.txt").string();
  const std::vector<std::pair<std::string, bool>> cases = {
      {"", true},
      {"frobnicate " + good, true},
      {"list --bogus " + good, true},
      {"list -x " + good, true},
      {"list --hide-system=yes " + good, true},
      {"list -o", true},
      {"list --types=Query " + good, true},
      {"list --types=Table --types=Page " + good, true},
      {"list --criteria=name " + good, true},
      {"list " + good + " " + good, true},
      {"compare " + good + " " + good, true},
      {"compare --equal --different " + good + " " + good, true},
      {"compare --equal " + good, true},
      {"compare --changes --show=nothing " + good + " " + good, true},
      {"compare --equal --criteria=colour " + good + " " + good, true},
      {"list --format=xml " + good, true},
      {"list --raw " + good, true},
      {"list --filter=colour:red " + good, true},
      {"list " + missing, false},
      {"compare --changes " + good + " " + missing, false},
      {"list -o " + good + " " + good, false},
      {"list -o " + list + " --pdf " + list + " " + good, false},
  };
  for (const auto& [arguments, usage] : cases) {
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, 2) << arguments;
    const std::vector<std::string> lines = [&] {
      std::vector<std::string> split;
      for (std::size_t at = 0, end; (end = outcome.err.find('\n', at)) != std::string::npos;
           at = end + 1) {
        split.push_back(outcome.err.substr(at, end - at));
      }
      return split;
    }();
    ASSERT_EQ(lines.size(), usage ? 2u : 1u) << arguments << "\n" << outcome.err;
    const std::string& message = lines[0];
    ASSERT_EQ(message.rfind("quillet-cli: ", 0), 0u) << message;
    const char first = message.at(13);
    EXPECT_TRUE((first >= 'a' && first <= 'z') || first == '-' || first == '/') << message;
    EXPECT_NE(message.back(), '.') << message;
    if (usage) {
      EXPECT_EQ(lines[1] + "\n", kUsageHint) << arguments;
    }
  }
}

// What --format=ids writes, handed back as --filter through the shell, selects exactly the
// objects of those types and IDs.
TEST_F(CliTest, TheIdLinesReadBackAsAFilter) {
  gen::Options options;
  options.objects = 400;
  options.system_share = 0.1;
  options.seed = 3;
  std::vector<gen::Object> objects = gen::GenerateObjects(options);
  gen::Mutate(objects, 0.3, 4);
  const std::string file = Quote(Write("f.fob", gen::EncodeFile(objects, options)));
  const std::vector<std::string> all = Lines(Run("list --types=all " + file).out);
  ASSERT_EQ(all.size(), objects.size());
  const std::string cli = Quote(QUILLET_CLI);
  for (const std::string chosen : {"name:a", "type:Table|Page id:..50000", "tag:CUST*"}) {
    const std::string ids = "list --types=all --format=ids --filter=" + Quote(chosen) + " " + file;
    std::set<std::pair<std::string, long long>> picked;
    for (const std::string& line :
         Lines(Run("list --types=all --filter=" + Quote(chosen) + " " + file).out)) {
      const std::vector<std::string> fields = SavedFields(line);
      if (fields[2].find_first_not_of("0123456789") == std::string::npos) {
        picked.emplace(fields[1], std::stoll(fields[2]));
      }
    }
    ASSERT_FALSE(picked.empty()) << chosen;
    std::vector<std::string> expected;
    for (const std::string& line : all) {
      const std::vector<std::string> fields = SavedFields(line);
      const bool number =
          !fields[2].empty() && fields[2].find_first_not_of("0123456789") == std::string::npos;
      if (number && picked.count({fields[1], std::stoll(fields[2])}) > 0) expected.push_back(line);
    }
    const Outcome outcome = Run("list --types=all --filter=\"$(" + cli + " " + ids + ")\" " + file);
    EXPECT_EQ(outcome.status, 0) << chosen << ": " << outcome.err;
    EXPECT_EQ(Lines(outcome.out), expected) << chosen;
  }
}

}  // namespace
