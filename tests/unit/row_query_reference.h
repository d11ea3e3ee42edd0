#pragma once

// The filter rules the plain way: strings copied and lowered, tags split into vectors, '*'
// matched by trying every split, numbers compared after padding them to one length. Slow on
// purpose and simple enough to check by reading; the core's query must agree with it on every
// row.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list/row_query.h"
#include "objects/code_page.h"
#include "objects/object_types.h"

namespace quillet::test::reference {

inline std::string Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

// The capitals of Windows-1252 and their small letters, pair by pair.
inline std::string Lower(std::string_view text) {
  static const std::string kUpper =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZ\x8A\x8C\x8E\x9F"
      "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"
      "\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE";
  static const std::string kLower =
      "abcdefghijklmnopqrstuvwxyz\x9A\x9C\x9E\xFF"
      "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
      "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE";
  std::string lowered(text);
  for (char& c : lowered) {
    const std::size_t at = kUpper.find(c);
    if (at != std::string::npos) c = kLower[at];
  }
  return lowered;
}

// UTF-8 to Windows-1252, or nothing where it is not UTF-8 or has a character Windows-1252 lacks.
inline std::optional<std::string> ToWindows1252(std::string_view utf8) {
  std::string text;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    int length;
    char32_t code;
    char32_t least;
    if (b0 < 0x80) {
      length = 1, code = b0, least = 0;
    } else if ((b0 & 0xE0) == 0xC0) {
      length = 2, code = b0 & 0x1F, least = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      length = 3, code = b0 & 0x0F, least = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      length = 4, code = b0 & 0x07, least = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + length > utf8.size()) return std::nullopt;
    for (int k = 1; k < length; ++k) {
      const auto b = static_cast<unsigned char>(utf8[i + k]);
      if ((b & 0xC0) != 0x80) return std::nullopt;
      code = code * 64 + (b & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    int found = -1;
    for (int byte = 0; byte < 256; ++byte) {
      if (Windows1252ToUnicode(static_cast<unsigned char>(byte)) == code) found = byte;
    }
    if (found < 0) return std::nullopt;
    text += static_cast<char>(found);
    i += length;
  }
  return text;
}

inline std::vector<std::string> Split(const std::string& text, char at) {
  std::vector<std::string> parts{""};
  for (char c : text) {
    if (c == at) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

inline bool IsDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::string_view("0123456789").find(c) != std::string_view::npos;
  });
}

// a <= b for whole numbers written as digits.
inline bool NotGreater(std::string a, std::string b) {
  const std::size_t width = std::max(a.size(), b.size());
  a.insert(0, width - a.size(), '0');
  b.insert(0, width - b.size(), '0');
  return a <= b;
}

inline bool Glob(const std::string& pattern, const std::string& text) {
  if (pattern.empty()) return text.empty();
  if (pattern[0] == '*') {
    for (std::size_t skip = 0; skip <= text.size(); ++skip) {
      if (Glob(pattern.substr(1), text.substr(skip))) return true;
    }
    return false;
  }
  return !text.empty() && pattern[0] == text[0] && Glob(pattern.substr(1), text.substr(1));
}

// One alternative of id:: a number, or a range with a number on at least one side that does
// not run backwards.
inline bool IdAlternativeOk(const std::string& alternative) {
  const std::vector<std::string> ends = Split(alternative, '.');
  const bool range = ends.size() == 3 && ends[1].empty();
  if (!range) return IsDigits(alternative);
  return !(ends[0].empty() && ends[2].empty()) && (ends[0].empty() || IsDigits(ends[0])) &&
         (ends[2].empty() || IsDigits(ends[2])) &&
         (ends[0].empty() || ends[2].empty() || NotGreater(ends[0], ends[2]));
}

struct Word {
  bool negated = false;
  std::string key;                  // lower case; empty for text
  std::vector<std::string> values;  // Windows-1252: the alternatives, or the one text
};

// A row passes when it matches every word of any line.
struct Filter {
  bool ok = false;
  std::string bad_word;  // as typed, where not ok
  std::vector<std::vector<Word>> lines;
};

inline bool IsBlank(char c) { return std::string_view(" \t\n\r\v\f").find(c) != std::string::npos; }
inline bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

inline Filter Parse(const std::string& text) {
  Filter filter;
  filter.lines.emplace_back();
  std::size_t i = 0;
  bool line_start = true;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) {
      if (IsLineEnd(text[i])) line_start = true;
      ++i;
    }
    if (i == text.size()) break;
    if (line_start && !filter.lines.back().empty()) filter.lines.emplace_back();
    const bool first_word = line_start;
    line_start = false;
    const std::size_t start = i;
    std::size_t end = i;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    Word word;
    std::string rest = text.substr(start, end - start);
    auto fail = [&](std::size_t word_end) {
      filter.bad_word = text.substr(start, word_end - start);
      return filter;
    };
    // "Table: 18|27", as the ID lines are written, first on a line: type:Table id:18|27.
    const std::string type_name = rest.substr(0, rest.size() - 1);
    bool id_line = first_word && rest.size() > 1 && rest.back() == ':';
    for (char c : type_name) id_line = id_line && std::isalpha(static_cast<unsigned char>(c));
    bool is_type = false;
    for (std::string_view name : kTypeNames) is_type = is_type || Lower(name) == Lower(type_name);
    if (id_line && is_type) {
      std::size_t ids = end;
      while (ids < text.size() && IsBlank(text[ids]) && !IsLineEnd(text[ids])) ++ids;
      std::size_t ids_end = ids;
      while (ids_end < text.size() && !IsBlank(text[ids_end])) ++ids_end;
      if (ids == ids_end) return fail(end);
      filter.lines.back().push_back({false, "type", {type_name}});
      const std::optional<std::string> value = ToWindows1252(text.substr(ids, ids_end - ids));
      if (!value) return fail(ids_end);
      for (const std::string& alternative : Split(*value, '|')) {
        if (!IdAlternativeOk(alternative)) return fail(ids_end);
      }
      filter.lines.back().push_back({false, "id", Split(*value, '|')});
      i = ids_end;
      continue;
    }
    if (rest[0] == '-') {
      word.negated = true;
      rest.erase(0, 1);
      if (rest.empty() || rest[0] == '-') return fail(end);
    }
    std::size_t letters = 0;
    while (letters < rest.size() && std::isalpha(static_cast<unsigned char>(rest[letters]))) {
      ++letters;
    }
    if (letters > 0 && letters < rest.size() && rest[letters] == ':') {
      for (std::size_t k = 0; k < letters; ++k) {
        word.key += static_cast<char>(std::tolower(static_cast<unsigned char>(rest[k])));
      }
      rest.erase(0, letters + 1);
    }
    const std::size_t value_at = end - rest.size();  // where the value starts in `text`
    std::string value = rest;
    bool quoted = false;
    if (value_at < text.size() && text[value_at] == '"') {
      const std::size_t close = text.find('"', value_at + 1);
      if (close == std::string::npos) return fail(text.size());
      value = text.substr(value_at + 1, close - value_at - 1);
      quoted = true;
      end = close + 1;
      if (end < text.size() && !IsBlank(text[end])) {
        while (end < text.size() && !IsBlank(text[end])) ++end;
        return fail(end);
      }
    }
    i = end;
    const std::optional<std::string> converted = ToWindows1252(value);
    if (!converted || (converted->empty() && (quoted || !word.key.empty()))) return fail(end);
    const std::vector<std::string> keys = {"id", "type", "tag", "name", "status"};
    if (!word.key.empty() && std::find(keys.begin(), keys.end(), word.key) == keys.end()) {
      return fail(end);
    }
    if (word.key.empty() || word.key == "name") {
      word.values = {*converted};
    } else {
      word.values = Split(*converted, '|');
    }
    for (std::string& alternative : word.values) {
      if (word.key == "tag") alternative = Trim(alternative);
      if (alternative.empty()) return fail(end);
      if (word.key == "id") {
        if (!IdAlternativeOk(alternative)) return fail(end);
      } else if (word.key == "type") {
        bool known = false;
        for (std::string_view name : kTypeNames) known = known || Lower(name) == Lower(alternative);
        if (!known) return fail(end);
      } else if (word.key == "status") {
        bool known = false;
        for (std::string_view name : kQueryStatusNames) known = known || name == Lower(alternative);
        if (!known) return fail(end);
      } else if (word.key == "tag" && alternative.find(',') != std::string::npos) {
        return fail(end);
      }
    }
    filter.lines.back().push_back(word);
  }
  if (filter.lines.back().empty()) filter.lines.pop_back();
  filter.ok = true;
  return filter;
}

