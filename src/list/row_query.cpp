#include "list/row_query.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "objects/code_page.h"
#include "objects/object_types.h"
#include "objects/text.h"

namespace quillet {
namespace {

using Kind = RowQuery::Kind;
using Term = RowQuery::Term;
using IdRange = RowQuery::IdRange;

// ---- Matching: on every row of every keystroke, so nothing here allocates. ----

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

// TrimBlanks, but eight filling blanks at a time from the end: a stored name or version is
// mostly the blanks that fill it to its width.
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

bool HoldsAt(const char* at, std::string_view needle) {
  for (std::size_t k = 0; k < needle.size(); ++k) {
    if (FoldCase(static_cast<unsigned char>(at[k])) != static_cast<unsigned char>(needle[k])) {
      return false;
    }
  }
  return true;
}

// Whether `text` holds `needle`, letter case folded; `needle` is folded already. The first
// letter's places are found eight bytes at a time, in either case: every keystroke in the
// filter bar runs this over every row.
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

// Whether `tag` is `pattern` (folded), where each '*' stands for any run of characters. On a
// mismatch only the last '*' is retried one character further, so the time stays
// length times length, whatever the pattern.
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

// Whether a tag of the version list (split at commas, blanks removed around each) matches one
// of the patterns. Empty pieces are no tags.
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

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// Order of two whole numbers of any length, as digit strings without leading zeros.
int CompareNumbers(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b);
}

bool IdMatches(std::string_view id_text, const std::vector<IdRange>& ranges) {
  const std::string_view id = TrimBlanks(id_text);
  if (id.empty() || !AllDigits(id)) return false;
  const std::string_view number = WithoutLeadingZeros(id);
  for (const IdRange& range : ranges) {
    if ((!range.has_low || CompareNumbers(range.low, number) <= 0) &&
        (!range.has_high || CompareNumbers(number, range.high) <= 0)) {
      return true;
    }
  }
  return false;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldCase(static_cast<unsigned char>(x)) ==
                  FoldCase(static_cast<unsigned char>(y));
         });
}

template <std::size_t N>
int IndexIgnoringCase(const std::array<std::string_view, N>& names, std::string_view text) {
  for (std::size_t i = 0; i < N; ++i) {
    if (EqualsIgnoringCase(names[i], text)) return static_cast<int>(i);
  }
  return -1;
}

bool Has(std::uint16_t set, int index) { return index >= 0 && ((set >> index) & 1) != 0; }

bool TermMatches(const Term& term, const QueryRow& row) {
  switch (term.kind) {
    case Kind::kStatus:
      return Has(term.set, IndexIgnoringCase(kQueryStatusNames, row.status));
    case Kind::kType:
      return Has(term.set, TypeIndex(Trimmed(row.type)));
    case Kind::kId:
      return IdMatches(row.id, term.ranges);
    case Kind::kTag:
      return TagsMatch(Trimmed(row.version), term.texts);
    case Kind::kName:
      return ContainsFolded(Trimmed(row.name), term.texts[0]);
    case Kind::kText:
      return ContainsFolded(Trimmed(row.name), term.texts[0]) ||
             ContainsFolded(Trimmed(row.version), term.texts[0]);
  }
  return false;
}

// ---- Reading the filter. ----

// What one word of the filter says, before its value is read.
struct Word {
  std::string_view whole;  // as typed, for messages
  bool negated = false;
  std::string_view key;    // the letters before ':', or empty for text
  std::string_view value;  // the text, the value after ':' or what the quotes hold
  bool quoted = false;
};

// The blanks that separate words: those a paste from another program may bring as well.
bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Text fit for a one-line message: what is not UTF-8, control characters and line separators
// become U+FFFD.
std::string ShownUtf8(std::string_view utf8) {
  std::string shown;
  for (std::size_t i = 0; i < utf8.size();) {
    const Utf8Char c = DecodeUtf8(utf8, i);
    if (c.length == 0 || c.code < 0x20 || (c.code >= 0x7F && c.code < 0xA0) || c.code == 0x2028 ||
        c.code == 0x2029) {
      shown += "\xEF\xBF\xBD";
      i += c.length == 0 ? 1 : static_cast<std::size_t>(c.length);
    } else {
      shown.append(utf8.substr(i, static_cast<std::size_t>(c.length)));
      i += static_cast<std::size_t>(c.length);
    }
  }
  return shown;
}

