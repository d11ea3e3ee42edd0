#pragma once

#include <QString>

namespace quillet {

// A count as the window's words show it: "1,234,567", so large counts read at a glance.
inline QString GroupedNumber(long long number) {
  QString digits = QString::number(number < 0 ? -number : number);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, ',');
  return number < 0 ? "-" + digits : digits;
}

}  // namespace quillet
