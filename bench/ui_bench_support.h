// What the window's benchmarks share: an application that times its events, the generated
// files, a started window, and the process's memory.
#pragma once

#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <fstream>

#include "gen/generator.h"
#include "shell/frm_main.h"
#include "shell/settings_store.h"
#include "shell/startup.h"
#include "view/user_dialogs.h"

namespace quillet::bench {

using Clock = std::chrono::steady_clock;

// Times every event the loop hands out, the outermost only: the longest is the longest the
// window did not answer.
class TimedApplication final : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    if (depth_ > 0) return Nested(receiver, event);
    const auto start = Clock::now();
    const bool done = Nested(receiver, event);
    longest_ = std::max(longest_, Clock::now() - start);
    return done;
  }
  static TimedApplication& Get() { return *static_cast<TimedApplication*>(instance()); }
  // The longest event since the last call, or `direct` (work the benchmark itself ran on the
  // window's thread) when that was longer.
  double TakeLongestMs(Clock::duration direct) {
    const double ms = std::chrono::duration<double, std::milli>(std::max(longest_, direct)).count();
    longest_ = {};
    return ms;
  }

 private:
  bool Nested(QObject* receiver, QEvent* event) {
    ++depth_;
    const bool done = QApplication::notify(receiver, event);
    --depth_;
    return done;
  }
  int depth_ = 0;
  Clock::duration longest_{};
};

// What generating the files took is not the window's.
inline void TrimFreedMemory() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

class NoDialogs final : public UserDialogs {
 public:
  void ShowMessage(QWidget*, const QString&) override {}
  bool Ask(QWidget*, const QString&) override { return false; }
  QString GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return {};
  }
  QStringList GetOpenFileNames(QWidget*, const QString&, const QString&, const QString&) override {
    return {};
  }
  SaveChoice GetSaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return {};
  }
  bool ChoosePrinter(QWidget*, QPrinter&) override { return false; }
  void ShowPrintPreview(QWidget*, const Printout&, const std::function<bool(QWidget*)>&) override {}
  std::unique_ptr<WorkProgress> StartProgress(QWidget*, const QString&) override { return {}; }
  void OpenUrl(const QUrl&) override {}
};

struct Fixture {
  Fixture() {
    for (int file : {1, 2}) {
      gen::Options options;
      options.objects = 20000;
      options.seed = static_cast<std::uint32_t>(file);
      paths[file - 1] = dir.filePath(QString("f%1.fob").arg(file));
      gen::WriteFile(paths[file - 1].toStdString(),
                     gen::EncodeFile(gen::GenerateObjects(options), options));
    }
    TrimFreedMemory();
  }
  QTemporaryDir dir;
  std::array<QString, 2> paths;
  SettingsStore store{dir.filePath("bench.ini")};
  NoDialogs dialogs;
};

inline Fixture& Files() {
  static Fixture fixture;
  return fixture;
}

inline FrmMain& StartShowingEveryType(Program& program) {
  program.Start({});
  RowFilter every = program.main().session().filter();
  every.types.fill(true);
  program.main().session().SetRowFilter(every);
  return program.main();
}

// The window, started, showing every type.
struct Window {
  void Load(const std::array<QString, 2>& paths) {
    main.LoadAndShowFile(paths[0], 1);
    main.LoadAndShowFile(paths[1], 2);
  }
  Program program{Files().store, Files().dialogs};
  FrmMain& main = StartShowingEveryType(program);
};

// Two files of 250,000 objects (about 40 MB each), the second a changed copy of the first; and
// one of 50,000, which with the first makes 300,000 rows.
struct LargeFixture {
  LargeFixture() {
    gen::Options options;
    options.objects = 250000;
    auto objects = gen::GenerateObjects(options);
    for (int file : {1, 2}) {
      if (file == 2) gen::Mutate(objects, 0.05, 3);
      paths[file - 1] = dir.filePath(QString("large%1.fob").arg(file));
      gen::WriteFile(paths[file - 1].toStdString(), gen::EncodeFile(objects, options));
    }
    options.objects = 50000;
    options.seed = 5;
    fifty_thousand = dir.filePath("fifty.fob");
    gen::WriteFile(fifty_thousand.toStdString(),
                   gen::EncodeFile(gen::GenerateObjects(options), options));
    TrimFreedMemory();
  }
  QTemporaryDir dir;
  std::array<QString, 2> paths;
  QString fifty_thousand;
};

inline LargeFixture& LargeFiles() {
  static LargeFixture fixture;
  return fixture;
}

inline double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * sysconf(_SC_PAGESIZE) / (1024.0 * 1024.0);
}

}  // namespace quillet::bench
