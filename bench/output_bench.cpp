// How fast the list leaves the program: saving 40000 rows, laying out their printout, and
// writing that printout as a PDF.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "bench_workspace.h"
#include "output/list_file_writer.h"
#include "output/print_layout.h"
#include "view/printout_painter.h"

namespace {

using namespace quillet;

struct Rows : bench::FortyThousandRows {
  QTemporaryDir dir;
};

Rows& FortyThousand() {
  static Rows rows;
  return rows;
}

const PrintHeader kHeader{"C:\\Exports\\first.fob", "C:\\Exports\\second.fbk",
                          "07.12.2026 - 08:00:00"};

void BM_SaveList40000(benchmark::State& state) {
  Rows& rows = FortyThousand();
  const QString path = rows.dir.filePath("list.txt");
  for (auto _ : state) {
    if (!WriteListFile(path.toStdString(), rows.list, ListFormat::kText)) {
      state.SkipWithError("save failed");
    }
  }
  state.counters["rows"] = rows.list.RowCount();
}

void BM_LayOutPrintout40000(benchmark::State& state) {
  Rows& rows = FortyThousand();
  // Courier New 9 points on A4 at 1200 dpi: the line height and printable height a printer has.
  const PrintMetrics metrics{150, 150, 13200};
  std::size_t lines = 0, pages = 0;
  for (auto _ : state) {
    const std::vector<PrintPage> layout = PaginateRows(rows.list.RowCount(), metrics);
    lines = 0;
    for (std::size_t page = 0; page < layout.size(); ++page) {
      lines +=
          LayOutPage(rows.list, kHeader, metrics, layout[page], static_cast<int>(page) + 1).size();
    }
    pages = layout.size();
  }
  state.counters["pages"] = static_cast<double>(pages);
  state.counters["lines"] = static_cast<double>(lines);
}

void BM_WritePrintoutPdf40000(benchmark::State& state) {
  Rows& rows = FortyThousand();
  const QString path = rows.dir.filePath("list.pdf");
  for (auto _ : state) {
    QPdfWriter pdf(path);
    pdf.setResolution(300);
    if (const Status printed = PaintPrintout(pdf, rows.list, kHeader); !printed) {
      state.SkipWithError(printed.error().c_str());
    }
  }
}

BENCHMARK(BM_SaveList40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOutPrintout40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePrintoutPdf40000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