std::string Quoted(std::string_view windows1252) {
  return "\"" + ShownUtf8(Windows1252ToUtf8(windows1252)) + "\"";
}

std::string ErrorAt(std::string_view word, std::string_view why) {
  return ShownUtf8(word) + ": " + ShownUtf8(why);
}

std::size_t WordEnd(std::string_view text, std::size_t from) {
  while (from < text.size() && !IsSeparator(text[from])) ++from;
  return from;
}

// Reads the word that starts at `pos` (not a separator) and moves `pos` past it. Gives the
// error text instead where the word's form is wrong.
std::string ScanWord(std::string_view text, std::size_t& pos, Word& word) {
  const std::size_t start = pos;
  std::size_t at = pos;
  word.negated = text[at] == '-';
  if (word.negated) ++at;
  if (word.negated && (at == text.size() || IsSeparator(text[at]))) {
    pos = at;
    return ErrorAt(text.substr(start, at - start), "nothing follows the \"-\"");
  }
  if (word.negated && text[at] == '-') {
    pos = WordEnd(text, at);
    return ErrorAt(text.substr(start, pos - start),
                   "only one \"-\" may lead a word; put text that starts with \"-\" in quotes");
  }
  std::size_t key_end = at;
  while (key_end < text.size() && IsAsciiLetter(text[key_end])) ++key_end;
  if (key_end > at && key_end < text.size() && text[key_end] == ':') {
    word.key = text.substr(at, key_end - at);
    at = key_end + 1;
  }
  // A value in quotes runs to the closing quote, blanks included, and ends the word there.
  if (at < text.size() && text[at] == '"') {
    const std::size_t close = text.find('"', at + 1);
    if (close == std::string_view::npos) {
      pos = text.size();
      return ErrorAt(text.substr(start), "the closing quote is missing");
    }
    word.quoted = true;
    word.value = text.substr(at + 1, close - at - 1);
    pos = close + 1;
    if (pos < text.size() && !IsSeparator(text[pos])) {
      pos = WordEnd(text, pos);
      return ErrorAt(text.substr(start, pos - start),
                     "the word must end at its closing quote; put a blank after it");
    }
  } else {
    pos = WordEnd(text, at);
    word.value = text.substr(at, pos - at);
  }
  word.whole = text.substr(start, pos - start);
  return {};
}

// Splits a value at '|'; false where an alternative is empty.
bool SplitAlternatives(std::string_view value, std::vector<std::string_view>& alternatives) {
  while (true) {
    const std::size_t bar = value.find('|');
    alternatives.push_back(value.substr(0, bar));
    if (alternatives.back().empty()) return false;
    if (bar == std::string_view::npos) return true;
    value.remove_prefix(bar + 1);
  }
}

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  return folded;
}

// Reads one alternative of id: into `range`; gives why it cannot be read.
std::string ReadIdRange(std::string_view alternative, IdRange& range) {
  const std::size_t dots = alternative.find("..");
  const std::string_view low = alternative.substr(0, dots);
  const std::string_view high = dots == std::string_view::npos ? low : alternative.substr(dots + 2);
  if (low.empty() && high.empty()) return "\"..\" needs a number on at least one side";
  for (const std::string_view end : {low, high}) {
    if (!end.empty() && !AllDigits(end)) return Quoted(end) + " is not a whole number";
  }
  range.has_low = !low.empty();
  range.has_high = !high.empty();
  range.low = WithoutLeadingZeros(low);
  range.high = WithoutLeadingZeros(high);
  if (range.has_low && range.has_high && CompareNumbers(range.low, range.high) > 0) {
    return Quoted(alternative) + " runs backwards: the first number must not be the greater";
  }
  return {};
}

template <std::size_t N>
std::string NameList(const std::array<std::string_view, N>& names) {
  std::string list;
  for (std::size_t i = 0; i < N; ++i) {
    list += i == 0 ? "" : i + 1 == N ? " or " : ", ";
    list += names[i];
  }
  return list;
}

