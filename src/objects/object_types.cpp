#include "objects/object_types.h"

#include "objects/text.h"

namespace quillet {

int TypeIndex(std::string_view name) {
  for (int i = 0; i < kTypeCount; ++i) {
    if (kTypeNames[i] == name) return i;
  }
  return -1;
}

int TypeIndexIgnoringCase(std::string_view name) {
  const std::string lower = AsciiLowercase(name);
  for (int i = 0; i < kTypeCount; ++i) {
    if (AsciiLowercase(kTypeNames[i]) == lower) return i;
  }
  return -1;
}

}  // namespace quillet
