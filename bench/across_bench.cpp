// Across many files, in the core: 20 files of 5000 to 250,000 generated objects each (copies of
// one release, each changed in about 5 % of its objects), lined up by key and sorted into
// variants, the rows that differ handed to a visitor that reads every cell. The time per object
// stays the same from the smallest to the largest: the work is linear. Its own process, so that
// its memory figures are its own: "table MB" holds the records, "engine MB" is what a
// comparison adds at its peak, "peak MB" the process's peak with both.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "gen/generator.h"
#include "list/across.h"
#include "objects/byte_source.h"
#include "objects/object_file_reader.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

using namespace quillet;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 20;

// A value of /proc/self/status in MB ("VmRSS", "VmHWM"), or -1 where there is none.
double StatusMegabytes(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(name + ":", 0) == 0) return std::stod(line.substr(name.size() + 1)) / 1024;
  }
  return -1;
}

// This thread's processor time: on a busy machine the clock on the wall says little.
double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Starts the process's peak afresh at what it holds now.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

struct Installations {
  explicit Installations(int objects) {
    gen::Options options;
    options.objects = objects;
    options.date_form = gen::DateForm::kMixed;
    const auto release = gen::GenerateObjects(options);
    NullStatusSink status;
    for (int file = 1; file <= kFiles; ++file) {
      auto copy = release;
      gen::Mutate(copy, 0.05, static_cast<std::uint32_t>(file * 7));
      copy.resize(std::min<std::size_t>(copy.size(), static_cast<std::size_t>(objects)));
      const std::string bytes = gen::EncodeFile(copy, options);
      MemorySource source(bytes);
      const auto start = Clock::now();
      ReadObjectDirectory(table, source, file, false, status);
      load_seconds += std::chrono::duration<double>(Clock::now() - start).count();
      areas.push_back(file);
    }
#ifdef __GLIBC__
    malloc_trim(0);  // what generating the files took is not the comparison's
#endif
  }

  ObjectTable table;
  std::vector<int> areas;
  double load_seconds = 0;
};

// One set of files at a time: the largest alone takes most of a gigabyte.
Installations& Files(int objects) {
  static std::unique_ptr<Installations> files;
  static int made = 0;
  if (made != objects) {
    files.reset();
    files = std::make_unique<Installations>(objects);
    made = objects;
  }
  return *files;
}

class ReadEveryCell final : public AcrossVisitor {
 public:
  bool Row(const AcrossRow& row) override {
    ++rows;
    for (const AcrossCell& cell : row.cells) letters += cell.variant;
    return true;
  }
  long long rows = 0;
  long long letters = 0;
};

void BM_AcrossTwentyFiles(benchmark::State& state) {
  const auto objects = static_cast<int>(state.range(0));
  Installations& files = Files(objects);
  RowFilter every;
  every.types.fill(true);
  NullStatusSink status;
  ReadEveryCell visitor;
  AcrossResult result;

  const double before = StatusMegabytes("VmRSS");
  ResetPeak();
  double seconds = 0, cpu_seconds = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const double cpu_start = CpuSeconds();
    const AcrossComparison comparison(files.table, files.areas, {});
    result = comparison.List({every, kDefaultAcrossStatuses, nullptr}, status, visitor);
    cpu_seconds += CpuSeconds() - cpu_start;
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
    benchmark::DoNotOptimize(visitor.letters);
  }
  const double peak = StatusMegabytes("VmHWM");

  const double total = static_cast<double>(objects) * kFiles;
  state.counters["objects"] = total;
  state.counters["rows"] = static_cast<double>(result.rows);
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["ns/object"] = seconds / iterations * 1e9 / total;
  state.counters["cpu ns/object"] = cpu_seconds / iterations * 1e9 / total;
  state.counters["load ns/object"] = files.load_seconds * 1e9 / total;
  state.counters["table MB"] = total * kRecordWidth / (1 << 20);
  if (before > 0 && peak > 0) {
    state.counters["engine MB"] = peak - before;
    state.counters["peak MB"] = peak;
  }
}

BENCHMARK(BM_AcrossTwentyFiles)
    ->Arg(5000)
    ->Arg(20000)
    ->Arg(80000)
    ->Arg(250000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
