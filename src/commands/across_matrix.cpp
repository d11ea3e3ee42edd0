#include "commands/across_matrix.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "list/columns.h"
#include "list/list_view.h"
#include "list/row_order.h"

namespace quillet {
namespace {

// An ID as its column shows it right-aligned, so that whole numbers sort by value as the
// list's ID column does.
int CompareIds(std::string_view a, std::string_view b) {
  const auto aligned = [](std::string_view id, std::array<char, 16>& room) {
    const std::size_t width = std::max<std::size_t>(FieldWidth(Field::kId), id.size());
    if (width > room.size()) return id;
    std::fill(room.begin(), room.end(), ' ');
    std::copy(id.begin(), id.end(), room.begin() + static_cast<long>(width - id.size()));
    return std::string_view(room.data(), width);
  };
  std::array<char, 16> room_a{}, room_b{};
  return CompareCellTexts(aligned(a, room_a), aligned(b, room_b));
}

}  // namespace

std::string_view AcrossColumnHeader(int column) {
  switch (column) {
    case kAcrossTypeColumn:
      return Info(Column::kType).header;
    case kAcrossIdColumn:
      return Info(Column::kId).header;
    case kAcrossNameColumn:
      return Info(Column::kName).header;
    case kAcrossVariantsColumn:
      return "Variants";
    default:
      return {};
  }
}

std::string_view AcrossStatusText(AcrossStatus status) {
  return StatusText(ListView::kAcross, static_cast<int>(status));
}

// Keeps each row as its key and instance, and while a sort is asked for the value it sorts by.
class AcrossMatrix::Collector final : public AcrossVisitor {
 public:
  explicit Collector(std::optional<int> column) : column_(column) {}

  struct Value {
    std::string_view text;
    int number = 0;
  };

  bool Row(const AcrossRow& row) override {
    rows.push_back({row.key, row.instance});
    if (column_) values.push_back(ValueOf(row));
    return true;
  }

  BulkVector<Shown> rows;
  std::vector<Value> values;

 private:
  Value ValueOf(const AcrossRow& row) const {
    switch (*column_) {
      case kAcrossTypeColumn:
        return {row.type};
      case kAcrossIdColumn:
        return {row.id};
      case kAcrossNameColumn:
        return {row.name};
      case kAcrossVariantsColumn:
        return {{}, row.variants};
      default: {
        // A file's cell: by its letter, a file without the object first.
        const auto file = static_cast<std::size_t>(*column_ - kAcrossFirstFileColumn);
        return {{}, file < row.cells.size() ? row.cells[file].variant : kNoVariant};
      }
    }
  }

  std::optional<int> column_;
};

std::vector<AcrossFileRead> AcrossMatrix::Read(const std::vector<std::filesystem::path>& names,
                                               StatusSink& status, InputKinds kinds) {
  Changing();
  comparison_.reset();
  rows_.clear();
  cached_ = -1;
  std::vector<AcrossFileRead> reads;
  for (const std::filesystem::path& name : names) {
    Result<LoadResult> read = files_read_.Add(name, status, kinds);
    files_.push_back({name, read && read->stream, false});
    reads.push_back({FileCount() - 1, std::move(read)});
  }
  comparison_ =
      std::make_unique<AcrossComparison>(files_read_.table(), files_read_.Areas(), criteria_);
  Changed();
  return reads;
}

std::vector<AcrossFileRead> AcrossMatrix::Reload(StatusSink& status) {
  Changing();
  // The comparison points into the table: it goes before the table changes.
  comparison_.reset();
  rows_.clear();
  cached_ = -1;
  std::vector<AcrossFileRead> reads;
  for (int position = 0; position < FileCount(); ++position) {
    AcrossFile& file = files_[static_cast<std::size_t>(position)];
    if (file.stream) continue;
    file.changed_on_disk = false;
    reads.push_back({position, files_read_.Reread(position, status)});
  }
  comparison_ =
      std::make_unique<AcrossComparison>(files_read_.table(), files_read_.Areas(), criteria_);
  Changed();
  return reads;
}

bool AcrossMatrix::ChangedOnDisk() const {
  return std::any_of(files_.begin(), files_.end(),
                     [](const AcrossFile& file) { return file.changed_on_disk; });
}

void AcrossMatrix::FileChanged(const std::filesystem::path& file_name) {
  for (AcrossFile& file : files_) {
    if (!file.stream && file.name == file_name) file.changed_on_disk = true;
  }
}

void AcrossMatrix::List(const RowFilter& filter, StatusSink& status) {
  filter_ = filter;
  if (comparison_ == nullptr) return;
  Changing();
  cached_ = -1;
  Collector collector(sort_column_);
  const AcrossChoice choice{filter, listed_, query_.MatchesEverything() ? nullptr : &query_};
  result_ = comparison_->List(choice, status, collector);

  if (sort_column_) {
    // A unit is the rows of one key, which stand together in the order of their instances.
    struct Unit {
      std::size_t first, count;
    };
    std::vector<Unit> units;
    for (std::size_t i = 0; i < collector.rows.size(); ++i) {
      if (!units.empty() && collector.rows[i].key == collector.rows[units.back().first].key) {
        ++units.back().count;
      } else {
        units.push_back({i, 1});
      }
    }
    const std::vector<Collector::Value>& values = collector.values;
    const int column = *sort_column_;
    const bool ascending = sort_ascending_;
    std::stable_sort(units.begin(), units.end(), [&](const Unit& a, const Unit& b) {
      const Collector::Value& x = values[a.first];
      const Collector::Value& y = values[b.first];
      const int order = column == kAcrossIdColumn ? CompareIds(x.text, y.text)
                        : column == kAcrossTypeColumn || column == kAcrossNameColumn
                            ? CompareCellTexts(x.text, y.text)
                            : (x.number > y.number) - (x.number < y.number);
      return ascending ? order < 0 : order > 0;
    });
    rows_.clear();
    rows_.reserve(collector.rows.size());
    for (const Unit& unit : units) {
      rows_.insert(rows_.end(), collector.rows.begin() + static_cast<long>(unit.first),
                   collector.rows.begin() + static_cast<long>(unit.first + unit.count));
    }
  } else {
    rows_ = std::move(collector.rows);
  }
  status.Counted(Count());
  Changed();
}

const AcrossRow& AcrossMatrix::Row(int row) const {
  if (row < 0 || row >= RowCount()) throw std::out_of_range("no such row");
  if (cached_ != row) {
    const Shown& shown = rows_[static_cast<std::size_t>(row)];
    cached_ = -1;
    cached_row_ = comparison_->Row(shown.key, shown.instance, cached_cells_);
    cached_ = row;
  }
  return cached_row_;
}

ListCount AcrossMatrix::Count() const {
  long long all = 0;
  for (const AcrossStatus status : {AcrossStatus::kDiffers, AcrossStatus::kSame}) {
    if (listed_.Has(status)) all += result_.rows_by_status[status];
  }
  const bool filtered = !query_.MatchesEverything();
  return {RowCount(), filtered ? all : RowCount(), filtered};
}

bool AcrossMatrix::SortBy(int column, StatusSink& status) {
  const bool ascending = !(sort_column_ == column && sort_ascending_);
  sort_column_ = column;
  sort_ascending_ = ascending;
  List(filter_, status);
  return ascending;
}

}  // namespace quillet
