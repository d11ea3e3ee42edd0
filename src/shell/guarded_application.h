#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

namespace quillet {

// The window's application. An exception that escapes an event handler or a slot (memory
// running out above all) is caught where Qt delivers the event: the user is told why, and the
// program goes on instead of aborting with whatever the user was working on.
class GuardedApplication final : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Who is told; until it is set, the message goes to standard error only.
  void SetReporter(std::function<void(const QString&)> report) { report_ = std::move(report); }

 private:
  std::function<void(const QString&)> report_;
  bool reporting_ = false;
};

// What the user reads for an exception nothing caught: "Unexpected error: not enough memory".
QString UnexpectedErrorText(const std::exception_ptr& escaped);

// For what escapes the whole run: says why on standard error and in a message box (with an
// application of its own when the window's is gone), and gives the exit status.
int ReportEscapedException(int argc, char* argv[], const std::exception_ptr& escaped);

}  // namespace quillet
