#include "output/id_lines.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "objects/object_types.h"
#include "objects/text.h"

namespace quillet {
namespace {

class IdLines final : public ListFormatter {
 public:
  void AddRow(std::string& /*out*/, const RowView& row) override {
    const int type = TypeIndex(TrimBlanks(row.Cell(Column::kType)));
    const std::string_view id = TrimBlanks(row.Cell(Column::kId));
    if (type < 0 || id.empty()) return;
    // An ID field holds ten characters, so a whole number always fits.
    std::uint64_t number = 0;
    for (const char c : id) {
      if (c < '0' || c > '9') return;
      number = number * 10 + static_cast<std::uint64_t>(c - '0');
    }
    ids_[type].push_back(number);
  }

  void End(std::string& out) override {
    for (int type = 0; type < kTypeCount; ++type) {
      std::vector<std::uint64_t>& ids = ids_[type];
      if (ids.empty()) continue;
      std::sort(ids.begin(), ids.end());
      ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
      out += kTypeNames[type];
      out += ": ";
      for (std::size_t first = 0; first < ids.size();) {
        std::size_t last = first;
        while (last + 1 < ids.size() && ids[last + 1] == ids[last] + 1) ++last;
        if (first > 0) out += '|';
        if (last - first >= 2) {
          out += std::to_string(ids[first]) + ".." + std::to_string(ids[last]);
          first = last + 1;
        } else {
          out += std::to_string(ids[first]);
          ++first;
        }
      }
      out += "\r\n";
    }
  }

 private:
  std::array<std::vector<std::uint64_t>, kTypeCount> ids_;
};

}  // namespace

std::unique_ptr<ListFormatter> MakeIdLines() { return std::make_unique<IdLines>(); }

}  // namespace quillet
