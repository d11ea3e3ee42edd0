#include "shell/guarded_application.h"

#include <QMessageBox>
#include <cstdio>
#include <memory>

#include "platform/escaped_exception.h"

namespace quillet {
namespace {

void PrintError(const QString& text) {
  std::fprintf(stderr, "quillet: %s\n", text.toLocal8Bit().constData());
  std::fflush(stderr);
}

}  // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    const QString text = UnexpectedErrorText(std::current_exception());
    PrintError(text);
    // The report's own message box runs events too; what fails in them is only printed.
    if (report_ && !reporting_) {
      reporting_ = true;
      try {
        report_(text);
      } catch (...) {
      }
      reporting_ = false;
    }
    return false;
  }
}

QString UnexpectedErrorText(const std::exception_ptr& escaped) {
  return "Unexpected error: " + QString::fromStdString(EscapedExceptionReason(escaped));
}

int ReportEscapedException(int argc, char* argv[], const std::exception_ptr& escaped) {
  const QString text = UnexpectedErrorText(escaped) + "\nQuillet has to close.";
  PrintError(UnexpectedErrorText(escaped));
  try {
    int qt_argc = argc > 0 ? 1 : 0;
    std::unique_ptr<QApplication> own;
    if (QApplication::instance() == nullptr) own = std::make_unique<QApplication>(qt_argc, argv);
    QMessageBox::critical(nullptr, "Quillet", text);
  } catch (...) {
  }
  return 2;
}

}  // namespace quillet