// Reads the value of a key word into `term`; gives why it cannot be read.
std::string ReadKeyValue(std::string_view key, std::string_view value, Term& term) {
  if (key == "name") {
    term.kind = Kind::kName;
    term.texts.push_back(Folded(value));
    return {};
  }
  std::vector<std::string_view> alternatives;
  if (!SplitAlternatives(value, alternatives)) return "an alternative is empty";
  for (std::string_view alternative : alternatives) {
    if (key == "id") {
      term.kind = Kind::kId;
      IdRange range;
      if (std::string why = ReadIdRange(alternative, range); !why.empty()) return why;
      term.ranges.push_back(std::move(range));
    } else if (key == "type") {
      term.kind = Kind::kType;
      const int type = IndexIgnoringCase(kTypeNames, alternative);
      if (type < 0) {
        return Quoted(alternative) + " is not an object type (" + NameList(kTypeNames) + ")";
      }
      term.set |= static_cast<std::uint16_t>(1u << type);
    } else if (key == "status") {
      term.kind = Kind::kStatus;
      const int status = IndexIgnoringCase(kQueryStatusNames, alternative);
      if (status < 0) {
        return Quoted(alternative) + " is not a status (" + NameList(kQueryStatusNames) + ")";
      }
      term.set |= static_cast<std::uint16_t>(1u << status);
    } else {  // tag
      term.kind = Kind::kTag;
      const std::string_view tag = TrimBlanks(alternative);
      if (tag.empty()) return "an alternative is empty";
      if (tag.find(',') != std::string_view::npos) {
        return Quoted(tag) + " holds a comma, which no tag does; for either tag write A|B";
      }
      term.texts.push_back(Folded(tag));
    }
  }
  return {};
}

// The word as a term, or why it cannot be read.
std::string ReadWord(const Word& word, Term& term) {
  term.negated = word.negated;
  const StrictText value = Utf8ToWindows1252Strict(word.value);
  if (!value.error.empty()) return value.error;
  if (word.key.empty()) {
    if (value.text.empty()) return "nothing stands between the quotes";
    term.kind = Kind::kText;
    term.texts.push_back(Folded(value.text));
    return {};
  }
  std::string key(word.key);
  for (char& c : key) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  static constexpr std::array<std::string_view, 5> kKeys = {"id", "type", "tag", "name", "status"};
  if (std::find(kKeys.begin(), kKeys.end(), key) == kKeys.end()) {
    return "\"" + std::string(word.key) +
           ":\" is not a key word (id:, type:, tag:, name:, status:); put text with a colon in "
           "quotes";
  }
  if (value.text.empty()) return "nothing follows \"" + std::string(word.key) + ":\"";
  return ReadKeyValue(key, value.text, term);
}

}  // namespace

RowQuery::RowQuery(std::vector<Term> terms) : terms_(std::move(terms)) {
  std::stable_sort(terms_.begin(), terms_.end(),
                   [](const Term& a, const Term& b) { return a.kind < b.kind; });
}

bool RowQuery::Matches(const QueryRow& row) const noexcept {
  for (const Term& term : terms_) {
    if (TermMatches(term, row) == term.negated) return false;
  }
  return true;
}

RowQueryParse ParseRowQuery(std::string_view utf8) {
  std::vector<Term> terms;
  std::size_t pos = 0;
  while (true) {
    while (pos < utf8.size() && IsSeparator(utf8[pos])) ++pos;
    if (pos == utf8.size()) break;
    Word word;
    if (std::string error = ScanWord(utf8, pos, word); !error.empty()) return {{}, error};
    Term term;
    if (std::string why = ReadWord(word, term); !why.empty()) {
      return {{}, ErrorAt(word.whole, why)};
    }
    terms.push_back(std::move(term));
  }
  return {RowQuery(std::move(terms)), {}};
}

bool AnyMatches(const RowQuery& query, std::span<const RowView> rows) {
  for (const RowView& row : rows) {
    if (query.Matches(QueryRowOf(row))) return true;
  }
  return false;
}

}  // namespace quillet
