#include <exception>

#include "shell/guarded_application.h"
#include "shell/startup.h"

int main(int argc, char* argv[]) {
  // What the application's own guard does not see (start-up, opening the files named on the
  // command line) still ends with a message instead of an abort.
  try {
    return quillet::RunQuillet(argc, argv);
  } catch (...) {
    return quillet::ReportEscapedException(argc, argv, std::current_exception());
  }
}
