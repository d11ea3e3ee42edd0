// The window's printout of 40000 and of 422,000 rows: saved as a PDF from the print dialog (the
// core's writer), painted on a printer (on Linux a printer gets what Qt's PDF engine makes of
// the painting), and previewed, with the memory the preview holds and gives back. Runs
// offscreen, in a process of its own, so that its memory figures are its own.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <fstream>

#include "bench_workspace.h"
#include "view/print_preview.h"
#include "view/printout_painter.h"

namespace {

using namespace quillet;

// Two files of `objects` generated objects each, every type listed.
struct Rows : bench::BenchWorkspace {
  explicit Rows(int objects) {
    filter.types.fill(true);
    for (int file : {1, 2}) {
      gen::Options options;
      options.objects = objects;
      options.seed = static_cast<std::uint32_t>(file);
      Read(file, gen::EncodeFile(gen::GenerateObjects(options), options));
    }
    RefreshList(ws);
  }
  QTemporaryDir dir;
};

// The list of state.range(0) rows.
Rows& RowsOf(const benchmark::State& state) {
  static Rows forty(20000);
  if (state.range(0) == 40000) return forty;
  static Rows large(211000);
  return large;
}

const PrintHeader kHeader{"/home/user/exports/release.fob", "/home/user/exports/customer.fbk",
                          "12/07/26 - 08:00:00"};

double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0);
}

// "Save as PDF" in the print dialog.
void BM_WindowPrintsToPdfFile(benchmark::State& state) {
  Rows& rows = RowsOf(state);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(rows.dir.filePath("list.pdf"));
  printer.setPageLayout(PageLayoutOf(PrintPaper{}));
  int pages = 0;
  for (auto _ : state) {
    const Result<PrintEnd> printed = PrintOn(printer, rows.list, kHeader, [&](int done, int) {
      pages = done;
      return true;
    });
    if (!printed) state.SkipWithError(printed.error().c_str());
  }
  state.counters["rows"] = rows.list.RowCount();
  state.counters["pages"] = pages;
}

// A printer: the painting through Qt's paint engine at a printer's 1200 dpi.
void BM_WindowPaintsPrinter(benchmark::State& state) {
  Rows& rows = RowsOf(state);
  int pages = 0;
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(rows.dir.filePath("painted.pdf"));
    printer.setPageLayout(PageLayoutOf(PrintPaper{}));
    const ListPrintout printout(rows.list, kHeader, PaperOf(printer.pageLayout()));
    const Result<PrintEnd> printed = PaintPrintout(printer, printout, {});
    if (!printed) state.SkipWithError(printed.error().c_str());
    pages = printout.PageCount();
  }
  state.counters["rows"] = rows.list.RowCount();
  state.counters["pages"] = pages;
}

// The preview opened, its first page drawn, scrolled to the last page and drawn, and closed;
// the most memory the process held beyond what it held before, with the preview open and after
// it closed.
void BM_WindowPreview(benchmark::State& state) {
  Rows& rows = RowsOf(state);
  double open = -1e9, after = -1e9;
  int pages = 0;
  for (auto _ : state) {
    const double before = ResidentMegabytes();
    {
      QPrinter printer(QPrinter::HighResolution);
      printer.setPageLayout(PageLayoutOf(PrintPaper{}));
      const ListPrintout printout(rows.list, kHeader, PaperOf(printer.pageLayout()));
      PrintPreview preview(printout, {});
      preview.show();
      benchmark::DoNotOptimize(preview.grab());
      preview.ShowPage(preview.PageCount() - 1);
      benchmark::DoNotOptimize(preview.grab());
      open = std::max(open, ResidentMegabytes() - before);
      pages = preview.PageCount();
      preview.hide();
    }
    after = std::max(after, ResidentMegabytes() - before);
  }
  state.counters["rows"] = rows.list.RowCount();
  state.counters["pages"] = pages;
  state.counters["open_MB"] = open;
  state.counters["after_MB"] = after;
}

BENCHMARK(BM_WindowPrintsToPdfFile)->Arg(40000)->Arg(422000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowPaintsPrinter)->Arg(40000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WindowPaintsPrinter)->Arg(422000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WindowPreview)->Arg(40000)->Arg(422000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
