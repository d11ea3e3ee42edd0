// Filtering runs over every row on every keystroke, so a match must not allocate. This program
// replaces operator new to count allocations; it is a program of its own so that the other
// tests keep the sanitizers' own allocator checks.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "list/row_query.h"

namespace {

std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
// The library's temporary buffers use these; under AddressSanitizer every form of new must be
// ours, or its deletes would free what the sanitizer allocated.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1);
  return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace quillet {
namespace {

TEST(RowQueryAllocation, MatchingAllocatesNothing) {
  const Result<RowQuery> parse = ParseRowQuery(
      "-type:TableData type:Table|Codeunit id:..99|50000..99999999999999999999 tag:CUST*|NAV* "
      "name:\"sales-\" -\"gr\xC3\xB6\xC3\x9F\" post status:changed|same");
  ASSERT_TRUE(parse.ok()) << parse.error();
  // Rows as the list gives them: full-width fields, filling blanks included.
  const std::vector<QueryRow> rows = {
      {"Codeunit ", "        80", "Sales-Post                    ",
       "NAVW17.00,CUST7.94                                          ", "same"},
      {"Codeunit ", " 80       ", "Sales-Post", "NAVW17.00 , CUST7.94", "changed"},
      {"Codeunit ", "00000000000000000000080", "Sales-Posting", "APP1,CUST", "same"},
      {"Table    ", "        18", "Customer", "NAVW17.10,CUST7.94", "same"},
      {"Codeunit ", "        80",
       "Sales-Post Gr\xF6\xDF"
       "e",
       "CUST1", "same"},
      {"Codeunit ", "    1A    ", "Sales-Post", "CUST1", ""},
  };
  std::vector<bool> matches;
  matches.reserve(rows.size());
  g_allocations = 0;
  g_counting = true;
  for (const QueryRow& row : rows) matches.push_back(parse->Matches(row));
  g_counting = false;
  EXPECT_EQ(g_allocations.load(), 0);
  EXPECT_EQ(matches, (std::vector<bool>{true, true, true, false, false, false}));
}

}  // namespace
}  // namespace quillet
