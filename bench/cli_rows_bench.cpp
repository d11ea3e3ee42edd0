// The command line's work per row at 250,000 objects, without the reading: the saved list's
// lines of a whole file, the keys of two files put in list order, and the three comparisons of
// a release and its edited copies, their rows written as lines as the command line writes them.
// bench/cli-vs-grep times the whole process; these show which part of it moved.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "bench_workspace.h"
#include "gen/generator.h"
#include "list/changes.h"
#include "list/file_comparison.h"
#include "list/object_keys.h"
#include "list/upgrade.h"
#include "output/export_line.h"

namespace {

using namespace quillet;

constexpr int kObjects = 250000;

// A release as the base, file #0, and two copies of it changed apart (about 5 % each) as
// files #1 and #2: the upgrade analysis reads all three, the pair comparisons the two copies.
struct Releases : bench::BenchWorkspace {
  Releases() {
    gen::Options options;
    options.objects = kObjects;
    options.date_form = gen::DateForm::kMixed;
    const auto base = gen::GenerateObjects(options);
    for (int file = 0; file < 3; ++file) {
      auto objects = base;
      if (file > 0) gen::Mutate(objects, 0.05, file == 1 ? 2 : 3);
      objects.resize(std::min<std::size_t>(objects.size(), kObjects));
      Read(file, gen::EncodeFile(objects, options));
    }
    filter.types.fill(true);
  }
};

Releases& Files() {
  static Releases releases;
  return releases;
}

// Each row becomes its line, as the text output makes it; the buffer is reused.
class Lines final : public ComparisonVisitor {
 public:
  explicit Lines(const ObjectTable& table) : table_(table) {}
  bool Row(int file, int index) override {
    AppendExportLine(out, {file, table_.Record(file, index)});
    return true;
  }
  std::string out;

 private:
  const ObjectTable& table_;
};

template <class Status>
class KeyedLines final : public KeyedVisitor<Status> {
 public:
  KeyedLines(const ObjectTable& table, ListView view) : table_(table), view_(view) {}
  bool Row(const KeyedRow<Status>& row) override {
    AppendExportLine(
        out, {row.file, table_.Record(row.file, row.index), view_,
              static_cast<std::uint8_t>(row.status), static_cast<std::uint16_t>(row.changed)});
    return true;
  }
  std::string out;

 private:
  const ObjectTable& table_;
  ListView view_;
};

void BM_ListLines250000(benchmark::State& state) {
  Releases& r = Files();
  std::string out;
  for (auto _ : state) {
    out.clear();
    for (int i = 1; i <= r.table.Count(1); ++i) AppendExportLine(out, {1, r.table.Record(1, i)});
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(out.size()));
}

void BM_KeysInListOrder2x250000(benchmark::State& state) {
  Releases& r = Files();
  for (auto _ : state) {
    const ObjectKeys keys(r.table, {1, 2});
    benchmark::DoNotOptimize(keys.InListOrder().data());
  }
}

void BM_DifferentLines250000(benchmark::State& state) {
  Releases& r = Files();
  Lines lines(r.table);
  for (auto _ : state) {
    lines.out.clear();
    benchmark::DoNotOptimize(ListDifferentObjects(r.table, {}, r.filter, r.status, lines));
  }
  state.counters["bytes"] = static_cast<double>(lines.out.size());
}

void BM_ChangesLines250000(benchmark::State& state) {
  Releases& r = Files();
  KeyedLines<ChangeStatus> lines(r.table, ListView::kChanges);
  for (auto _ : state) {
    lines.out.clear();
    benchmark::DoNotOptimize(
        ListChanges(r.table, {}, r.filter, kDefaultChangeStatuses, r.status, lines).rows);
  }
  state.counters["bytes"] = static_cast<double>(lines.out.size());
}

void BM_UpgradeLines3x250000(benchmark::State& state) {
  Releases& r = Files();
  KeyedLines<UpgradeResult> lines(r.table, ListView::kUpgrade);
  for (auto _ : state) {
    lines.out.clear();
    benchmark::DoNotOptimize(
        AnalyzeUpgrade(r.table, {}, r.filter, kDefaultUpgradeResults, r.status, lines).rows);
  }
  state.counters["bytes"] = static_cast<double>(lines.out.size());
}

}  // namespace

BENCHMARK(BM_ListLines250000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeysInListOrder2x250000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DifferentLines250000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangesLines250000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpgradeLines3x250000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
