#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "output/printout_painter.h"
#include "runtime/atomic_file.h"

namespace {

// Scripts read standard error for this program's own messages; Qt's notes about its
// environment (no runtime folder and the like) are not for them.
void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "quillet-cli: %s\n", message.toLocal8Bit().constData());
  }
}

// Only a printout needs fonts and painting, and then no display: the offscreen platform serves.
// Qt starts on the first printout, so listing and comparing never load it.
void StartQt() {
  if (QCoreApplication::instance() != nullptr) return;
  qInstallMessageHandler(QuietQtNotes);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "quillet-cli";
  static char* argv[] = {name, nullptr};
  // Kept to the end of the process, as Qt expects of its application object.
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

std::string WritePdf(const std::filesystem::path& path, const quillet::ObjectList& list,
                     const quillet::PrintHeader& header) {
  StartQt();
  QBuffer bytes;
  bytes.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&bytes);
    pdf.setTitle("Quillet object list");
    pdf.setCreator("quillet-cli");
    quillet::PrintHeader dated = header;
    dated.date_time = quillet::PrintDateTime();
    quillet::PaintPrintout(pdf, list, dated);
  }
  quillet::AtomicFileOpen opened = quillet::AtomicFile::Open(path);
  if (opened.file == nullptr) return opened.error;
  const QByteArray& data = bytes.data();
  if (!opened.file->Write({data.constData(), static_cast<std::size_t>(data.size())}) ||
      !opened.file->Commit()) {
    return opened.file->error();
  }
  return {};
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return quillet::RunCli(arguments, stdout, stderr, WritePdf);
}
