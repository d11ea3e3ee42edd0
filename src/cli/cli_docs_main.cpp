// Writes quillet-cli's manual page or one of its shell completions at build time:
//   quillet-cli-docs man VERSION DATE FILE
//   quillet-cli-docs completion bash|zsh|fish FILE
// It refuses to write either when a name they offer is no longer one quillet-cli takes.
#include <cstdio>
#include <fstream>
#include <string>

#include "cli/cli_completion.h"
#include "cli/cli_man_page.h"

namespace {

int Fail(const std::string& why) {
  std::fprintf(stderr, "quillet-cli-docs: %s\n", why.c_str());
  return 1;
}

int Write(const char* file_name, const std::string& text) {
  std::ofstream file(file_name, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) return Fail(std::string("cannot write ") + file_name);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "man" && argc == 5) {
    if (const std::string error = quillet::CheckManPageExamples(); !error.empty()) {
      return Fail(error);
    }
    return Write(argv[4], quillet::CliManPage(argv[2], argv[3]));
  }
  if (what == "completion" && argc == 4) {
    if (const std::string error = quillet::CheckCompletionValues(); !error.empty()) {
      return Fail(error);
    }
    const std::string shell = argv[2];
    if (shell == "bash") return Write(argv[3], quillet::CliBashCompletion());
    if (shell == "zsh") return Write(argv[3], quillet::CliZshCompletion());
    if (shell == "fish") return Write(argv[3], quillet::CliFishCompletion());
  }
  return Fail("usage: quillet-cli-docs man VERSION DATE FILE | completion bash|zsh|fish FILE");
}
