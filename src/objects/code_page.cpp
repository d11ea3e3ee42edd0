#include "objects/code_page.h"

#include <array>

namespace quillet {
namespace {

constexpr std::array<unsigned char, 256> MakeUmlautTable() {
  std::array<unsigned char, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<unsigned char>(i);
  table[0x81] = 0xFC;  // ü
  table[0x84] = 0xE4;  // ä
  table[0x8E] = 0xC4;  // Ä
  table[0x94] = 0xF6;  // ö
  table[0x99] = 0xD6;  // Ö
  table[0x9A] = 0xDC;  // Ü
  table[0xE1] = 0xDF;  // ß
  return table;
}

constexpr std::array<unsigned char, 256> kUmlauts = MakeUmlautTable();

}  // namespace

void ConvertUmlautsInto(std::string_view text, char* out) {
  for (char c : text) *out++ = static_cast<char>(kUmlauts[static_cast<unsigned char>(c)]);
}

std::string ConvertUmlauts(std::string_view text) {
  std::string converted(text.size(), ' ');
  ConvertUmlautsInto(text, converted.data());
  return converted;
}

}  // namespace quillet
