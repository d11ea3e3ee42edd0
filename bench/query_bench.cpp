// Filter figures: what one keystroke in the filter bar costs, that is reading the filter and
// testing it on every row of a list of 40000 rows (two files of 20000 objects, every type
// shown), for filters users type. The "per_keystroke_ms" counter is the time per keystroke.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench_workspace.h"
#include "commands/listing.h"
#include "list/row_query.h"

namespace {

using namespace quillet;
using Clock = std::chrono::steady_clock;

struct Rows : bench::ChangedPair {
  Rows() : ChangedPair(20000) { RefreshList(ws); }
};

const Rows& List() {
  static const Rows rows;
  return rows;
}

void Keystroke(benchmark::State& state, const char* filter) {
  const Rows& rows = List();
  long long matched = 0;
  double seconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const Result<RowQuery> parse = ParseRowQuery(filter);
    if (!parse.ok()) {
      state.SkipWithError(parse.error().c_str());
      return;
    }
    matched = 0;
    for (const ObjectRow& row : rows.list.AllRows()) {
      matched += parse->Matches(QueryRowOf(rows.list.ViewOf(row))) ? 1 : 0;
    }
    benchmark::DoNotOptimize(matched);
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  const auto count = static_cast<double>(rows.list.RowCount());
  const double per_keystroke = seconds / static_cast<double>(state.iterations());
  state.counters["rows"] = count;
  state.counters["matched"] = static_cast<double>(matched);
  state.counters["per_keystroke_ms"] = per_keystroke * 1e3;
  state.counters["per_10000_rows_ms"] = per_keystroke * 1e3 * 10000 / count;
}

void BM_ParseTypicalFilter(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ParseRowQuery("id:50000..99999 -type:TableData tag:CUST*|NAV* \"sales post\""));
  }
}

// A pasted filter of 10,000 words, ten of them distinct, none matching: every word is asked of
// every row, so its cost is that of its distinct words.
void BM_PastedTenThousandWords(benchmark::State& state) {
  static const std::string words = [] {
    std::string text;
    for (int i = 0; i < 10000; ++i) text += " -xyzzy" + std::to_string(i % 10);
    return text;
  }();
  Keystroke(state, words.c_str());
}

BENCHMARK(BM_ParseTypicalFilter);
BENCHMARK(BM_PastedTenThousandWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keystroke, Word, "posting")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keystroke, AccentedWord,
                  "\xC3\xBC"
                  "bersicht")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keystroke, IdRangeNotTableData, "id:50000..99999 -type:TableData")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keystroke, TagPattern, "tag:CUST*")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keystroke, Typical,
                  "id:50000..99999 -type:TableData tag:CUST*|NAV* \"sales post\"")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Keystroke, FiveWords, "type:codeunit|page name:sales -tag:FIX* entry ledger")
    ->Unit(benchmark::kMillisecond);

}  // namespace
