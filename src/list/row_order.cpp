#include "list/row_order.h"

#include <algorithm>
#include <array>

namespace quillet {
namespace {

constexpr std::array<unsigned char, 256> MakeCaseFold() {
  std::array<unsigned char, 256> fold{};
  for (int i = 0; i < 256; ++i) fold[i] = static_cast<unsigned char>(i);
  for (int c = 'A'; c <= 'Z'; ++c) fold[c] = static_cast<unsigned char>(c + 32);
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) fold[c] = static_cast<unsigned char>(c + 32);  // 0xD7 is the sign ×
  }
  fold[0x8A] = 0x9A;  // Š
  fold[0x8C] = 0x9C;  // Œ
  fold[0x8E] = 0x9E;  // Ž
  fold[0x9F] = 0xFF;  // Ÿ
  return fold;
}

constexpr std::array<unsigned char, 256> kCaseFold = MakeCaseFold();

}  // namespace

int CompareCellTexts(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int x = kCaseFold[static_cast<unsigned char>(a[i])];
    const int y = kCaseFold[static_cast<unsigned char>(b[i])];
    if (x != y) return x - y;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace quillet
