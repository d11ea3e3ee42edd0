// Widget tests run without a display: the offscreen platform, one application for all, the
// program's own, so what escapes an event handler is caught as it is in the program.
#include <gtest/gtest.h>

#include "shell/guarded_application.h"
#include "ui_support.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  quillet::GuardedApplication app(argc, argv);
  app.SetReporter([](const QString& text) { quillet::test::UnexpectedErrors() << text; });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
