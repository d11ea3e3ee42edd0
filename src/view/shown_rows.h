#pragma once

#include <cstdint>
#include <vector>

#include "list/object_list.h"

namespace quillet {

// The rows the list view shows over the list's rows. Mostly one for one, the marks those of the
// comparison; in the upgrade analysis each side is marked only where it differs from the base
// (where there is no base, where the sides differ from each other), and a side that removed the
// object shows a placeholder row of its own beside the base's. The placeholders are the
// window's only: the list, and all that is saved, printed or copied, holds none.
class ShownRows {
 public:
  struct Entry {
    int row = 0;              // the list's row, from 1; a placeholder's is its base row
    int removed_from = 0;     // 1 or 2: a placeholder for that side; 0: the row itself
    std::uint16_t marks = 0;  // the fields shown as changed, a bit per Field
  };

  // After every change of the list.
  void Rebuild(const ObjectList& list);
  // While the list changes: one for one, so nothing stale is read meanwhile.
  void Clear() {
    one_for_one_ = true;
    entries_.clear();
  }

  int Count(const ObjectList& list) const {
    return one_for_one_ ? list.RowCount() : static_cast<int>(entries_.size());
  }
  // Shown row `shown`, from 0, which Count() bounds.
  Entry At(const ObjectList& list, int shown) const;

 private:
  bool one_for_one_ = true;
  std::vector<Entry> entries_;  // the upgrade analysis's rows as shown
};

}  // namespace quillet
