// Comparison figures: both comparisons of two 20000-object files that differ in about 5 % of
// their objects, every box ticked, through the list as the window runs them; and the pairwise
// way, once each, for the speed-up (the "speedup" counter of the pairwise figures). The keyed
// changes of the same pair, and the upgrade analysis of three such files (a base and two
// copies changed apart), are timed in the core, their rows counted and dropped.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "bench_workspace.h"
#include "commands/compare.h"
#include "gen/generator.h"
#include "list/changes.h"
#include "list/file_comparison.h"
#include "list/upgrade.h"
#include "pairwise_reference.h"

namespace {

using namespace quillet;
using Clock = std::chrono::steady_clock;

// A large customer database. The table's capacity is whatever memory allows, so it cannot size
// the files.
constexpr int kObjects = 20000;

using Pair = bench::ChangedPair;

Pair& Files() {
  static Pair pair(kObjects);
  return pair;
}

// The base, file #1 as the pair's file #2, and file #2 changed from the base on its own.
struct Triple : bench::BenchWorkspace {
  Triple() {
    gen::Options options;
    options.objects = kObjects;
    options.date_form = gen::DateForm::kMixed;
    const auto base = gen::GenerateObjects(options);
    for (int file = 0; file < 3; ++file) {
      auto objects = base;
      if (file > 0) gen::Mutate(objects, 0.05, file == 1 ? 7 : 11);
      objects.resize(std::min<std::size_t>(objects.size(), kObjects));
      Read(file, gen::EncodeFile(objects, options));
    }
    filter.types.fill(true);
  }
};

Triple& Releases() {
  static Triple triple;
  return triple;
}

// Mean seconds per run of the fast comparisons, for the pairwise figures' speed-up.
double g_equal_seconds = 0;
double g_different_seconds = 0;

template <class Run>
double Time(benchmark::State& state, Run run) {
  double seconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    run();
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  return seconds / static_cast<double>(state.iterations());
}

void BM_CompareEqual20000(benchmark::State& state) {
  Pair& p = Files();
  g_equal_seconds = Time(state, [&] { CompareEqual(p.ws, {}); });
  state.counters["rows"] = p.list.RowCount();
}

void BM_CompareDifferent20000(benchmark::State& state) {
  Pair& p = Files();
  g_different_seconds = Time(state, [&] { CompareDifferent(p.ws, {}); });
  state.counters["rows"] = p.list.RowCount();
}

void BM_PairwiseEqual20000(benchmark::State& state) {
  Pair& p = Files();
  std::size_t rows = 0;
  const double seconds =
      Time(state, [&] { rows = test::PairwiseEqual(p.table, {}, p.filter, p.status).size(); });
  state.counters["rows"] = static_cast<double>(rows);
  if (g_equal_seconds > 0) state.counters["speedup"] = seconds / g_equal_seconds;
}

void BM_PairwiseDifferent20000(benchmark::State& state) {
  Pair& p = Files();
  std::size_t rows = 0;
  const double seconds =
      Time(state, [&] { rows = test::PairwiseDifferent(p.table, {}, p.filter, p.status).size(); });
  state.counters["rows"] = static_cast<double>(rows);
  if (g_different_seconds > 0) state.counters["speedup"] = seconds / g_different_seconds;
}

template <class Status>
class CountRows final : public KeyedVisitor<Status> {
 public:
  bool Row(const KeyedRow<Status>&) override {
    ++rows;
    return true;
  }
  long long rows = 0;
};

void BM_Changes20000(benchmark::State& state) {
  Pair& p = Files();
  CountRows<ChangeStatus> visitor;
  for (auto _ : state) {
    visitor.rows = 0;
    const ChangesResult result =
        ListChanges(p.table, {}, p.filter, kDefaultChangeStatuses, p.status, visitor);
    benchmark::DoNotOptimize(result.differs);
  }
  state.counters["rows"] = static_cast<double>(visitor.rows);
}

void BM_Upgrade20000(benchmark::State& state) {
  Triple& t = Releases();
  CountRows<UpgradeResult> visitor;
  for (auto _ : state) {
    visitor.rows = 0;
    const UpgradeAnalysis analysis =
        AnalyzeUpgrade(t.table, {}, t.filter, kDefaultUpgradeResults, t.status, visitor);
    benchmark::DoNotOptimize(analysis.conflicts);
  }
  state.counters["rows"] = static_cast<double>(visitor.rows);
}

BENCHMARK(BM_CompareEqual20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareDifferent20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Changes20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Upgrade20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PairwiseEqual20000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PairwiseDifferent20000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
