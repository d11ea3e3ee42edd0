// Loading and listing figures: a 20000-object directory from a file, the same directory at the
// head of a 2 GB sparse backup file, and the listing and export of the rows.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "bench_workspace.h"
#include "commands/listing.h"
#include "commands/load_file.h"
#include "gen/generator.h"
#include "output/export_line.h"

namespace {

std::atomic<long long> g_allocations{0};

}  // namespace

// Counting every allocation shows whether a load allocates per object.
void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

namespace fs = std::filesystem;
using namespace quillet;

struct Files {
  std::string small_fob, fob, sparse_fbk, large_fob;
  std::string directory_bytes;
};

const Files& TestFiles() {
  static const Files files = [] {
    Files f;
    const fs::path dir = fs::temp_directory_path() / "quillet-bench";
    fs::create_directories(dir);
    gen::Options options;
    options.objects = 20000;
    options.date_form = gen::DateForm::kMixed;
    const auto objects = gen::GenerateObjects(options);
    f.directory_bytes = gen::EncodeFile(objects, options);
    f.fob = (dir / "20000.fob").string();
    f.sparse_fbk = (dir / "20000-sparse.fbk").string();
    gen::WriteFile(f.fob, f.directory_bytes);
    gen::WriteFile(f.sparse_fbk, f.directory_bytes, 2ULL << 30);
    gen::Options small = options;
    small.objects = 100;
    f.small_fob = (dir / "100.fob").string();
    gen::WriteFile(f.small_fob, gen::EncodeFile(gen::GenerateObjects(small), small));
    gen::Options large = options;
    large.objects = 250000;
    f.large_fob = (dir / "250000.fob").string();
    gen::WriteFile(f.large_fob, gen::EncodeFile(gen::GenerateObjects(large), large));
    return f;
  }();
  return files;
}

using Bench = bench::BenchWorkspace;

void LoadFile(benchmark::State& state, const std::string& path) {
  Bench b;
  long long allocations = 0;
  for (auto _ : state) {
    const long long before = g_allocations.load();
    const LoadResult result = LoadObjectFile(b.ws, path, 1);
    allocations = g_allocations.load() - before;
    benchmark::DoNotOptimize(result.objects);
  }
  state.counters["objects"] = b.table.Count(1);
  state.counters["allocations"] = static_cast<double>(allocations);
}

void BM_LoadFile100(benchmark::State& state) { LoadFile(state, TestFiles().small_fob); }
void BM_LoadFile20000(benchmark::State& state) { LoadFile(state, TestFiles().fob); }
void BM_LoadFile250000(benchmark::State& state) { LoadFile(state, TestFiles().large_fob); }
void BM_LoadSparseBackup2GB(benchmark::State& state) { LoadFile(state, TestFiles().sparse_fbk); }

void BM_ReadDirectoryFromMemory20000(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    MemorySource source(TestFiles().directory_bytes);
    benchmark::DoNotOptimize(ReadObjectDirectory(b.table, source, 1, false, b.status).objects);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<long long>(TestFiles().directory_bytes.size()));
}

// The same directory as a pipe gives it: held as it is read, then read again from memory.
void BM_ReadDirectoryFromStream20000(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    ReplaySource source(std::make_unique<MemorySource>(TestFiles().directory_bytes));
    benchmark::DoNotOptimize(ReadObjectDirectory(b.table, source, 1, false, b.status).objects);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<long long>(TestFiles().directory_bytes.size()));
}

void BM_ShowFileObjects20000(benchmark::State& state) {
  Bench b;
  LoadObjectFile(b.ws, TestFiles().fob, 1);
  for (auto _ : state) {
    b.list.RemoveAll();
    ShowFileObjects(b.ws, 1);
    benchmark::DoNotOptimize(b.list.RowCount());
  }
}

void BM_ExportLines40000(benchmark::State& state) {
  Bench b;
  b.filter.types.fill(true);
  LoadObjectFile(b.ws, TestFiles().fob, 1);
  LoadObjectFile(b.ws, TestFiles().sparse_fbk, 2);
  RefreshList(b.ws);
  std::string out;
  for (auto _ : state) {
    out.clear();
    for (const ObjectRow& row : b.list.AllRows()) AppendExportLine(out, b.list.ViewOf(row));
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["rows"] = b.list.RowCount();
}

BENCHMARK(BM_LoadFile100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFile20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFile250000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSparseBackup2GB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDirectoryFromMemory20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDirectoryFromStream20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowFileObjects20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportLines40000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
