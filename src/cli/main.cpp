#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char* argv[]) {
  // The printout's date follows the user's locale.
  std::setlocale(LC_TIME, "");
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return quillet::RunCli(arguments, stdout, stderr);
}
