#pragma once

#include <exception>
#include <new>
#include <string>

namespace quillet {

// Why an exception nothing else caught was thrown, as one line for a message: "not enough
// memory" for a failed allocation, else what the exception says.
inline std::string EscapedExceptionReason(const std::exception_ptr& escaped) {
  std::string reason;
  try {
    std::rethrow_exception(escaped);
  } catch (const std::bad_alloc&) {
    reason = "not enough memory";
  } catch (const std::exception& exception) {
    reason = exception.what();
  } catch (...) {
  }
  for (char& c : reason) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return reason.empty() ? "an unknown error" : reason;
}

}  // namespace quillet
