// --filter as scripts use it: quillet-cli keeps exactly the rows a plain reading of the filter
// rules keeps, on generated files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "gen/generator.h"
#include "unit/row_query_reference.h"

namespace {

using quillet::QueryRow;
using quillet::test::CliTest;
using quillet::test::Lines;
using quillet::test::Quote;
using quillet::test::SavedFields;
namespace reference = quillet::test::reference;

TEST_F(CliTest, ListFilterAgreesWithThePlainReading) {
  quillet::gen::Options options;
  options.objects = 600;
  options.system_share = 0.1;
  options.seed = 5;
  auto objects = quillet::gen::GenerateObjects(options);
  quillet::gen::Mutate(objects, 0.3, 9);
  const std::string file = Write("f.fob", quillet::gen::EncodeFile(objects, options));
  const std::vector<std::string> all = Lines(Run("list --types=all " + Quote(file)).out);
  ASSERT_EQ(all.size(), objects.size());

  // Filters of every form, as UTF-8, the way a user types them in a shell.
  const std::vector<std::string> filters = {
      "id:1..5000",
      "id:..99|2000000000..",
      "-type:TableData",
      "type:codeunit|PAGE",
      "tag:CUST*",
      "tag:nav*|loc*",
      "name:post",
      "\xC3\xBC",
      "-name:a \"e r\"",
      "id:50000.. -id:60000..",
      "type:Table tag:*",
      "\"-\"",
      "caf\xC3\xA9",
      "id:007|18",
      "type:menusuite -tag:*",
  };
  int selective = 0;
  for (const std::string& filter : filters) {
    const reference::Filter parsed = reference::Parse(filter);
    ASSERT_TRUE(parsed.ok) << filter << ": " << parsed.bad_word;
    std::vector<std::string> expected;
    for (const std::string& line : all) {
      const std::vector<std::string> f = SavedFields(line);
      if (reference::Matches(parsed, QueryRow{f[1], f[2], f[3], f[5], {}})) {
        expected.push_back(line);
      }
    }
    const quillet::test::Outcome outcome =
        Run("list --types=all --filter=" + Quote(filter) + " " + Quote(file));
    EXPECT_EQ(outcome.status, 0) << filter << ": " << outcome.err;
    EXPECT_EQ(Lines(outcome.out), expected) << filter;
    selective += !expected.empty() && expected.size() < all.size();
  }
  EXPECT_GT(selective, 8);  // the filters pick rows, not everything or nothing
}

}  // namespace
