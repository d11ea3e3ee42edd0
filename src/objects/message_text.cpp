#include "objects/message_text.h"

namespace quillet {
namespace {

constexpr std::string_view kHex = "0123456789abcdef";

void AppendHex(std::string& out, std::string_view prefix, unsigned value, int digits) {
  out += prefix;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 character at `text[at]`, a byte of 0x80 or above; 0 when
// it is none.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4
                             : lead >= 0xE0               ? (lead <= 0xEF ? 3 : 0)
                             : lead >= 0xC2               ? 2
                                                          : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if (!IsContinuation(static_cast<unsigned char>(text[at + k]))) return 0;
  }
  // No overlong forms, surrogates or code points past U+10FFFF.
  const auto second = static_cast<unsigned char>(text[at + 1]);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
    return 0;
  }
  return length;
}

}  // namespace

std::string EscapeControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      ++i;
    } else if (c == '\n') {
      out += "\\n";
      ++i;
    } else if (c == '\t') {
      out += "\\t";
      ++i;
    } else if (c == '\r') {
      out += "\\r";
      ++i;
    } else if (c < 0x80) {
      AppendHex(out, "\\x", c, 2);
      ++i;
    } else if (const std::size_t length = Utf8Length(text, i); length > 0) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      if (c == 0xC2 && second < 0xA0) {
        AppendHex(out, "\\u", second, 4);
      } else {
        out.append(text.substr(i, length));
      }
      i += length;
    } else {
      if (c < 0xA0) {
        AppendHex(out, "\\x", c, 2);
      } else {
        out += static_cast<char>(c);
      }
      ++i;
    }
  }
  return out;
}

}  // namespace quillet
