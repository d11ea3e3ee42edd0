#pragma once

#include <ctime>

namespace quillet {

// The local time of `when`, the thread-safe way each platform has.
inline std::tm LocalTime(std::time_t when) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  return local;
}

}  // namespace quillet
