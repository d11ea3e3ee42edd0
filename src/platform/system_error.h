#pragma once

#include <cstring>
#include <string>
#include <system_error>

namespace quillet {

// Why a file operation failed, as the end of a sentence: "permission denied", "no space left
// on device".
inline std::string ReasonText(const std::string& system_text) {
  std::string text = system_text;
  if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' && !(text[1] >= 'A' && text[1] <= 'Z')) {
    text[0] = static_cast<char>(text[0] - 'A' + 'a');
  }
  return text;
}
inline std::string ReasonText(int error_number) { return ReasonText(std::strerror(error_number)); }
inline std::string ReasonText(const std::error_code& error) { return ReasonText(error.message()); }

}  // namespace quillet
