#include "list/across.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "list/across_variants.h"
#include "objects/progress_ticker.h"
#include "objects/text.h"

namespace quillet {

// One key at a time, one instance at a time: the objects each file has there and their
// variants. What it keeps is a few numbers per file, reused from row to row.
class AcrossComparison::Walk {
 public:
  Walk(const AcrossComparison& comparison, std::vector<AcrossCell>& cells)
      : c_(comparison), sorter_(comparison.counted_), cells_(cells) {
    cells_.assign(static_cast<std::size_t>(c_.FileCount()), AcrossCell{});
  }

  // Takes up `key`; gives its number of instances, the most objects one file has of it.
  int Key(int key) {
    key_ = key;
    members_ = c_.keys_.Members(key);
    const std::span<const std::uint16_t> slots = c_.keys_.Slots(key);
    runs_.clear();
    int instances = 0;
    for (std::size_t m = 0; m < members_.size(); ++m) {
      if (runs_.empty() || runs_.back().slot != slots[m]) {
        runs_.push_back({slots[m], static_cast<int>(m), 0});
      }
      instances = std::max(instances, ++runs_.back().length);
    }
    return instances;
  }

  // Sorts the objects of instance `k` of the key into variants, in file order.
  void Instance(int k) {
    instance_ = k;
    objects_.clear();
    sorter_.Start();
    for (const Run& run : runs_) {
      if (run.length <= k) continue;
      const int index = members_[static_cast<std::size_t>(run.first + k)];
      objects_.push_back({run.slot, index, sorter_.Place(Record(run.slot, index).data())});
    }
  }

  std::span<const InstanceObject> Objects() const { return objects_; }
  int Variants() const { return sorter_.Count(); }
  AcrossStatus Status() const {
    return objects_.size() < cells_.size() || Variants() > 1 ? AcrossStatus::kDiffers
                                                             : AcrossStatus::kSame;
  }

  bool Matches(const RowQuery& query) const {
    return std::any_of(objects_.begin(), objects_.end(), [&](const InstanceObject& object) {
      const std::string_view record = Record(object.file, object.index);
      const auto field = [&](Field f) {
        return record.substr(static_cast<std::size_t>(FieldOffset(f)),
                             static_cast<std::size_t>(FieldWidth(f)));
      };
      return query.Matches({field(Field::kType),
                            field(Field::kId),
                            field(Field::kName),
                            field(Field::kVersion),
                            {}});
    });
  }

  // The row, its cells filled; Clear empties them again for the next.
  AcrossRow Row() {
    for (const InstanceObject& object : objects_) {
      cells_[static_cast<std::size_t>(object.file)] = {object.index, object.variant,
                                                       Record(object.file, object.index)};
    }
    const InstanceObject& first = objects_.front();
    const std::string_view record = cells_[static_cast<std::size_t>(first.file)].record;
    return {key_,
            instance_,
            c_.keys_.Type(key_),
            c_.keys_.Id(key_),
            first.file,
            record.substr(static_cast<std::size_t>(FieldOffset(Field::kName)),
                          static_cast<std::size_t>(FieldWidth(Field::kName))),
            Variants(),
            Status(),
            cells_};
  }
  void Clear() {
    for (const InstanceObject& object : objects_) {
      cells_[static_cast<std::size_t>(object.file)] = AcrossCell{};
    }
  }

 private:
  std::string_view Record(int slot, int index) const { return c_.RecordOf(slot, index); }

  const AcrossComparison& c_;
  VariantSorter sorter_;
  std::vector<AcrossCell>& cells_;
  int key_ = 0;
  int instance_ = 0;
  std::span<const int> members_;
  std::vector<Run> runs_;  // the members of each file that has the key, by file
  std::vector<InstanceObject> objects_;
};

AcrossComparison::AcrossComparison(const ObjectTable& table, std::vector<int> files,
                                   const CompareCriteria& criteria)
    : table_(table),
      files_(std::move(files)),
      counted_(CountedChangeFields(criteria)),
      keys_(table, files_) {
  for (const int area : files_) {
    firsts_.push_back(table_.Count(area) > 0 ? table_.Record(area, 1).data() : nullptr);
  }
}

void AcrossComparison::Prefetch(int key) const {
  const std::span<const int> members = keys_.Members(key);
  const std::span<const std::uint16_t> slots = keys_.Slots(key);
  for (std::size_t m = 0; m < members.size(); ++m) {
    const char* record = RecordOf(slots[m], members[m]).data();
    // The counted fields, from the name to the BLOB size, over up to three cache lines.
    __builtin_prefetch(record + FieldOffset(Field::kName));
    __builtin_prefetch(record + FieldOffset(Field::kName) + 64);
    __builtin_prefetch(record + FieldOffset(Field::kBlobSize) + FieldWidth(Field::kBlobSize) - 1);
  }
}

AcrossResult AcrossComparison::List(const AcrossChoice& choice, StatusSink& status,
                                    AcrossVisitor& visitor) const {
  BeginKeyedAnalysis(status);
  AcrossResult result;
  result.summary = AcrossSummary(FileCount());
  std::vector<AcrossCell> cells;
  Walk walk(*this, cells);
  const bool filtered = choice.query != nullptr && !choice.query->MatchesEverything();
  bool listing = true;

  const BulkVector<int> order = keys_.InListOrder();
  const auto total = static_cast<long long>(order.size());
  ProgressTicker ticker(total);
  for (long long n = 0; n < total; ++n) {
    const int key = order[static_cast<std::size_t>(n)];
    // The keys' records lie anywhere in the files' areas: asked for a few keys ahead, they come
    // together instead of each in turn.
    if (n + kPrefetchedKeys < total) {
      Prefetch(order[static_cast<std::size_t>(n + kPrefetchedKeys)]);
    }
    // Every object of a key has its type and ID, so testing the key is testing the row's
    // first object.
    if (choice.filter.PassTypeFilter(keys_.Type(key)) &&
        choice.filter.PassSystemFilter(keys_.Id(key))) {
      const int instances = walk.Key(key);
      for (int k = 0; k < instances; ++k) {
        walk.Instance(k);
        const AcrossStatus row_status = walk.Status();
        ++result.rows_by_status[row_status];
        result.summary.Add(walk.Objects(), walk.Variants());
        if (listing && choice.listed.Has(row_status) &&
            (!filtered || walk.Matches(*choice.query))) {
          listing = visitor.Row(walk.Row());
          result.rows += listing;
          walk.Clear();
        }
      }
    }
    if (ticker.Due(n + 1)) {
      status.Advance({Phase::kComparing, 0, n + 1, total});
    }
  }
  result.differs = result.rows_by_status[AcrossStatus::kDiffers] > 0;
  status.Begin(Phase::kFinished, 0);
  return result;
}

AcrossRow AcrossComparison::Row(int key, int instance, std::vector<AcrossCell>& cells) const {
  if (key < 0 || key >= keys_.KeyCount()) throw std::out_of_range("no such key");
  Walk walk(*this, cells);
  if (instance < 0 || instance >= walk.Key(key)) throw std::out_of_range("no such instance");
  walk.Instance(instance);
  return walk.Row();
}

}  // namespace quillet
