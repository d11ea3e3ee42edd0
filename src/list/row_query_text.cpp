#include "list/row_query_text.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "objects/text.h"

namespace quillet::query {
namespace {

// For each small letter its capital, for each other byte itself: the two bytes a folded letter
// may stand for in the list.
constexpr std::array<unsigned char, 256> MakeCapitals() {
  std::array<unsigned char, 256> capitals{};
  for (int i = 0; i < 256; ++i) capitals[i] = static_cast<unsigned char>(i);
  for (int i = 0; i < 256; ++i) {
    const unsigned char folded = FoldCase(static_cast<unsigned char>(i));
    if (folded != i) capitals[folded] = static_cast<unsigned char>(i);
  }
  return capitals;
}
constexpr std::array<unsigned char, 256> kCapitals = MakeCapitals();

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// A high bit in each byte of `word` that is `byte`: exact for the lowest such byte, while
// higher ones may be false alarms, which the caller checks anyway.
std::uint64_t BytesEqual(std::uint64_t word, unsigned char byte) {
  const std::uint64_t x = word ^ (kOnes * byte);
  return (x - kOnes) & ~x & kHighs;
}

bool HoldsAt(const char* at, std::string_view needle) {
  for (std::size_t k = 0; k < needle.size(); ++k) {
    if (FoldCase(static_cast<unsigned char>(at[k])) != static_cast<unsigned char>(needle[k])) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string_view Trimmed(std::string_view text) {
  std::size_t end = text.size();
  while (end >= 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + end - 8, 8);
    const std::uint64_t others = word ^ (kOnes * ' ');  // a byte not 0 for each non-blank
    if (others != 0) {
      // The last non-blank is the highest such byte in memory order.
      if constexpr (std::endian::native == std::endian::little) {
        end -= static_cast<std::size_t>(std::countl_zero(others)) / 8;
        return TrimBlanks(text.substr(0, end));
      }
      break;
    }
    end -= 8;
  }
  return TrimBlanks(text.substr(0, end));
}

// The first letter's places are found eight bytes at a time, in either case: every keystroke
// in the filter bar runs this over every row.
bool ContainsFolded(std::string_view text, std::string_view needle) {
  if (needle.empty()) return true;
  if (needle.size() > text.size()) return false;
  const auto small = static_cast<unsigned char>(needle[0]);
  const unsigned char capital = kCapitals[small];
  const std::size_t starts = text.size() - needle.size() + 1;  // places the needle may start
  std::size_t i = 0;
  for (; i + 8 <= text.size() && i < starts; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    std::uint64_t hits = BytesEqual(word, small) | BytesEqual(word, capital);
    while (hits != 0) {
      const std::size_t at = i + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
      if (at >= starts) return false;
      if (HoldsAt(text.data() + at, needle)) return true;
      hits &= hits - 1;
    }
  }
  for (; i < starts; ++i) {
    if (HoldsAt(text.data() + i, needle)) return true;
  }
  return false;
}

// On a mismatch only the last '*' is retried one character further, so the time stays length
// times length, whatever the pattern.
bool GlobMatches(std::string_view pattern, std::string_view tag) {
  std::size_t p = 0, t = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (t < tag.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && static_cast<unsigned char>(pattern[p]) ==
                                         FoldCase(static_cast<unsigned char>(tag[t]))) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool TagsMatch(std::string_view version, const std::vector<std::string>& patterns) {
  while (!version.empty()) {
    const std::size_t comma = version.find(',');
    const std::string_view tag = TrimBlanks(version.substr(0, comma));
    if (!tag.empty()) {
      for (const std::string& pattern : patterns) {
        if (GlobMatches(pattern, tag)) return true;
      }
    }
    if (comma == std::string_view::npos) break;
    version.remove_prefix(comma + 1);
  }
  return false;
}

}  // namespace quillet::query
