#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "cli/cli.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("quillet-cli");
  QCoreApplication::setApplicationVersion(QUILLET_VERSION);
  return quillet::RunCli(QCoreApplication::arguments(), stdout, stderr);
}
