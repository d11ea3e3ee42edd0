// The printout of 40000 rows as a PDF, laid out and written into memory by the core.
#include <benchmark/benchmark.h>

#include "bench_workspace.h"
#include "output/pdf_document.h"

namespace {

using namespace quillet;

void BM_PrintoutPdfToMemory40000(benchmark::State& state) {
  static bench::FortyThousandRows rows;
  const PrintHeader header{"C:\\Exports\\first.fob", "C:\\Exports\\second.fbk",
                           "07.12.2026 - 08:00:00"};
  std::string bytes;
  int pages = 0;
  while (state.KeepRunning()) {
    bytes.clear();
    PdfDocument pdf([&](std::string_view piece) { return bytes.append(piece), true; },
                    "Quillet object list", "quillet-bench");
    if (!PrintToPdf(pdf, rows.list, header)) state.SkipWithError("the sink failed");
    pages = pdf.PageCount();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.counters["rows"] = rows.list.RowCount();
  state.counters["pages"] = pages;
  state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes.size()));
}

BENCHMARK(BM_PrintoutPdfToMemory40000)->Unit(benchmark::kMillisecond);

}  // namespace
