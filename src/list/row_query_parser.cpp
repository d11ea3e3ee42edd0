// Reading a filter: its lines, their words, and each word's value.
#include <string>
#include <utility>
#include <vector>

#include "list/row_query.h"
#include "list/row_query_keys.h"
#include "list/row_query_text.h"
#include "objects/code_page.h"
#include "objects/object_types.h"
#include "objects/text.h"

namespace quillet {
namespace {

using Kind = RowQuery::Kind;
using Term = RowQuery::Term;
using IdRange = RowQuery::IdRange;
using namespace query;

// What one word of the filter says, before its value is read.
struct Word {
  std::string_view whole;  // as typed, for messages
  bool negated = false;
  std::string_view key;    // the letters before ':', or empty for text
  std::string_view value;  // the text, the value after ':' or what the quotes hold
};

// Where a line of the filter ends. A line end inside quotes belongs to the quoted text.
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// The blanks that separate words: those a paste from another program may bring as well.
bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || IsLineEnd(c); }

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

Error ErrorAt(std::string_view word, std::string_view why) {
  return Fail(ShownUtf8(word) + ": " + ShownUtf8(why));
}

std::size_t WordEnd(std::string_view text, std::size_t from) {
  while (from < text.size() && !IsSeparator(text[from])) ++from;
  return from;
}

// Reads the word that starts at `pos` (not a separator) and moves `pos` past it, or says why
// the word's form is wrong.
Status ScanWord(std::string_view text, std::size_t& pos, Word& word) {
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
  return Ok();
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

// Reads one alternative of id: into `range`, or says why it cannot be read.
Status ReadIdRange(std::string_view alternative, IdRange& range) {
  const std::size_t dots = alternative.find("..");
  const std::string_view low = alternative.substr(0, dots);
  const std::string_view high = dots == std::string_view::npos ? low : alternative.substr(dots + 2);
  if (low.empty() && high.empty()) return Fail("\"..\" needs a number on at least one side");
  for (const std::string_view end : {low, high}) {
    if (!end.empty() && !AllDigits(end)) return Fail(Quoted(end) + " is not a whole number");
  }
  range.has_low = !low.empty();
  range.has_high = !high.empty();
  range.low = WithoutLeadingZeros(low);
  range.high = WithoutLeadingZeros(high);
  if (range.has_low && range.has_high && CompareNumbers(range.low, range.high) > 0) {
    return Fail(Quoted(alternative) + " runs backwards: the first number must not be the greater");
  }
  return Ok();
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

// Reads the value of a key word into `term`, or says why it cannot be read.
Status ReadKeyValue(Kind kind, std::string_view value, Term& term) {
  term.kind = kind;
  if (kind == Kind::kName) {
    term.texts.push_back(Folded(value));
    return Ok();
  }
  std::vector<std::string_view> alternatives;
  if (!SplitAlternatives(value, alternatives)) return Fail("an alternative is empty");
  for (std::string_view alternative : alternatives) {
    if (kind == Kind::kId) {
      IdRange range;
      if (Status read = ReadIdRange(alternative, range); !read) return read;
      term.ranges.push_back(std::move(range));
    } else if (kind == Kind::kType) {
      const int type = IndexIgnoringCase(kTypeNames, alternative);
      if (type < 0) {
        return Fail(Quoted(alternative) + " is not an object type (" + NameList(kTypeNames) + ")");
      }
      term.set |= static_cast<std::uint16_t>(1u << type);
    } else if (kind == Kind::kStatus) {
      const int status = IndexIgnoringCase(kQueryStatusNames, alternative);
      if (status < 0) {
        return Fail(Quoted(alternative) + " is not a status (" + NameList(kQueryStatusNames) + ")");
      }
      term.set |= static_cast<std::uint16_t>(1u << status);
    } else {  // tag
      const std::string_view tag = TrimBlanks(alternative);
      if (tag.empty()) return Fail("an alternative is empty");
      if (tag.find(',') != std::string_view::npos) {
        return Fail(Quoted(tag) + " holds a comma, which no tag does; for either tag write A|B");
      }
      term.texts.push_back(Folded(tag));
    }
  }
  return Ok();
}

std::string KeyList() {
  std::string list;
  for (const QueryKey& key : kQueryKeys) {
    list += (list.empty() ? "" : ", ") + std::string(key.name) + ":";
  }
  return list;
}

// The word as a term, or why it cannot be read.
Status ReadWord(const Word& word, Term& term) {
  term.negated = word.negated;
  const StrictText value = Utf8ToWindows1252Strict(word.value);
  if (!value.error.empty()) return Fail(value.error);
  if (word.key.empty()) {
    if (value.text.empty()) return Fail("nothing stands between the quotes");
    term.kind = Kind::kText;
    term.texts.push_back(Folded(value.text));
    return Ok();
  }
  const std::string key = AsciiLowercase(word.key);
  const QueryKey* known = nullptr;
  for (const QueryKey& k : kQueryKeys) known = k.name == key ? &k : known;
  if (known == nullptr) {
    return Fail("\"" + std::string(word.key) + ":\" is not a key word (" + KeyList() +
                "); put text with a colon in quotes");
  }
  if (value.text.empty()) return Fail("nothing follows \"" + std::string(word.key) + ":\"");
  return ReadKeyValue(known->kind, value.text, term);
}

// A line that starts "Table: 18|27|5050..5060", as the ID lines are written: a type's name
// and a colon as a word of its own, then the IDs as the next word. Gives false when the line
// does not start so; `pos` then stays.
Result<bool> ReadIdLineStart(std::string_view text, std::size_t& pos, std::vector<Term>& line) {
  std::size_t colon = pos;
  while (colon < text.size() && IsAsciiLetter(text[colon])) ++colon;
  if (colon == pos || colon == text.size() || text[colon] != ':' ||
      (colon + 1 < text.size() && !IsSeparator(text[colon + 1]))) {
    return false;
  }
  const int type = TypeIndexIgnoringCase(text.substr(pos, colon - pos));
  if (type < 0) return false;
  std::size_t at = colon + 1;
  while (at < text.size() && IsSeparator(text[at]) && !IsLineEnd(text[at])) ++at;
  const std::size_t end = WordEnd(text, at);
  const std::string_view whole = text.substr(pos, end - pos);
  if (at == end) {
    return ErrorAt(text.substr(pos, colon + 1 - pos),
                   "nothing follows \"" + std::string(text.substr(pos, colon + 1 - pos)) + "\"");
  }
  Term type_term;
  type_term.kind = Kind::kType;
  type_term.set = static_cast<std::uint16_t>(1u << type);
  Term ids;
  if (Status read = ReadWord({whole, false, "id", text.substr(at, end - at)}, ids); !read) {
    return ErrorAt(whole, read.error());
  }
  line.push_back(std::move(type_term));
  line.push_back(std::move(ids));
  pos = end;
  return true;
}

}  // namespace

Result<RowQuery> ParseRowQuery(std::string_view utf8) {
  std::vector<std::vector<Term>> lines(1);
  bool line_start = true;
  std::size_t pos = 0;
  while (true) {
    while (pos < utf8.size() && IsSeparator(utf8[pos])) {
      if (IsLineEnd(utf8[pos])) {
        if (!lines.back().empty()) lines.emplace_back();
        line_start = true;
      }
      ++pos;
    }
    if (pos == utf8.size()) break;
    if (line_start) {
      line_start = false;
      Result<bool> id_line = ReadIdLineStart(utf8, pos, lines.back());
      if (!id_line) return Error{id_line.error()};
      if (*id_line) continue;
    }
    Word word;
    if (Status scanned = ScanWord(utf8, pos, word); !scanned) return Error{scanned.error()};
    Term term;
    if (Status read = ReadWord(word, term); !read) return ErrorAt(word.whole, read.error());
    lines.back().push_back(std::move(term));
  }
  return RowQuery(std::move(lines));
}

}  // namespace quillet
