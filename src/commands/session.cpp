#include "commands/session.h"

#include <algorithm>
#include <stdexcept>

#include "commands/listing.h"
#include "commands/load_file.h"

namespace quillet {

Session::Session(ObjectTable& table, StatusSink& status, MessageSink& messages)
    : table_(table), ws_{table_, list_, filter_, status, messages} {}

const LoadedSlot& Session::Slot(int file) const {
  if (file < 0 || file >= SlotCount()) throw std::out_of_range("slot out of range");
  return slots_[static_cast<std::size_t>(file)];
}

LoadedSlot& Session::SlotAt(int file) { return const_cast<LoadedSlot&>(Slot(file)); }

bool Session::Enabled(Command command) const {
  const AvailableCommands available = CommandsFor(table_);
  switch (command) {
    case Command::kCompareEqual:
    case Command::kCompareDifferent:
    case Command::kShowChanges:
      return available.compare;
    case Command::kShowUpgrade:
      return available.upgrade;
    case Command::kShowAll:
      return available.show_all;
    case Command::kReload:
      return !LoadedFiles().empty();
    default:
      return true;
  }
}

bool Session::ChangedOnDisk() const {
  return std::any_of(slots_.begin(), slots_.end(),
                     [](const LoadedSlot& slot) { return slot.changed_on_disk; });
}

std::vector<std::filesystem::path> Session::LoadedFiles() const {
  std::vector<std::filesystem::path> names;
  for (const LoadedSlot& slot : slots_) {
    if (!slot.name.empty() && !slot.stream &&
        std::find(names.begin(), names.end(), slot.name) == names.end()) {
      names.push_back(slot.name);
    }
  }
  return names;
}

void Session::New() {
  const FilterHold hold(background_);
  list_.RemoveAll();
  for (int file = 0; file < SlotCount(); ++file) {
    table_.SetCount(file, 0);
    SlotAt(file) = {};
  }
  compared_ = CompareMode::kNone;
}

LoadResult Session::Load(const std::filesystem::path& file_name, int file, InputKinds kinds) {
  const FilterHold hold(background_);
  const LoadResult result = Read(file_name, file, kinds);
  // A file that is not there changed nothing; listing its slot again would only repeat rows.
  if (result.status != LoadStatus::kMissing) Show(file);
  return result;
}

LoadResult Session::Read(const std::filesystem::path& file_name, int file, InputKinds kinds) {
  const FilterHold hold(background_);
  LoadResult result = LoadObjectFile(ws_, file_name, file, kinds);
  if (result.status != LoadStatus::kMissing) SlotAt(file) = {file_name, false, result.stream};
  return result;
}

void Session::Show(int file) {
  // The base is not listed: what the list showed stays.
  if (file == kBaseFile) return;
  const FilterHold hold(background_);
  ShowFileObjects(ws_, file);
  compared_ = CompareMode::kNone;
}

bool Session::ToggleType(int type) {
  bool& shown = filter_.types.at(static_cast<std::size_t>(type));
  shown = !shown;
  return shown;
}

void Session::Relist() {
  // In a keyed comparison's view the types narrow the comparison; elsewhere the list is
  // rebuilt from both files.
  if (HasStatus(list_.view())) {
    Compare(compared_, criteria_);
  } else {
    ShowAll();
  }
}

void Session::ShowAll() {
  const FilterHold hold(background_);
  RefreshList(ws_);
  compared_ = CompareMode::kNone;
}

void Session::Compare(CompareMode mode, const CompareCriteria& criteria) {
  const FilterHold hold(background_);
  criteria_ = criteria;
  compared_ = mode;
  keyed_counts_ = RunComparison(ws_, mode, criteria, listed_);
}

void Session::SetListed(unsigned bits) {
  if (compared_ == CompareMode::kUpgrade) {
    listed_.upgrade = UpgradeResults::FromBits(bits);
    Compare(CompareMode::kUpgrade, criteria_);
  } else {
    listed_.changes = ChangeStatuses::FromBits(bits);
    Compare(CompareMode::kChanges, criteria_);
  }
}

void Session::Reload() {
  const FilterHold hold(background_);
  for (int file = 0; file < SlotCount(); ++file) {
    LoadedSlot& slot = SlotAt(file);
    if (slot.name.empty() || slot.stream) continue;
    slot.changed_on_disk = false;
    LoadObjectFile(ws_, slot.name, file);
  }
  // What the list showed, again: a comparison with its criteria, or the listing; the filter
  // stays with the list.
  if (compared_ != CompareMode::kNone) {
    Compare(compared_, criteria_);
  } else {
    RefreshList(ws_);
  }
}

void Session::FileChanged(const std::filesystem::path& file_name) {
  for (LoadedSlot& slot : slots_) {
    if (!slot.name.empty() && slot.name == file_name) slot.changed_on_disk = true;
  }
}

Status Session::SetFilter(std::string_view text) {
  Result<RowQuery> parse = ParseRowQuery(text);
  if (!parse) return Error{parse.error()};
  ApplyFilter(std::move(*parse), text);
  return Ok();
}

void Session::ApplyFilter(RowQuery query, std::string_view text) {
  background_.Cancel();  // a filter started before is not what was asked last
  list_.SetQuery(std::move(query));
  filter_text_ = text;
}

Status Session::StartFilter(std::string_view text) {
  Result<RowQuery> parse = ParseRowQuery(text);
  if (!parse) return Error{parse.error()};
  // The empty filter leaves every row: there is nothing to find.
  if (parse->MatchesEverything()) {
    ApplyFilter(std::move(*parse), text);
  } else {
    background_.Start(std::move(*parse), std::string(text));
  }
  return Ok();
}

bool Session::FinishFilter() {
  std::optional<FoundFilter> found = background_.Take();
  if (!found) return false;
  if (found->shown) {
    list_.SetQuery(std::move(found->query), std::move(*found->shown));
  } else {
    list_.SetQuery(std::move(found->query));
  }
  filter_text_ = std::move(found->text);
  return true;
}

bool Session::SortBy(Column column) {
  const FilterHold hold(background_);
  const bool ascending = column != sort_column_;
  sort_column_ = ascending ? std::optional(column) : std::nullopt;
  list_.SortByColumn(column, ascending);
  return ascending;
}

}  // namespace quillet
