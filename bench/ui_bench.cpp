// The window's share of the work: listing 40000 and 500,000 rows in the list view, sorting
// them, building the window, the matrix of twenty files, and the memory all of it takes. Runs
// offscreen. The filter's figures are in ui_filter_bench.cpp.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>

#include "commands/compare.h"
#include "commands/load_file.h"
#include "ui_bench_support.h"
#include "view/object_list_view.h"
#include "view/shown_rows.h"
#include "view/user_dialogs.h"

namespace {

using namespace quillet;
using namespace quillet::bench;

// Twenty installations of one release of 20000 objects, each changed on its own.
struct AcrossFixture {
  AcrossFixture() {
    gen::Options options;
    options.objects = 20000;
    options.repeated_tables = 40;
    const std::vector<gen::Object> release = gen::GenerateObjects(options);
    for (int file = 0; file < 20; ++file) {
      std::vector<gen::Object> copy = release;
      if (file > 0) gen::Mutate(copy, 0.02, static_cast<std::uint32_t>(file));
      names.push_back(dir.filePath(QString("site%1.fob").arg(file)).toStdString());
      gen::WriteFile(names.back().string(), gen::EncodeFile(copy, options));
    }
  }
  QTemporaryDir dir;
  std::vector<std::filesystem::path> names;
};

AcrossFixture& AcrossFiles20() {
  static AcrossFixture fixture;
  return fixture;
}

// Reading alone, with nothing to report to: the floor the window's listing adds to.
void BM_ReadTwoFilesCoreOnly(benchmark::State& state) {
  ObjectTable table;
  ObjectList list(table);
  RowFilter filter;
  filter.types.fill(true);
  NullStatusSink status;
  NullMessageSink messages;
  Workspace ws{table, list, filter, status, messages};
  for (auto _ : state) {
    for (int file : {1, 2}) LoadObjectFile(ws, Files().paths[file - 1].toStdString(), file);
  }
}

void BM_WindowLoadAndListTwoFiles(benchmark::State& state) {
  Window window;
  FrmMain& main = window.main;
  int resets = 0;
  QObject::connect(main.findChild<ObjectListView*>("lvMain")->model(),
                   &QAbstractItemModel::modelReset, [&] { ++resets; });
  for (auto _ : state) {
    resets = 0;
    window.Load(Files().paths);
    QApplication::processEvents();  // the view lays out and paints what it now shows
  }
  state.counters["rows"] = main.session().list().RowCount();
  state.counters["model_resets"] = resets;  // two removals and two listings
  state.counters["rss_MB"] = ResidentMegabytes();
}

// 500,000 rows in the window: both files read and listed, then compared.
void BM_WindowListTwo250000(benchmark::State& state) {
  Window window;
  FrmMain& main = window.main;
  // What the window takes before it holds a row: the rest is the files' records and rows.
  state.counters["rss_empty_MB"] = ResidentMegabytes();
  for (auto _ : state) {
    window.Load(LargeFiles().paths);
    QApplication::processEvents();
  }
  state.counters["rows"] = main.session().list().RowCount();
  state.counters["rss_MB"] = ResidentMegabytes();  // the whole process
}

void BM_WindowCompareDifferent250000(benchmark::State& state) {
  Window window;
  window.Load(LargeFiles().paths);
  FrmMain& main = window.main;
  for (auto _ : state) {
    main.session().Compare(CompareMode::kDifferent, {});
    QApplication::processEvents();
  }
  state.counters["rows"] = main.session().list().RowCount();
}

// The upgrade analysis of 250,000 objects with every result listed: the base and file #1 the
// same file, file #2 a changed copy, so about 750,000 rows.
struct Upgrade : Window {
  Upgrade() {
    main.LoadAndShowFile(LargeFiles().paths[0], kBaseFile);
    Load(LargeFiles().paths);
    main.session().Compare(CompareMode::kUpgrade, {});
    main.session().SetListed(~0u);
  }
};

void BM_WindowUpgrade250000(benchmark::State& state) {
  Upgrade window;
  for (auto _ : state) {
    window.main.session().Compare(CompareMode::kUpgrade, {});
    QApplication::processEvents();
  }
  state.counters["rows"] = window.main.session().list().RowCount();
}

// What the window adds to each rebuild of that list: its marks per side and its placeholders.
void BM_UpgradeShownRows250000(benchmark::State& state) {
  Upgrade window;
  ShownRows shown;
  const ObjectList& list = window.main.session().list();
  for (auto _ : state) {
    shown.Rebuild(list);
    benchmark::DoNotOptimize(shown.Count(list));
  }
  state.counters["rows"] = list.RowCount();
  state.counters["shown"] = shown.Count(list);
}

// With no box ticked every object equals every other: the list stops at the window's limit.
void BM_WindowEqualToThePairLimit(benchmark::State& state) {
  Window window;
  window.Load(Files().paths);
  FrmMain& main = window.main;
  const CompareCriteria none{false, false, false, false, false, false};
  // The rows keep their room between runs, so the first run shows what reaching the limit costs.
  const double before = ResidentMegabytes();
  double after = before;
  for (auto _ : state) {
    main.session().Compare(CompareMode::kEqual, none);
    QApplication::processEvents();
    state.PauseTiming();
    after = std::max(after, ResidentMegabytes());
    state.ResumeTiming();
  }
  const double rows = main.session().list().RowCount();
  state.counters["rows"] = rows;
  state.counters["MB_per_million_rows"] = (after - before) / (rows / 1e6);
}

// "Compare many files" on twenty files of 20000 objects: read, lined up, listed and painted.
void BM_WindowAcross20Files(benchmark::State& state) {
  Window window;
  FrmMain& main = window.main;
  for (auto _ : state) {
    main.CompareAcrossFiles(AcrossFiles20().names);
    QApplication::processEvents();
  }
  const AcrossMatrix& matrix = *main.session().across();
  state.counters["rows"] = matrix.RowCount();
  state.counters["rows_same"] = static_cast<double>(matrix.StatusCount(AcrossStatus::kSame));
  state.counters["rss_MB"] = ResidentMegabytes();
}

// Every row listed (the toggles of both statuses), sorted by a file's column, painted.
void BM_WindowAcrossListAllAndSort(benchmark::State& state) {
  Window window;
  FrmMain& main = window.main;
  main.CompareAcrossFiles(AcrossFiles20().names);
  const double before = ResidentMegabytes();
  for (auto _ : state) {
    main.session().SetAcrossListed(kAllAcrossStatuses);
    main.session().SortAcrossBy(kAcrossFirstFileColumn + 7);
    QApplication::processEvents();
    state.PauseTiming();
    main.session().SetAcrossListed(kDefaultAcrossStatuses);
    state.ResumeTiming();
  }
  main.session().SetAcrossListed(kAllAcrossStatuses);
  const double rows = main.session().across()->RowCount();
  state.counters["rows"] = rows;
  // What listing every row adds: the rows are kept as their key and instance only.
  state.counters["rss_added_bytes_per_row"] = (ResidentMegabytes() - before) * 1024 * 1024 / rows;
}

void BM_SortRows40000(benchmark::State& state) {
  Window window;
  window.Load(Files().paths);
  FrmMain& main = window.main;
  const Column column = ColumnAt(static_cast<int>(state.range(0)) - 1);
  for (auto _ : state) {
    main.lvMain_ColumnClick(column);
    QApplication::processEvents();
  }
}

// 500,000 rows sorted by one column, ascending and descending in turn.
void BM_WindowSort500000(benchmark::State& state) {
  Window window;
  window.Load(LargeFiles().paths);
  FrmMain& main = window.main;
  const Column column = ColumnAt(static_cast<int>(state.range(0)) - 1);
  for (auto _ : state) {
    main.lvMain_ColumnClick(column);
    QApplication::processEvents();
  }
  state.counters["rows"] = main.session().list().RowCount();
  state.counters["rss_MB"] = ResidentMegabytes();
}

void BM_StartToVisibleWindow(benchmark::State& state) {
  for (auto _ : state) {
    Program program(Files().store, Files().dialogs);
    program.Start({});
    QApplication::processEvents();
    benchmark::DoNotOptimize(program.main().isVisible());
    state.PauseTiming();
    program.main().close();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_ReadTwoFilesCoreOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowLoadAndListTwoFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowListTwo250000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WindowCompareDifferent250000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WindowEqualToThePairLimit)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WindowAcross20Files)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WindowAcrossListAllAndSort)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WindowUpgrade250000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_UpgradeShownRows250000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SortRows40000)->DenseRange(1, 10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowSort500000)
    ->Arg(2)
    ->Arg(3)
    ->Arg(4)
    ->Arg(6)
    ->Arg(7)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);
BENCHMARK(BM_StartToVisibleWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const auto before = std::chrono::steady_clock::now();
  TimedApplication app(argc, argv);
  const auto created = std::chrono::steady_clock::now();
  std::printf("QApplication created in %.1f ms\n",
              std::chrono::duration<double, std::milli>(created - before).count());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
