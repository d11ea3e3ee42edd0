#include "objects/date_time_format.h"

#include <gtest/gtest.h>

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
      {"          ", "20"},  // blank: only the century
      {"", "20"},
      {"1.12.08", "2008-2.-1."},  // one-digit day: reordered by position all the same
      {"081231", "20081231"},     // no separator: only the century
      {"123456789012345", "20123456789012345"},
      {"31.12/08", "2008-12-31"},  // a point wins over a slash
      {"ab.cd.ef", "20ef-cd-ab"},  // no digits read as 0
      {"1.1", "20.1--1."},         // shorter than the positions it reads
  };
  for (const Case& c : cases) EXPECT_EQ(FormatObjectDate(c.input), c.expected) << c.input;
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
