#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/escaped_exception.h"

int main(int argc, char* argv[]) {
  // Whatever escapes (memory running out above all) ends the run as a failure that says why in
  // one line, as every other failure does, instead of an abort a script cannot tell from a crash.
  try {
    // The printout's date follows the user's locale.
    std::setlocale(LC_TIME, "");
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return quillet::RunCli(arguments, stdout, stderr);
  } catch (...) {
    const std::string reason = quillet::EscapedExceptionReason(std::current_exception());
    std::fprintf(stderr, "quillet-cli: %s\n", reason.c_str());
    return 2;
  }
}
