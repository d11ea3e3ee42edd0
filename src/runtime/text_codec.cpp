#include "runtime/text_codec.h"

#include <array>

#include "objects/code_page.h"

namespace quillet {

QString FromWindows1252(std::string_view text) {
  QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  QChar* out = result.data();
  for (char c : text) {
    *out++ = QChar(static_cast<char16_t>(Windows1252ToUnicode(static_cast<unsigned char>(c))));
  }
  return result;
}

std::string ToWindows1252(const QString& text) {
  // Unicode back to the byte that maps to it; characters Windows-1252 cannot hold become '?'.
  static const auto kHighBytes = [] {
    std::array<std::pair<char16_t, char>, 32> high{};
    for (int i = 0; i < 32; ++i) {
      high[i] = {static_cast<char16_t>(Windows1252ToUnicode(static_cast<unsigned char>(0x80 + i))),
                 static_cast<char>(0x80 + i)};
    }
    return high;
  }();
  std::string result;
  result.reserve(static_cast<std::size_t>(text.size()));
  for (QChar qc : text) {
    const char16_t c = qc.unicode();
    char byte = '?';
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      byte = static_cast<char>(c);
    } else {
      for (const auto& [unicode, code] : kHighBytes) {
        if (unicode == c) byte = code;
      }
    }
    result += byte;
  }
  return result;
}

}  // namespace quillet
