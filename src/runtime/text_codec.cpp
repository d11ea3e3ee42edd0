#include "runtime/text_codec.h"

#include <array>

namespace quillet {
namespace {

// 0x80..0x9F; the rest of Windows-1252 is Latin-1. Unassigned codes map to themselves, as
// Windows does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t Decode(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char16_t{byte};
}

}  // namespace

QString FromWindows1252(std::string_view text) {
  QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  QChar* out = result.data();
  for (char c : text) *out++ = QChar(Decode(static_cast<unsigned char>(c)));
  return result;
}

std::string ToWindows1252(const QString& text) {
  std::string result;
  result.reserve(static_cast<std::size_t>(text.size()));
  for (QChar qc : text) {
    const char16_t c = qc.unicode();
    char byte = '?';
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      byte = static_cast<char>(c);
    } else {
      for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == c) byte = static_cast<char>(0x80 + i);
      }
    }
    result += byte;
  }
  return result;
}

}  // namespace quillet
