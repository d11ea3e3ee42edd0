// The query against the plain reference of the rules, on generated rows with awkward IDs,
// accented letters and odd version lists, and on many generated filters, valid and not.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "gen/generator.h"
#include "list/row_query.h"
#include "objects/code_page.h"
#include "objects/text.h"
#include "row_query_reference.h"
#include "test_support.h"

namespace quillet {
namespace {

namespace ref = test::reference;
using Rng = std::mt19937;

int Pick(Rng& rng, int bound) { return static_cast<int>(rng() % static_cast<unsigned>(bound)); }

template <class T, std::size_t N>
const T& PickOf(Rng& rng, const std::array<T, N>& items) {
  return items[Pick(rng, static_cast<int>(N))];
}

// A row's texts as the list stores them: full width, Windows-1252.
struct StoredRow {
  std::string type, id, name, version, status;
  QueryRow View() const { return {type, id, name, version, status}; }
};

constexpr std::array<const char*, 12> kOddIds = {
    "",           "          ", "0000000018",  "18        ",
    "   1 8    ", "       12A", "99999999999", "        -5",
    "     00000", "2000000005", "  0x1F    ",  "\xB9\xB2"};
constexpr std::array<const char*, 8> kOddNames = {
    "\xC9"
    "COLE \xE9"
    "cole",
    "\x8A"
    "KODA \x9A"
    "koda",
    "\x8C"
    "uvre, Copy",
    "\xFF \x9F \xD7\xF7",
    "  Posting, \"Old\"",
    "Sales-Post 12:00",
    "\xDC"
    "BER \xFC"
    "ber",
    "A|B*"};
constexpr std::array<const char*, 8> kOddVersions = {"A, B ,,C",
                                                     " , ",
                                                     "CUST*,CUST1",
                                                     "\xDC"
                                                     "BER1.0,\xFC"
                                                     "ber2.0",
                                                     "NAVW17.00,",
                                                     "x,y,z,x",
                                                     " LOC1.0 , FIX2.0 ",
                                                     "-\xFC"
                                                     "bertrag"};
constexpr std::array<const char*, 4> kOddTypes = {"table", "Query", "", "CODEUNIT"};

std::vector<StoredRow> MakeRows() {
  gen::Options options;
  options.objects = 400;
  options.system_share = 0.1;
  auto objects = gen::GenerateObjects(options);
  gen::Mutate(objects, 0.2, 11);
  Rng rng(5);
  std::vector<StoredRow> rows;
  for (const gen::Object& object : objects) {
    StoredRow row{object.type, object.id, ConvertUmlauts(object.name),
                  ConvertUmlauts(object.version), ""};
    if (Pick(rng, 6) == 0) row.id = PickOf(rng, kOddIds);
    if (Pick(rng, 8) == 0) row.name = PickOf(rng, kOddNames);
    if (Pick(rng, 8) == 0) row.version = PickOf(rng, kOddVersions);
    if (Pick(rng, 20) == 0) row.type = PickOf(rng, kOddTypes);
    if (Pick(rng, 2) == 0) row.status = kQueryStatusNames[Pick(rng, kQueryStatusNames.size())];
    row.type = test::Padded(row.type, 9);
    row.id = test::Padded(row.id, 10);
    row.name = test::Padded(row.name, 30);
    row.version = test::Padded(row.version, 60);
    rows.push_back(row);
  }
  return rows;
}

// Windows-1252 text with its letters' case changed at random, as UTF-8.
std::string Typed(Rng& rng, std::string_view text) {
  std::string typed;
  for (char c : text) {
    const std::string lower = ref::Lower(std::string(1, c));
    std::string upper(1, c);
    for (int b = 0; b < 256; ++b) {
      const std::string other(1, static_cast<char>(b));
      if (ref::Lower(other) == lower && other != lower) upper = other;
    }
    typed += Pick(rng, 2) == 0 ? lower : upper;
  }
  return Windows1252ToUtf8(typed);
}

std::string PieceOf(Rng& rng, std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return "x";
  const int at = Pick(rng, static_cast<int>(text.size()));
  const int length = 1 + Pick(rng, std::min<int>(6, static_cast<int>(text.size()) - at));
  return std::string(text.substr(at, length));
}

// Text that needs quotes to stay one word of text is put in them.
std::string AsText(std::string typed) {
  const bool plain = typed.find_first_of(" \t\"") == std::string::npos && typed[0] != '-' &&
                     typed.find(':') == std::string::npos;
  return plain ? typed : "\"" + typed + "\"";
}

std::string IdNumber(Rng& rng, const StoredRow& row) {
  std::string id(TrimBlanks(row.id));
  if (!ref::IsDigits(id) || Pick(rng, 4) == 0) id = std::to_string(Pick(rng, 3000000));
  if (Pick(rng, 5) == 0) id = std::string(1 + Pick(rng, 3), '0') + id;
  if (Pick(rng, 10) == 0) id = "123456789012345678901";
  return id;
}

std::string IdValue(Rng& rng, const std::vector<StoredRow>& rows) {
  std::string value;
  for (int alternatives = 1 + Pick(rng, 3); alternatives > 0; --alternatives) {
    if (!value.empty()) value += '|';
    std::string a = IdNumber(rng, rows[Pick(rng, rows.size())]);
    std::string b = IdNumber(rng, rows[Pick(rng, rows.size())]);
    if (!ref::NotGreater(a, b) && Pick(rng, 8) != 0) std::swap(a, b);
    switch (Pick(rng, 4)) {
      case 0:
        value += a;
        break;
      case 1:
        value += a + ".." + b;
        break;
      case 2:
        value += a + "..";
        break;
      default:
        value += ".." + b;
        break;
    }
  }
  return value;
}

std::string TagValue(Rng& rng, const std::vector<StoredRow>& rows) {
  std::string value;
  for (int alternatives = 1 + Pick(rng, 2); alternatives > 0; --alternatives) {
    if (!value.empty()) value += '|';
    const auto tags = ref::Split(ref::Trim(rows[Pick(rng, rows.size())].version), ',');
    std::string tag = ref::Trim(tags[Pick(rng, tags.size())]);
    if (tag.empty()) tag = "CUST*";
    if (Pick(rng, 3) == 0) {  // a run of it as '*'
      const int at = Pick(rng, tag.size());
      tag.replace(at, Pick(rng, tag.size() - at + 1), "*");
    }
    value += Typed(rng, tag);
  }
  return value;
}

// The words users type, and now and then one that cannot be read.
std::string MakeWord(Rng& rng, const std::vector<StoredRow>& rows) {
  static constexpr std::array<const char*, 14> kBad = {
      "id:", "tag:A|", "\"open",   "\xCE\xA9",   "b\xFFr", "colour:red", "id:9..1",
      "-",   "--x",    "type:Foo", "status:new", "\"\"",   "id:1..x",    "\"a\"b"};
  const StoredRow& row = rows[Pick(rng, rows.size())];
  const std::string minus = Pick(rng, 4) == 0 ? "-" : "";
  switch (Pick(rng, 16)) {
    case 0:
    case 1:
      return minus + "id:" + IdValue(rng, rows);
    case 2: {
      std::string value;
      for (int n = 1 + Pick(rng, 2); n > 0; --n) {
        value += (value.empty() ? "" : "|") +
                 Typed(rng, Pick(rng, 10) == 0 ? "Query" : kTypeNames[Pick(rng, kTypeCount)]);
      }
      return minus + Typed(rng, "type") + ":" + value;
    }
    case 3:
    case 4:
      return minus + "tag:" + TagValue(rng, rows);
    case 5:
    case 6:
      return minus + "name:" + AsText(Typed(rng, PieceOf(rng, row.name)));
    case 7: {
      const std::string_view status = kQueryStatusNames[Pick(rng, kQueryStatusNames.size())];
      return minus + "Status:" + Typed(rng, status) + (Pick(rng, 2) ? "|same" : "");
    }
    case 8:
      return kBad[Pick(rng, kBad.size())];
    default:
      return minus + AsText(Typed(rng, PieceOf(rng, Pick(rng, 2) ? row.name : row.version)));
  }
}

// A word as an error shows it: U+FFFD for what is not UTF-8 and for control characters.
std::string Shown(std::string_view utf8) {
  std::string shown;
  for (std::size_t i = 0; i < utf8.size();) {
    const Utf8Char c = DecodeUtf8(utf8, i);
    const bool bad = c.length == 0 || c.code < 0x20 || (c.code >= 0x7F && c.code < 0xA0);
    shown += bad ? "\xEF\xBF\xBD" : utf8.substr(i, c.length);
    i += c.length == 0 ? 1 : c.length;
  }
  return shown;
}

TEST(RowQueryDifferential, AgreesWithThePlainReferenceOnEveryRow) {
  const std::vector<StoredRow> rows = MakeRows();
  Rng rng(17);
  int errors = 0, selective = 0;
  constexpr int kFilters = 2500;
  for (int n = 0; n < kFilters; ++n) {
    std::string filter;
    for (int words = Pick(rng, 4); words > 0; --words) {
      filter += (Pick(rng, 5) == 0 ? "\t " : " ") + MakeWord(rng, rows);
    }
    const Result<RowQuery> parse = ParseRowQuery(filter);
    const ref::Filter reference = ref::Parse(filter);
    ASSERT_EQ(parse.ok(), reference.ok) << filter << "\n" << parse.error();
    if (!reference.ok) {
      ++errors;
      EXPECT_EQ(parse.error().rfind(Shown(reference.bad_word) + ": ", 0), 0u) << filter << "\n"
                                                                              << parse.error();
      continue;
    }
    int matched = 0;
    for (const StoredRow& row : rows) {
      const bool expected = ref::Matches(reference, row.View());
      ASSERT_EQ(parse->Matches(row.View()), expected)
          << "filter: " << filter << "\nrow: " << row.type << "|" << row.id << "|" << row.name
          << "|" << row.version << "|" << row.status;
      matched += expected ? 1 : 0;
    }
    if (matched > 0 && matched < static_cast<int>(rows.size())) ++selective;
  }
  // The filters must have asked something: most pick some rows but not all.
  EXPECT_GT(selective, kFilters / 2);
  EXPECT_GT(errors, kFilters / 20);
}

// An ID line as the ID lines writer makes them, now and then with a flaw.
std::string IdLine(Rng& rng, const std::vector<StoredRow>& rows) {
  std::string type(kTypeNames[Pick(rng, kTypeCount)]);
  if (Pick(rng, 3) == 0) type = ref::Lower(type);
  if (Pick(rng, 12) == 0) type = "Query";
  std::string line = type + ":" + (Pick(rng, 4) == 0 ? "  " : " ") + IdValue(rng, rows);
  if (Pick(rng, 12) == 0) line = type + ":";
  if (Pick(rng, 12) == 0) line += "|x";
  return line;
}

// Filters of several lines, ID lines among them, and words repeated or negated on one line.
TEST(RowQueryDifferential, LinesIdLinesAndRepeatedWordsAgreeWithThePlainReference) {
  const std::vector<StoredRow> rows = MakeRows();
  Rng rng(23);
  int errors = 0, selective = 0;
  constexpr int kFilters = 1500;
  constexpr std::array<const char*, 5> kLineEnds = {"\n", "\r\n", "\r", "\n\n", " \n\t"};
  for (int n = 0; n < kFilters; ++n) {
    std::string filter;
    for (int lines = 1 + Pick(rng, 4); lines > 0; --lines) {
      std::vector<std::string> words;
      if (Pick(rng, 3) == 0) words.push_back(IdLine(rng, rows));
      for (int count = Pick(rng, 3); count > 0; --count) {
        std::string word = MakeWord(rng, rows);
        if (!words.empty() && Pick(rng, 4) == 0) {  // a word again, or its negation
          word = words[Pick(rng, words.size())];
          if (Pick(rng, 2) == 0) word = word[0] == '-' ? word.substr(1) : "-" + word;
        }
        words.push_back(word);
      }
      for (const std::string& word : words) filter += word + " ";
      filter += kLineEnds[Pick(rng, kLineEnds.size())];
    }
    const Result<RowQuery> parse = ParseRowQuery(filter);
    const ref::Filter reference = ref::Parse(filter);
    ASSERT_EQ(parse.ok(), reference.ok) << filter << "\n" << parse.error();
    if (!reference.ok) {
      ++errors;
      EXPECT_EQ(parse.error().rfind(Shown(reference.bad_word) + ": ", 0), 0u) << filter << "\n"
                                                                              << parse.error();
      continue;
    }
    int matched = 0;
    for (const StoredRow& row : rows) {
      const bool expected = ref::Matches(reference, row.View());
      ASSERT_EQ(parse->Matches(row.View()), expected)
          << "filter: " << filter << "\nrow: " << row.type << "|" << row.id << "|" << row.name
          << "|" << row.version << "|" << row.status;
      matched += expected ? 1 : 0;
    }
    if (matched > 0 && matched < static_cast<int>(rows.size())) ++selective;
  }
  EXPECT_GT(selective, kFilters / 3);
  EXPECT_GT(errors, kFilters / 20);
}

}  // namespace
}  // namespace quillet
