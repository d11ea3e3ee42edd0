#pragma once

#include <array>
#include <string_view>

#include "list/row_query.h"

namespace quillet {

// A key word of the filter: "id:" and the others, and the test its value makes.
struct QueryKey {
  std::string_view name;  // in lower case, without the colon; typed in any letter case
  RowQuery::Kind kind;
};

// The keys, in the order the messages name them. Reading a word and naming the keys in an
// error both go by this table.
inline constexpr std::array<QueryKey, 5> kQueryKeys = {{
    {"id", RowQuery::Kind::kId},
    {"type", RowQuery::Kind::kType},
    {"tag", RowQuery::Kind::kTag},
    {"name", RowQuery::Kind::kName},
    {"status", RowQuery::Kind::kStatus},
}};

}  // namespace quillet
