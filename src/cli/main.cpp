#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/cli.h"

namespace {

// Only a printout needs fonts and painting, and then no display: the offscreen platform serves.
bool WantsPrintout(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    while (*arg == '-') ++arg;
    if (arg != argv[i] && std::strncmp(arg, "pdf", 3) == 0 && (arg[3] == '\0' || arg[3] == '=')) {
      return true;
    }
  }
  return false;
}

// Scripts read standard error for this program's own messages; Qt's notes about its
// environment (no runtime folder and the like) are not for them.
void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "quillet-cli: %s\n", message.toLocal8Bit().constData());
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  qInstallMessageHandler(QuietQtNotes);
  std::unique_ptr<QCoreApplication> app;
  if (WantsPrintout(argc, argv)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName("quillet-cli");
  QCoreApplication::setApplicationVersion(QUILLET_VERSION);
  return quillet::RunCli(QCoreApplication::arguments(), stdout, stderr);
}
