#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/native_arguments.h"

namespace quillet {

// argv holds the arguments in the ANSI code page, which loses every other letter: the wide
// command line has them all.
std::vector<std::filesystem::path::string_type> NativeArguments(int /*argc*/, char* /*argv*/[]) {
  std::vector<std::wstring> arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(wide[i]);
  LocalFree(wide);
  return arguments;
}

}  // namespace quillet
