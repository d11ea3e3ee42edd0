#pragma once

#include <QColor>
#include <array>

namespace quillet {

// A variant letter's colours in the matrix. The first six step from light to dark, so that a
// grey print or a user who tells few colours apart still sees them differ; the letter is always
// written too, as later letters take the colours again. Dark ones carry light letters.
struct VariantPaint {
  QColor background;
  QColor letter;
};

inline const std::array<VariantPaint, 6>& VariantPaints() {
  static const std::array<VariantPaint, 6> paints = {{
      {QColor(0xDD, 0xF0, 0xD2), Qt::black},
      {QColor(0xF5, 0xC5, 0x42), Qt::black},
      {QColor(0xE0, 0x7B, 0x39), Qt::black},
      {QColor(0xB8, 0x3B, 0x5E), Qt::white},
      {QColor(0x5E, 0x3A, 0x94), Qt::white},
      {QColor(0x1D, 0x36, 0x57), Qt::white},
  }};
  return paints;
}

inline const VariantPaint& PaintOf(int variant) {
  const auto& paints = VariantPaints();
  return paints[static_cast<std::size_t>(variant) % paints.size()];
}

// A file that lacks the row's object.
inline QColor NoObjectColour() { return {0xD0, 0xD0, 0xD0}; }

}  // namespace quillet
