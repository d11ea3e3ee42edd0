#include "list/row_filter.h"

#include "objects/text.h"

namespace quillet {

bool RowFilter::PassTypeFilter(std::string_view type_text) const {
  const int type = TypeIndex(TrimBlanks(type_text));
  return type < 0 || types[type];
}

bool RowFilter::PassSystemFilter(std::string_view id_text) const {
  return !hide_system || TrimBlanks(id_text).size() < 10;
}

}  // namespace quillet
