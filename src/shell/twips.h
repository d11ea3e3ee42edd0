#pragma once

#include <cmath>

namespace quillet {

// Placement and column widths are stored in twips (1/1440 inch), converted with the screen's
// logical resolution so that a stored width means the same on every screen.
inline int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}
inline int PixelsToTwips(int pixels, double dpi) {
  return static_cast<int>(std::lround(pixels * 1440.0 / dpi));
}

}  // namespace quillet