inline bool WordMatches(const Word& word, const QueryRow& row) {
  const std::string name = Lower(Trim(row.name));
  const std::string version = Lower(Trim(row.version));
  if (word.key.empty()) {
    const std::string text = Lower(word.values[0]);
    return name.find(text) != std::string::npos || version.find(text) != std::string::npos;
  }
  if (word.key == "name") return name.find(Lower(word.values[0])) != std::string::npos;
  for (const std::string& alternative : word.values) {
    if (word.key == "id") {
      const std::string id = Trim(row.id);
      if (!IsDigits(id)) return false;
      const std::vector<std::string> ends = Split(alternative, '.');
      if (ends.size() == 1 && NotGreater(id, alternative) && NotGreater(alternative, id)) {
        return true;
      }
      if (ends.size() == 3 && (ends[0].empty() || NotGreater(ends[0], id)) &&
          (ends[2].empty() || NotGreater(id, ends[2]))) {
        return true;
      }
    } else if (word.key == "type") {
      if (Lower(alternative) == Lower(Trim(row.type)) &&
          std::find(kTypeNames.begin(), kTypeNames.end(), Trim(row.type)) != kTypeNames.end()) {
        return true;
      }
    } else if (word.key == "status") {
      if (!row.status.empty() && Lower(alternative) == Lower(row.status)) return true;
    } else {  // tag
      for (const std::string& tag : Split(version, ',')) {
        if (!Trim(tag).empty() && Glob(Lower(alternative), Trim(tag))) return true;
      }
    }
  }
  return false;
}

inline bool Matches(const Filter& filter, const QueryRow& row) {
  if (filter.lines.empty()) return true;
  for (const std::vector<Word>& line : filter.lines) {
    bool all = true;
    for (const Word& word : line) all = all && WordMatches(word, row) != word.negated;
    if (all) return true;
  }
  return false;
}

}  // namespace quillet::test::reference
