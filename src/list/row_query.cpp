#include "list/row_query.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "list/row_query_text.h"
#include "objects/object_types.h"
#include "objects/text.h"

namespace quillet {
namespace {

using Kind = RowQuery::Kind;
using Term = RowQuery::Term;
using IdRange = RowQuery::IdRange;
using namespace query;

// ---- Matching: on every row of every keystroke, so nothing here allocates. ----

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

// ---- Folding: a pasted filter may repeat a word thousands of times. ----

// What a term asks, negation aside: two terms that ask the same order equal.
auto Asked(const Term& term) { return std::tie(term.kind, term.set, term.ranges, term.texts); }

// Terms in one order, kind first, so that the same terms stand side by side and the cheapest
// tests lead.
bool TermBefore(const Term& a, const Term& b) {
  return std::tie(a.kind, a.set, a.ranges, a.texts, a.negated) <
         std::tie(b.kind, b.set, b.ranges, b.texts, b.negated);
}

// Alternatives in one order, each once, so that a word written twice in two ways is one word.
void Normalize(Term& term) {
  std::sort(term.ranges.begin(), term.ranges.end());
  term.ranges.erase(std::unique(term.ranges.begin(), term.ranges.end()), term.ranges.end());
  if (term.kind == Kind::kTag) {
    std::sort(term.texts.begin(), term.texts.end());
    term.texts.erase(std::unique(term.texts.begin(), term.texts.end()), term.texts.end());
  }
}

// The line's distinct terms, cheapest test first; false when it asks a word and its negation,
// so that no row can match it.
bool FoldLine(std::vector<Term>& line) {
  for (Term& term : line) Normalize(term);
  std::sort(line.begin(), line.end(), TermBefore);
  std::vector<Term> folded;
  for (Term& term : line) {
    if (!folded.empty() && Asked(folded.back()) == Asked(term)) {
      if (folded.back().negated != term.negated) return false;
      continue;
    }
    folded.push_back(std::move(term));
  }
  line = std::move(folded);
  return true;
}

// Lines in one order, so that repeated ones stand side by side.
bool LineBefore(const std::vector<Term>& a, const std::vector<Term>& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), TermBefore);
}

bool SameLine(const std::vector<Term>& a, const std::vector<Term>& b) {
  return !LineBefore(a, b) && !LineBefore(b, a);
}

}  // namespace

RowQuery::RowQuery(std::vector<std::vector<Term>> lines) {
  std::vector<std::vector<Term>> kept;
  for (std::vector<Term>& line : lines) {
    if (line.empty()) continue;
    matches_nothing_ = true;  // unless a line is kept
    if (FoldLine(line)) kept.push_back(std::move(line));
  }
  // A row passes when any line matches, so the lines' order is free.
  std::sort(kept.begin(), kept.end(), LineBefore);
  kept.erase(std::unique(kept.begin(), kept.end(), SameLine), kept.end());
  for (std::vector<Term>& line : kept) {
    for (Term& term : line) terms_.push_back(std::move(term));
    line_ends_.push_back(static_cast<std::uint32_t>(terms_.size()));
  }
  if (!line_ends_.empty()) matches_nothing_ = false;
}

bool RowQuery::Matches(const QueryRow& row) const noexcept {
  if (line_ends_.empty()) return !matches_nothing_;
  std::size_t term = 0;
  for (const std::uint32_t end : line_ends_) {
    bool all = true;
    for (; term < end && all; ++term) all = TermMatches(terms_[term], row) != terms_[term].negated;
    if (all) return true;
    term = end;
  }
  return false;
}

bool AnyMatches(const RowQuery& query, std::span<const RowView> rows) {
  for (const RowView& row : rows) {
    if (query.Matches(QueryRowOf(row))) return true;
  }
  return false;
}

}  // namespace quillet
