#include "runtime/native_arguments.h"

#ifdef _WIN32
#include <shellapi.h>
#include <windows.h>
#endif

namespace quillet {

std::vector<std::filesystem::path::string_type> NativeArguments(int argc, char* argv[]) {
#ifdef _WIN32
  // argv holds the arguments in the ANSI code page, which loses every other letter.
  static_cast<void>(argc);
  static_cast<void>(argv);
  std::vector<std::wstring> arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(wide[i]);
  LocalFree(wide);
  return arguments;
#else
  return {argv + (argc > 0 ? 1 : 0), argv + argc};
#endif
}

}  // namespace quillet
