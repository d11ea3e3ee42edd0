// Failures the user would otherwise never hear of: a print that went nowhere, settings that
// could not be saved, an exception that escaped an event handler or the whole run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QMessageBox>
#include <QPdfWriter>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>

#include "shell/guarded_application.h"
#include "shell/toolbar_entries.h"
#include "ui_support.h"
#include "view/printout_painter.h"

namespace quillet {
namespace {

using test::Sample;
using test::TestProgram;

// A PDF writer that refuses every page after the first.
class PagesRefused final : public QPdfWriter {
 public:
  using QPdfWriter::QPdfWriter;
  bool newPage() override { return false; }
};

TEST(Print, APrintThatFailsIsReported) {
  TestProgram t(Sample("sample.fob"));
  t.dialogs.print_to = t.Path("no such folder/out.pdf");
  t.main().tbMain_ButtonClick(Command::kPrint);
  EXPECT_EQ(t.dialogs.messages, QStringList{"Unable to print: the printer could not be started"});
  EXPECT_FALSE(std::filesystem::exists(t.dir / "no such folder"));

  // The sample's 53 rows take two pages.
  PagesRefused writer(t.Path("refused.pdf"));
  const Status printed = PaintPrintout(writer, t.main().session().list(), {"a", "b", "today"});
  EXPECT_FALSE(printed.ok());
  EXPECT_EQ(printed.error(), "the printer could not start page 2");
}

TEST(FrmMain, SettingsThatCannotBeSavedAtCloseAreReported) {
  TestProgram t;
  // A folder in the way of the file.
  std::filesystem::create_directory(t.dir / "settings.ini");
  t.main().close();
  EXPECT_EQ(t.dialogs.messages, QStringList{"Unable to save the settings: cannot write " +
                                            t.settings_file() + ": access denied"});
}

class Throwing final : public QObject {
 public:
  explicit Throwing(std::function<void()> thrower) : thrower_(std::move(thrower)) {}
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) thrower_();
    return QObject::event(event);
  }

 private:
  std::function<void()> thrower_;
};

struct EscapeCase {
  const char* what;
  std::function<void()> thrower;
  QString told;
};

const EscapeCase kEscapes[] = {
    {"memory ran out", [] { throw std::bad_alloc(); }, "Unexpected error: not enough memory"},
    {"a standard exception", [] { throw std::runtime_error("the list\nran dry"); },
     "Unexpected error: the list ran dry"},
    {"anything else", [] { throw 42; }, "Unexpected error: an unknown error"},
};

TEST(GuardedApplication, AnExceptionFromAnEventHandlerOrASlotIsToldAndTheProgramGoesOn) {
  for (const EscapeCase& c : kEscapes) {
    SCOPED_TRACE(c.what);
    Throwing target(c.thrower);
    test::UnexpectedErrors().clear();
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    EXPECT_EQ(test::UnexpectedErrors(), QStringList{c.told});

    test::UnexpectedErrors().clear();
    QTimer::singleShot(0, &target, c.thrower);
    QCoreApplication::processEvents();
    EXPECT_EQ(test::UnexpectedErrors(), QStringList{c.told});
  }
  // And the window still works.
  TestProgram t(Sample("sample.fob"));
  EXPECT_EQ(t.main().session().list().RowCount(), 53);
}

// Standard error, read back from a file while the test holds it.
class CapturedStandardError {
 public:
  CapturedStandardError() : file_(std::tmpfile()) {
    std::fflush(stderr);
    saved_ = ::dup(2);
    ::dup2(::fileno(file_), 2);
  }
  ~CapturedStandardError() {
    Restore();
    std::fclose(file_);
  }
  CapturedStandardError(const CapturedStandardError&) = delete;
  CapturedStandardError& operator=(const CapturedStandardError&) = delete;

  std::string Text() {
    Restore();
    std::string text;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, 2);
    ::close(saved_);
    saved_ = -1;
  }
  std::FILE* file_;
  int saved_ = -1;
};

TEST(GuardedApplication, WhatEscapesTheRunIsToldOnStandardErrorAndInAMessageBox) {
  QString shown;
  QTimer::singleShot(0, [&shown] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->done(QMessageBox::Ok);
    }
  });
  CapturedStandardError error;
  char name[] = "quillet";
  char* argv[] = {name, nullptr};
  const int status = ReportEscapedException(1, argv, std::make_exception_ptr(std::bad_alloc()));
  EXPECT_EQ(status, 2);
  // Its first line: the offscreen platform may add warnings of its own.
  const std::string told = error.Text();
  EXPECT_EQ(told.substr(0, told.find('\n') + 1), "quillet: Unexpected error: not enough memory\n");
  EXPECT_EQ(shown, "Unexpected error: not enough memory\nQuillet has to close.");
}

}  // namespace
}  // namespace quillet
