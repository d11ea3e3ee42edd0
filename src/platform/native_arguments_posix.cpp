#include "platform/native_arguments.h"

namespace quillet {

std::vector<std::filesystem::path::string_type> NativeArguments(int argc, char* argv[]) {
  return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

}  // namespace quillet
