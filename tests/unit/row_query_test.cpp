#include "list/row_query.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace quillet {
namespace {

// A list row: fields stored full width, as the list holds them.
struct Row {
  test::TestRow row;
  std::string status;
  QueryRow Query() const {
    QueryRow query = QueryRowOf(row);
    query.status = status;
    return query;
  }
};

Row MakeRow(std::string_view type, std::string_view id, std::string_view name,
            std::string_view version = "", std::string_view status = "") {
  return {test::RowOf(1, {type, id, name, "", version}), std::string(status)};
}

// Whether `filter` (UTF-8) reads and lets the row through.
bool Passes(std::string_view filter, const Row& row) {
  const Result<RowQuery> parse = ParseRowQuery(filter);
  EXPECT_TRUE(parse.ok()) << filter << " -> " << parse.error();
  return parse.ok() && parse->Matches(row.Query());
}

std::string ErrorOf(std::string_view filter) {
  const Result<RowQuery> parse = ParseRowQuery(filter);
  EXPECT_FALSE(parse.ok()) << filter;
  return parse.error();
}

const Row kPosting = MakeRow("Codeunit", "        80", "Sales-Post", "NAVW17.00,CUST7.94");
const Row kCustomer = MakeRow("Table", "        18", "Customer", "NAVW17.10, CUST7.94 ,APP1.0");
const Row kUmlaut = MakeRow("Report", "     50010",
                            "\xDC"
                            "bersicht M\xE4nge",
                            "LOC1.0-\xFC"
                            "bertrag");

TEST(RowQuery, EmptyFiltersAndPlainWordsSearchNameAndVersion) {
  for (const char* filter : {"", "   ", "\t \n"}) {
    const Result<RowQuery> parse = ParseRowQuery(filter);
    ASSERT_TRUE(parse.ok());
    EXPECT_TRUE(parse->MatchesEverything());
    EXPECT_TRUE(parse->Matches(kPosting.Query()));
  }
  EXPECT_TRUE(Passes("post", kPosting));       // in the name, any letter case
  EXPECT_TRUE(Passes("cust7.9", kPosting));    // in the version list
  EXPECT_FALSE(Passes("Codeunit", kPosting));  // the type is not searched
  EXPECT_FALSE(Passes("80", kPosting));        // nor the ID
  EXPECT_TRUE(Passes("sales navw17", kPosting));
  EXPECT_FALSE(Passes("sales customer", kPosting));  // every word must match
  // A word that is no key word is text, colons and all.
  EXPECT_FALSE(Passes("12:00", kPosting));
  EXPECT_TRUE(Passes("12:00", MakeRow("Form", "1", "Run at 12:00")));
  EXPECT_TRUE(Passes(":post", MakeRow("Form", "1", "Re:post")));
  // The name and the version are searched each on its own, not as one text.
  EXPECT_FALSE(Passes("\"postNAV\"", kPosting));
}

TEST(RowQuery, LettersAboveAsciiMatchInEitherCase) {
  EXPECT_TRUE(
      Passes("\xC3\xBC"
             "bersicht",
             kUmlaut));                          // ü finds Ü
  EXPECT_TRUE(Passes("M\xC3\x84NGE", kUmlaut));  // Ä finds ä
  EXPECT_FALSE(
      Passes("-\xC3\x9C"
             "BERTRAG",
             kUmlaut));  // negation folds the case as well
  const Row accents = MakeRow("Page", "1", "\x8A\x8C\x8E\x9F \xC9t\xE9 \x80");
  EXPECT_TRUE(Passes("\xC5\xA1\xC5\x93\xC5\xBE\xC3\xBF", accents));  // š œ ž ÿ
  EXPECT_TRUE(Passes("\xC3\xA9T\xC3\x89", accents));                 // éTÉ
  EXPECT_TRUE(Passes("\xE2\x82\xAC", accents));                      // €
  EXPECT_FALSE(Passes("\xC3\x97", MakeRow("Page", "1", "\xF7")));    // × is no letter of ÷
}

TEST(RowQuery, QuotesHoldBlanksDashesAndColons) {
  EXPECT_TRUE(Passes("\"sales-post\"", kPosting));
  EXPECT_TRUE(
      Passes("\"\xC3\x9C"
             "bersicht m\xC3\xA4nge\"",
             kUmlaut));
  EXPECT_TRUE(
      Passes("\"-\xC3\xBC"
             "bertrag\"",
             kUmlaut));  // text that starts with "-"
  EXPECT_FALSE(
      Passes("-\"-\xC3\xBC"
             "bertrag\"",
             kUmlaut));  // and its negation
  EXPECT_TRUE(Passes("\"id:80\"", MakeRow("Form", "1", "id:80")));
  EXPECT_FALSE(Passes("\"id:80\"", kPosting));
  // Names are compared as the list shows them: without their filling blanks.
  EXPECT_FALSE(Passes("\"Customer \"", kCustomer));
  EXPECT_TRUE(Passes("\"Sales-Post\"   \"cust7.94\"", kPosting));
  // A key word's value may be quoted, too.
  EXPECT_TRUE(Passes("name:\"bersicht m\"", kUmlaut));
  EXPECT_FALSE(Passes("-name:\"bersicht m\"", kUmlaut));
  EXPECT_TRUE(Passes("tag:\"CUST7.94\"", kCustomer));
}

// Filling blanks are dropped eight at a time, so every length and place of the last letter
// counts: the text between the blanks must match, the blanks around it never.
TEST(RowQuery, BlanksAroundFieldsOfAnyLengthAreNotPartOfThem) {
  const Result<RowQuery> inner = ParseRowQuery("name:\"a  b\" tag:\"a  b\"");
  const Result<RowQuery> before = ParseRowQuery("name:\" a\"");
  const Result<RowQuery> after = ParseRowQuery("\"b \"");
  ASSERT_TRUE(inner.ok() && before.ok() && after.ok());
  for (int lead = 0; lead < 10; ++lead) {
    for (int trail = 0; trail < 20; ++trail) {
      const std::string field = std::string(lead, ' ') + "a  b" + std::string(trail, ' ');
      const QueryRow row{"Form", "1", field, field, ""};
      EXPECT_TRUE(inner->Matches(row)) << lead << " " << trail;
      EXPECT_FALSE(before->Matches(row)) << lead << " " << trail;
      EXPECT_FALSE(after->Matches(row)) << lead << " " << trail;
    }
  }
}

// Text is searched eight bytes at a time: a word must be found at every place, across the
// eight-byte steps and up to the field's last byte, and not past it.
TEST(RowQuery, TextIsFoundAtEveryPlaceOfTheField) {
  const Result<RowQuery> starts = ParseRowQuery("name:ba");
  const Result<RowQuery> ends = ParseRowQuery("name:\xC3\xA0\xC3\x89");  // àÉ
  ASSERT_TRUE(starts.ok() && ends.ok());
  for (int length = 1; length <= 40; ++length) {
    for (int at = 0; at < length; ++at) {
      std::string name(length, 'a');
      name[at] = 'B';
      EXPECT_EQ(starts->Matches({"Form", "1", name, "", ""}), at + 1 < length)
          << length << " " << at;
      std::string accents(length, '\xC0');  // À
      accents[at] = '\xE9';                 // é
      EXPECT_EQ(ends->Matches({"Form", "1", accents, "", ""}), at > 0) << length << " " << at;
    }
  }
}

TEST(RowQuery, IdsMatchNumbersRangesAndOpenRanges) {
  EXPECT_TRUE(Passes("id:18", kCustomer));
  EXPECT_TRUE(Passes("id:0018", kCustomer));
  EXPECT_TRUE(Passes("id:18", MakeRow("Table", "0000000018", "x")));
  EXPECT_TRUE(Passes("id:18", MakeRow("Table", "18", "x")));  // left-aligned
  EXPECT_FALSE(Passes("id:1", kCustomer));                    // not a prefix
  EXPECT_FALSE(Passes("id:180", kCustomer));
  EXPECT_TRUE(Passes("id:5..18", kCustomer));
  EXPECT_TRUE(Passes("id:18..18", kCustomer));
  EXPECT_FALSE(Passes("id:19..99", kCustomer));
  EXPECT_TRUE(Passes("id:..18", kCustomer));
  EXPECT_FALSE(Passes("id:..17", kCustomer));
  EXPECT_TRUE(Passes("id:18..", kCustomer));
  EXPECT_FALSE(Passes("id:19..", kCustomer));
  EXPECT_TRUE(Passes("id:1|7|18", kCustomer));
  EXPECT_TRUE(Passes("id:50000..99999|80", kPosting));
  EXPECT_TRUE(Passes("ID:50000..99999|80", kUmlaut));
  // Numbers of any length, by value, not as text.
  EXPECT_TRUE(Passes("id:0..99999999999999999999", kCustomer));
  EXPECT_TRUE(Passes("id:9..10", MakeRow("Form", "        10", "x")));
  EXPECT_FALSE(Passes("id:100000000000000000000..", MakeRow("Form", "9999999999", "x")));
  EXPECT_TRUE(Passes("id:2000000000..", MakeRow("Form", "2000000001", "x")));
  EXPECT_TRUE(Passes("id:0", MakeRow("Form", "         0", "x")));
  EXPECT_TRUE(Passes("id:..0", MakeRow("Form", "000", "x")));
  // An ID that is not a whole number matches no number or range, and its negation keeps it.
  for (const char* id : {"", "          ", "12A", "1 8", "-18", "+18", "1.8", "\xB2"}) {
    const Row row = MakeRow("Form", id, "x");
    EXPECT_FALSE(Passes("id:0..", row)) << id;
    EXPECT_FALSE(Passes("id:..99999999999", row)) << id;
    EXPECT_TRUE(Passes("-id:0..", row)) << id;
  }
}

TEST(RowQuery, TypesAreTheNineNamesInTheRowsExactCase) {
  EXPECT_TRUE(Passes("type:codeunit", kPosting));
  EXPECT_TRUE(Passes("TYPE:CODEUNIT", kPosting));
  EXPECT_TRUE(Passes("type:Table|Codeunit", kPosting));
  EXPECT_FALSE(Passes("type:Table", kPosting));
  EXPECT_FALSE(Passes("type:TableData", kCustomer));  // whole names, not their start
  EXPECT_TRUE(Passes("type:xmlport", MakeRow("XMLport", "1", "x")));
  EXPECT_TRUE(Passes("-type:TableData", kCustomer));
  // A row whose type is none of the nine matches none of them.
  for (const char* type : {"table", "TABLE", "Tables", "", "Query"}) {
    const Row row = MakeRow(type, "1", "x");
    EXPECT_FALSE(
        Passes("type:Table|TableData|Form|Report|Dataport|XMLport|Codeunit|Page|MenuSuite", row))
        << type;
  }
}

TEST(RowQuery, TagsAreWholeTagsOfTheVersionList) {
  EXPECT_TRUE(Passes("tag:CUST7.94", kPosting));
  EXPECT_TRUE(Passes("tag:cust7.94", kCustomer));   // blanks around the comma removed
  EXPECT_TRUE(Passes("tag:app1.0", kCustomer));     // the last tag
  EXPECT_TRUE(Passes("tag:NAVW17.10", kCustomer));  // the first
  EXPECT_FALSE(Passes("tag:CUST7", kPosting));      // a whole tag, not a part
  EXPECT_FALSE(Passes("tag:7.94", kPosting));
  EXPECT_TRUE(Passes("tag:CUST*", kPosting));
  EXPECT_TRUE(Passes("tag:*7.94", kPosting));
  EXPECT_TRUE(Passes("tag:N*W*00", kPosting));
  EXPECT_FALSE(Passes("tag:N*W*01", kPosting));
  EXPECT_TRUE(Passes("tag:**", kPosting));
  EXPECT_TRUE(Passes("tag:LOC*|FIX1.0", kUmlaut));
  EXPECT_TRUE(
      Passes("tag:loc1.0-\xC3\x9C"
             "BERTRAG",
             kUmlaut));
  EXPECT_TRUE(Passes("-tag:CUST*", kUmlaut));
  // An empty version list, or one of commas and blanks, holds no tag at all.
  for (const char* version : {"", " , ,", ","}) {
    EXPECT_FALSE(Passes("tag:*", MakeRow("Form", "1", "x", version))) << version;
  }
  // A '*' in the version list is just a character; '*' in the pattern is any run.
  EXPECT_TRUE(Passes("tag:A\\*", MakeRow("Form", "1", "x", "A\\B*")));
  EXPECT_FALSE(Passes("tag:A*", MakeRow("Form", "1", "x", "BA*")));
}

TEST(RowQuery, NamesStatusesAndNegation) {
  EXPECT_TRUE(Passes("name:post", kPosting));
  EXPECT_FALSE(Passes("name:CUST", kPosting));  // name: leaves the version alone
  EXPECT_TRUE(Passes("name:12:00|x", MakeRow("Form", "1", "a 12:00|x b")));  // no alternatives
  EXPECT_FALSE(Passes("-post", kPosting));
  EXPECT_TRUE(Passes("-customer", kPosting));
  EXPECT_TRUE(Passes("-type:TableData type:Codeunit -id:1..79", kPosting));

  for (const std::string_view status : kQueryStatusNames) {
    const Row row = MakeRow("Form", "1", "x", "", status);
    EXPECT_TRUE(Passes("status:" + std::string(status), row));
    EXPECT_TRUE(Passes("STATUS:conflict|" + std::string(status), row));
    EXPECT_FALSE(Passes("-status:" + std::string(status), row));
  }
  EXPECT_FALSE(Passes("status:only1", MakeRow("Form", "1", "x", "", "only1changed")));
  // Outside the views that have one, no row has a status.
  EXPECT_FALSE(Passes("status:changed|same|conflict", kPosting));
  EXPECT_TRUE(Passes("-status:changed", kPosting));
}

// The error names the word as typed, then says why, on one line.
TEST(RowQuery, WordsThatCannotBeReadSayWhichAndWhy) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"id:12..ab", "id:12..ab: \"ab\" is not a whole number"},
      {"id:x", "id:x: \"x\" is not a whole number"},
      {"id:-5", "id:-5: \"-5\" is not a whole number"},
      {"id:1..2..3", "id:1..2..3: \"2..3\" is not a whole number"},
      {"id:99..5", "id:99..5: \"99..5\" runs backwards: the first number must not be the greater"},
      {"id:..", "id:..: \"..\" needs a number on at least one side"},
      {"post id:", "id:: nothing follows \"id:\""},
      {"name:", "name:: nothing follows \"name:\""},
      {"Name:\"\"", "Name:\"\": nothing follows \"Name:\""},
      {"tag:A|", "tag:A|: an alternative is empty"},
      {"tag:|A", "tag:|A: an alternative is empty"},
      {"id:1||2", "id:1||2: an alternative is empty"},
      {"tag:\"A| \"", "tag:\"A| \": an alternative is empty"},
      {"tag:A,B", "tag:A,B: \"A,B\" holds a comma, which no tag does; for either tag write A|B"},
      {"type:Nothing",
       "type:Nothing: \"Nothing\" is not an object type (TableData, Table, Form, Report, Dataport, "
       "XMLport, Codeunit, Page or MenuSuite)"},
      {"status:new",
       "status:new: \"new\" is not a status (changed, only1, only2, same, unchanged, "
       "only1changed, only2changed, bothalike, conflict, only1added or only2added)"},
      {"colour:red",
       "colour:red: \"colour:\" is not a key word (id:, type:, tag:, name:, status:); put text "
       "with a colon in quotes"},
      {"a \"two words", "\"two words: the closing quote is missing"},
      {"-\"x", "-\"x: the closing quote is missing"},
      {"\"two\"words x",
       "\"two\"words: the word must end at its closing quote; put a blank after it"},
      {"\"\"", "\"\": nothing stands between the quotes"},
      {"a - b", "-: nothing follows the \"-\""},
      {"--x y", "--x: only one \"-\" may lead a word; put text that starts with \"-\" in quotes"},
      {"\xCE\xA9mega", "\xCE\xA9mega: \"\xCE\xA9\" is not a Windows-1252 character"},
      {"ok b\xFCr", "b\xEF\xBF\xBDr: the text is not valid UTF-8"},
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD: the text is not valid UTF-8"},  // overlong "/"
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD: the text is not valid UTF-8"},
      {"\"a\nb",
       "\"a\xEF\xBF\xBD"
       "b: the closing quote is missing"},
      {"id:1\xC2\x85", "id:1\xEF\xBF\xBD: \"\xEF\xBF\xBD\" is not a Windows-1252 character"},
      {"id:1\xC2\x81", "id:1\xEF\xBF\xBD: \"1\xEF\xBF\xBD\" is not a whole number"},
  };
  for (const auto& [filter, error] : cases) {
    EXPECT_EQ(ErrorOf(filter), error) << filter;
  }
}

}  // namespace
}  // namespace quillet
