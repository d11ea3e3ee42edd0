#include "objects/date_time_format.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <regex>
#include <string>

namespace quillet {
namespace {

struct Case {
  const char* input;
  const char* expected;
};

TEST(FormatObjectDate, ReordersEveryWrittenForm) {
  const Case cases[] = {
      {"31.12.08  ", "2008-12-31"},  {"31-12-08", "2008-12-31"},   {"12/31/08", "2008-12-31"},
      {"  31.12.08 ", "2008-12-31"}, {"01.01.49", "2049-01-01"},   {"01.01.50", "1950-01-01"},
      {"05/17/99", "1999-05-17"},    {"31.12.2008", "2008-12-31"}, {"31.12.2050", "1950-12-31"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatObjectDate(c.input), c.expected) << c.input;
}

TEST(FormatObjectDate, KeepsThePositionalQuirks) {
  const Case cases[] = {
      {"          ", ""},  // blank: no date
      {"", ""},
      {"081231", "20081231"},  // no separator: only the century
      {"123456789012345", "20123456789012345"},
      {"31.12/08", "2008-12-31"},  // a point wins over a slash
      {"ab.cd.ef", "20ef-cd-ab"},  // no digits read as 0
      {"1.1", "20.1--1."},         // shorter than the positions it reads
  };
  for (const Case& c : cases) EXPECT_EQ(FormatObjectDate(c.input), c.expected) << c.input;
}

// Day and month of one digit, a year of two or four: written out in full first, so the date
// comes out as the same date written with two digits compares.
TEST(FormatObjectDate, WritesShortDayAndMonthInFull) {
  const Case cases[] = {
      {"1.12.08", "2008-12-01"},   {"3.4.47", "2047-04-03"},     {"6/7/99", "1999-06-07"},
      {"1/2/2003", "2003-01-02"},  {"  9-8-10  ", "2010-08-09"}, {"31.1.08", "2008-01-31"},
      {"1.12.2050", "1950-12-01"}, {"12/1/49", "2049-12-01"},    {"01.12.08", "2008-12-01"},
      {"5.5.5000", "2000-05-05"},  // four digits: the last two are the year, as ever
  };
  for (const Case& c : cases) EXPECT_EQ(FormatObjectDate(c.input), c.expected) << c.input;
  EXPECT_EQ(FormatObjectDate("1.12.08"), FormatObjectDate("01.12.08"));
  EXPECT_EQ(FormatObjectDate("6/7/99"), FormatObjectDate("06/07/99"));
}

// Anything but three such groups with one separator twice is reordered by position as before.
TEST(FormatObjectDate, LeavesOtherShortFormsAsTheyWere) {
  const Case cases[] = {
      {"1.12-08", "2008-2--1."},   // two different separators
      {"1.12.123", "2023-2.-1."},  // a year of three digits
      {"123.1.08", "2008-.1-12"},  // a day of three digits
      {"1..08", "2008-08-1."},     // an empty group
      {"1.12.08.", "208.-2.-1."},  // something after the year
      {"1 .12.08", "2008-12-1 "},  // a blank inside
      {"a.1.08", "2008-.0-a."},    // not digits
      {"1.12.", "202.-2.-1."},     // no year
      {"1/2/3", "20/3-1/-/3"},     // a one-digit year
  };
  for (const Case& c : cases) EXPECT_EQ(FormatObjectDate(c.input), c.expected) << c.input;
}

// The rule read plainly: a short day or month written out, then the old reordering by position.
std::string PlainDate(std::string text) {
  text.erase(0, text.find_first_not_of(' '));
  text.erase(text.find_last_not_of(' ') + 1);
  if (text.empty()) return "";
  std::smatch groups;
  static const std::regex kShortDate(R"((\d{1,2})([./-])(\d{1,2})\2(\d{2}|\d{4}))");
  if (std::regex_match(text, groups, kShortDate)) {
    const auto two = [](const std::string& g) { return g.size() == 1 ? "0" + g : g; };
    text = two(groups[1]) + groups[2].str() + two(groups[3]) + groups[2].str() +
           groups[4].str().substr(groups[4].length() - 2);
  }
  const auto mid = [&](std::size_t at, std::size_t n) {
    return at > text.size() ? std::string() : text.substr(at - 1, n);
  };
  const std::string right = text.size() <= 2 ? text : text.substr(text.size() - 2);
  std::string r = text;
  if (text.find_first_of(".-") != std::string::npos) {
    r = right + "-" + mid(4, 2) + "-" + text.substr(0, 2);
  } else if (text.find('/') != std::string::npos) {
    r = right + "-" + text.substr(0, 2) + "-" + mid(4, 2);
  }
  int century = 0;
  for (std::size_t i = 0; i < 2 && i < r.size() && std::isdigit(static_cast<unsigned char>(r[i]));
       ++i) {
    century = century * 10 + (r[i] - '0');
  }
  return (century < 50 ? "20" : "19") + r;
}

TEST(FormatObjectDate, AgreesWithThePlainRuleOnAnyText) {
  std::mt19937 random(3);
  const std::string alphabet = "0123456789012345678901234567890123456789..--// a";
  for (int i = 0; i < 50000; ++i) {
    std::string text(random() % 13, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    ASSERT_EQ(FormatObjectDate(text), PlainDate(text)) << "'" << text << "'";
  }
}

TEST(FormatObjectTime, GivesTheHourTwoDigits) {
  const Case cases[] = {
      {"9:05:00", "09:05:00"},
      {"  12:30:00   ", "12:30:00"},
      {" 9:05:00  ", "09:05:00"},
      {"9:05:00 PM", "09:05:00 PM"},
      {"", ""},
      {"           ", ""},
      {"12:00:00 AM", "12:00:00 AM"},
      {":", ":"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatObjectTime(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace quillet
