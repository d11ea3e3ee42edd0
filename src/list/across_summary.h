#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace quillet {

// One file's object in a key instance: the file's position among the compared files, its
// record and its variant.
struct InstanceObject {
  int file;
  int index;
  int variant;
};

// Per file of a comparison across files: its key instances, those no other file has, and
// against each other file the key instances on which the two differ (one has an object the
// other lacks, or their variants differ).
class AcrossSummary {
 public:
  AcrossSummary() = default;
  explicit AcrossSummary(int files);

  int FileCount() const { return files_; }
  long long Objects(int file) const { return objects_.at(static_cast<std::size_t>(file)); }
  long long OnlyHere(int file) const { return only_here_.at(static_cast<std::size_t>(file)); }
  // The same both ways round; 0 for a file against itself.
  long long Differs(int file, int other) const;

  // Counts one key instance: the files that have an object, ascending, and how many variants
  // they hold.
  void Add(std::span<const InstanceObject> objects, int variants);

  bool operator==(const AcrossSummary& other) const {
    return files_ == other.files_ && objects_ == other.objects_ && only_here_ == other.only_here_ &&
           differs_ == other.differs_;
  }

 private:
  long long& Pair(int a, int b) {
    return differs_[static_cast<std::size_t>(a) * static_cast<std::size_t>(files_) +
                    static_cast<std::size_t>(b)];
  }

  int files_ = 0;
  std::vector<long long> objects_, only_here_;
  // Row a, column b for a < b only.
  std::vector<long long> differs_;
  // For Add: the files of an instance by variant, and where each variant's start.
  std::vector<std::size_t> ends_;
  std::vector<int> by_variant_;
};

}  // namespace quillet
