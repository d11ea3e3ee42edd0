#include "list/across_summary.h"

#include <stdexcept>
#include <utility>

namespace quillet {

AcrossSummary::AcrossSummary(int files)
    : files_(files),
      objects_(static_cast<std::size_t>(files), 0),
      only_here_(static_cast<std::size_t>(files), 0),
      differs_(static_cast<std::size_t>(files) * static_cast<std::size_t>(files), 0) {}

long long AcrossSummary::Differs(int file, int other) const {
  if (file < 0 || other < 0 || file >= files_ || other >= files_) {
    throw std::out_of_range("file out of range");
  }
  if (file == other) return 0;
  if (file > other) std::swap(file, other);
  return differs_[static_cast<std::size_t>(file) * static_cast<std::size_t>(files_) +
                  static_cast<std::size_t>(other)];
}

void AcrossSummary::Add(std::span<const InstanceObject> objects, int variants) {
  for (const InstanceObject& object : objects) ++objects_[static_cast<std::size_t>(object.file)];
  if (objects.size() == 1) ++only_here_[static_cast<std::size_t>(objects[0].file)];
  const bool everywhere = objects.size() == static_cast<std::size_t>(files_);
  if (everywhere && variants <= 1) return;  // the common case: no pair differs

  // Each file with an object against each file without one: walking the files in order
  // beside the objects (ascending) finds those without.
  if (!everywhere) {
    std::size_t next = 0;
    for (int lacking = 0; lacking < files_; ++lacking) {
      if (next < objects.size() && objects[next].file == lacking) {
        ++next;
        continue;
      }
      for (const InstanceObject& object : objects) {
        ++(object.file < lacking ? Pair(object.file, lacking) : Pair(lacking, object.file));
      }
    }
  }
  if (variants <= 1) return;
  // The files by variant, so that only the pairs that differ are looked at: most rows that
  // differ have one file apart from the rest.
  const auto variant_of = [](const InstanceObject& object) {
    return static_cast<std::size_t>(object.variant);
  };
  ends_.assign(static_cast<std::size_t>(variants), 0);
  for (const InstanceObject& object : objects) ++ends_[variant_of(object)];
  for (std::size_t v = 1; v < ends_.size(); ++v) ends_[v] += ends_[v - 1];
  by_variant_.resize(objects.size());
  for (auto object = objects.rbegin(); object != objects.rend(); ++object) {
    by_variant_[--ends_[variant_of(*object)]] = object->file;
  }
  // ends_[v] is now where variant v starts; the files of every later variant follow it.
  for (std::size_t v = 0; v + 1 < ends_.size(); ++v) {
    for (std::size_t i = ends_[v]; i < ends_[v + 1]; ++i) {
      const int file = by_variant_[i];
      for (std::size_t j = ends_[v + 1]; j < objects.size(); ++j) {
        const int other = by_variant_[j];
        ++(file < other ? Pair(file, other) : Pair(other, file));
      }
    }
  }
}

}  // namespace quillet
