// The session's comparison across many files: reading it, showing it instead of the list, and
// handing two of its files on to the changes view.
#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "commands/session.h"

namespace quillet {
namespace {

// Area `from_area` of `from` into area `to_area` of `to`, as a load would have stored it.
void CopyObjects(const ObjectTable& from, int from_area, ObjectTable& to, int to_area) {
  const int count = std::min(from.Count(from_area), to.Capacity());
  to.Reserve(to_area, count);
  for (int row = 1; row <= count; ++row) {
    std::memcpy(to.ClearedRecord(to_area, row), from.Record(from_area, row).data(), kRecordWidth);
  }
  to.SetCount(to_area, count);
}

}  // namespace

std::vector<AcrossFileRead> Session::CompareAcross(const std::vector<std::filesystem::path>& names,
                                                   const CompareCriteria& criteria,
                                                   InputKinds kinds) {
  DropAcross();
  // The old matrix and its table went first: two of them at once could be most of a gigabyte.
  across_ = std::make_unique<AcrossMatrix>(criteria);
  across_->SetObserver(across_observer_);
  std::vector<AcrossFileRead> reads = across_->Read(names, ws_.status, kinds);
  ShowAcross();
  return reads;
}

void Session::SetAcrossObserver(ListObserver* observer) {
  across_observer_ = observer;
  if (across_ != nullptr) across_->SetObserver(observer);
}

void Session::ShowAcross() {
  if (across_ == nullptr) return;
  across_shown_ = true;
  Result<RowQuery> query = ParseRowQuery(filter_text_);
  across_->SetQuery(query ? std::move(*query) : RowQuery());
  across_->List(filter_, ws_.status);
}

void Session::DropAcross() {
  across_shown_ = false;
  if (across_ == nullptr) return;
  // Whoever observes the matrix lets go of it before it goes.
  if (across_observer_ != nullptr) across_observer_->ListAboutToChange();
  across_.reset();
  if (across_observer_ != nullptr) across_observer_->ListChanged();
}

void Session::SetAcrossListed(AcrossStatuses listed) {
  if (across_ == nullptr) return;
  across_->SetListed(listed);
  across_->List(filter_, ws_.status);
}

bool Session::SortAcrossBy(int column) {
  if (across_ == nullptr) return true;
  return across_->SortBy(column, ws_.status);
}

void Session::ShowChangesBetween(int first, int second) {
  if (across_ == nullptr) return;
  if (first < 0 || second < 0 || first >= across_->FileCount() || second >= across_->FileCount() ||
      first == second) {
    throw std::out_of_range("no such pair of files");
  }
  const AcrossMatrix& matrix = *across_;
  for (const auto& [file, position] : {std::pair{1, first}, std::pair{2, second}}) {
    // The list's rows of the slot refer to the records about to be replaced.
    list_.RemoveRowsOfFile(file);
    list_.SetView(ListView::kObjects);
    const AcrossFile& source = matrix.File(position);
    ws_.status.FileOpened(file, source.name);
    CopyObjects(matrix.table(), matrix.Area(position), table_, file);
    SlotAt(file) = {source.name, source.changed_on_disk, source.stream};
  }
  Compare(CompareMode::kChanges, matrix.criteria());
}

}  // namespace quillet
