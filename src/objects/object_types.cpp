#include "objects/object_types.h"

namespace quillet {

int TypeIndex(std::string_view name) {
  for (int i = 0; i < kTypeCount; ++i) {
    if (kTypeNames[i] == name) return i;
  }
  return -1;
}

}  // namespace quillet
