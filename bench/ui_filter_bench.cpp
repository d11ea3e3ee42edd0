// The filter in the window over 300,000 and 500,000 rows, as the user meets it: a keystroke at a
// time, typed faster than the list is filtered, and a pasted filter of 10,000 words.
//
// "ui_longest_ms" is the longest the window's thread was busy with one thing (a keystroke, or
// one event of the loop): what the user waits for at most, which must stay within a frame. The
// time per iteration is how long until the list shows the result.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <string>

#include "ui_bench_support.h"

namespace {

using namespace quillet;
using namespace quillet::bench;

QLineEdit& FilterField(FrmMain& main) {
  main.OpenFilter();
  return *main.findChild<QLineEdit*>("filterField");
}

// Runs the event loop until the list shows the filter `text`.
void WaitForFilter(FrmMain& main, const QString& text) {
  const std::string wanted = text.toStdString();
  while (main.session().filter_text() != wanted) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

// Runs `keystroke` on the window's thread and gives how long it took.
template <typename F>
Clock::duration Timed(F&& keystroke) {
  const auto start = Clock::now();
  keystroke();
  return Clock::now() - start;
}

// One keystroke at a time over 500,000 rows, each shown before the next: a word typed, then
// cleared. The window's thread must never be busy for longer than a frame.
void BM_WindowFilterKeystroke500000(benchmark::State& state) {
  Window window;
  window.Load(LargeFiles().paths);
  FrmMain& main = window.main;
  QLineEdit& field = FilterField(main);
  const QString word = "posting";
  TimedApplication::Get().TakeLongestMs({});
  double longest = 0;
  for (auto _ : state) {
    const Clock::duration direct = Timed([&] {
      if (field.text() == word) {
        field.clear();
      } else {
        field.insert(word.mid(field.text().size(), 1));
      }
    });
    WaitForFilter(main, field.text());
    longest = std::max(longest, TimedApplication::Get().TakeLongestMs(direct));
  }
  state.counters["rows"] = main.session().list().AllRowCount();
  state.counters["ui_longest_ms"] = longest;
  state.counters["rss_MB"] = ResidentMegabytes();
}

// A word typed faster than the list is filtered: each keystroke comes before the last one's
// result, and only the last is waited for.
void BM_WindowFilterTypedFast500000(benchmark::State& state) {
  Window window;
  window.Load(LargeFiles().paths);
  FrmMain& main = window.main;
  QLineEdit& field = FilterField(main);
  const QString word = "posting";
  double longest = 0;
  for (auto _ : state) {
    state.PauseTiming();
    field.clear();
    WaitForFilter(main, "");
    TimedApplication::Get().TakeLongestMs({});
    state.ResumeTiming();
    Clock::duration direct{};
    for (const QChar c : word) {
      direct = std::max(direct, Timed([&] { field.insert(QString(c)); }));
      QApplication::processEvents();
    }
    WaitForFilter(main, word);
    longest = std::max(longest, TimedApplication::Get().TakeLongestMs(direct));
  }
  state.counters["ui_longest_ms"] = longest;
}

// A pasted filter of 10,000 distinct words, each left out, over 300,000 rows: every row is asked
// every word. The user then types a short filter; the time is until the list shows that one.
void BM_WindowPastedFilterThenTyped300000(benchmark::State& state) {
  Window window;
  window.main.LoadAndShowFile(LargeFiles().paths[0], 1);
  window.main.LoadAndShowFile(LargeFiles().fifty_thousand, 2);
  FrmMain& main = window.main;
  QLineEdit& field = FilterField(main);
  QString pasted;
  for (int i = 0; i < 10000; ++i) pasted += QString(" -xyzzy%1").arg(i);
  double longest = 0;
  for (auto _ : state) {
    state.PauseTiming();
    field.clear();
    WaitForFilter(main, "");
    TimedApplication::Get().TakeLongestMs({});
    state.ResumeTiming();
    Clock::duration direct = Timed([&] { field.setText(pasted); });
    QApplication::processEvents();
    direct = std::max(direct, Timed([&] { field.setText("sales"); }));
    WaitForFilter(main, "sales");
    longest = std::max(longest, TimedApplication::Get().TakeLongestMs(direct));
  }
  state.counters["rows"] = main.session().list().AllRowCount();
  state.counters["ui_longest_ms"] = longest;
}

BENCHMARK(BM_WindowFilterKeystroke500000)->Unit(benchmark::kMillisecond)->Iterations(16);
BENCHMARK(BM_WindowFilterTypedFast500000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WindowPastedFilterThenTyped300000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
