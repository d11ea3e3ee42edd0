#include "objects/object_types.h"

#include "objects/text.h"

namespace quillet {

int TypeIndex(std::string_view name) {
  // Every row of a listing, a filter and a comparison asks, so one comparison decides: the
  // length and the first letter leave at most one candidate.
  int candidate = -1;
  switch (name.size()) {
    case 4:
      candidate = name[0] == 'F' ? 2 : 7;  // Form, Page
      break;
    case 5:
      candidate = 1;  // Table
      break;
    case 6:
      candidate = 3;  // Report
      break;
    case 7:
      candidate = 5;  // XMLport
      break;
    case 8:
      candidate = name[0] == 'D' ? 4 : 6;  // Dataport, Codeunit
      break;
    case 9:
      candidate = name[0] == 'T' ? 0 : 8;  // TableData, MenuSuite
      break;
    default:
      return -1;
  }
  return kTypeNames[candidate] == name ? candidate : -1;
}

int TypeIndexIgnoringCase(std::string_view name) {
  const std::string lower = AsciiLowercase(name);
  for (int i = 0; i < kTypeCount; ++i) {
    if (AsciiLowercase(kTypeNames[i]) == lower) return i;
  }
  return -1;
}

}  // namespace quillet
