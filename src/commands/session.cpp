#include "commands/session.h"

#include <algorithm>
#include <stdexcept>

#include "commands/listing.h"
#include "commands/load_file.h"
#include "platform/same_file.h"

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
                     [](const LoadedSlot& slot) { return slot.changed_on_disk; }) ||
         (across_ != nullptr && across_->ChangedOnDisk());
}

std::vector<std::filesystem::path> Session::LoadedFiles() const {
  std::vector<std::filesystem::path> names;
  for (const LoadedSlot& slot : slots_) {
    if (!slot.name.empty() && !slot.stream &&
        std::find(names.begin(), names.end(), slot.name) == names.end()) {
      names.push_back(slot.name);
    }
  }
  for (int position = 0; across_ != nullptr && position < across_->FileCount(); ++position) {
    const AcrossFile& file = across_->File(position);
    if (!file.stream && std::find(names.begin(), names.end(), file.name) == names.end()) {
      names.push_back(file.name);
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
  DropAcross();
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
  // The base is not listed: what the list showed stays, a comparison made again, as its result
  // may hang on the base and the reading left only its rows.
  if (file == kBaseFile) {
    if (compared_ != CompareMode::kNone) Compare(compared_, criteria_);
    return;
  }
  const FilterHold hold(background_);
  ShowFileObjects(ws_, file);
  compared_ = CompareMode::kNone;
  across_shown_ = false;
}

bool Session::ToggleType(int type) {
  bool& shown = filter_.types.at(static_cast<std::size_t>(type));
  shown = !shown;
  return shown;
}

void Session::Relist() {
  if (across_shown_) {
    across_->List(filter_, ws_.status);
    return;
  }
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
  across_shown_ = false;
}

void Session::Compare(CompareMode mode, const CompareCriteria& criteria) {
  const FilterHold hold(background_);
  criteria_ = criteria;
  compared_ = mode;
  across_shown_ = false;
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

std::vector<AcrossFileRead> Session::Reload() {
  const FilterHold hold(background_);
  for (int file = 0; file < SlotCount(); ++file) {
    LoadedSlot& slot = SlotAt(file);
    if (slot.name.empty() || slot.stream) continue;
    slot.changed_on_disk = false;
    LoadObjectFile(ws_, slot.name, file);
  }
  std::vector<AcrossFileRead> reads;
  if (across_ != nullptr) {
    reads = across_->Reload(ws_.status);
    if (across_shown_) across_->List(filter_, ws_.status);
  }
  // What the list showed, again: a comparison with its criteria, or the listing; the filter
  // stays with the list. Under the matrix the list shows again only when asked to.
  if (across_shown_) return reads;
  if (compared_ != CompareMode::kNone) {
    Compare(compared_, criteria_);
  } else {
    RefreshList(ws_);
  }
  return reads;
}

void Session::FileChanged(const std::filesystem::path& file_name) {
  // By the file, not its name: one slot may hold it through a link or another path, and the
  // watch tells of a change by one of its names only.
  for (LoadedSlot& slot : slots_) {
    if (!slot.name.empty() && !slot.stream && SameFile(slot.name, file_name)) {
      slot.changed_on_disk = true;
    }
  }
  if (across_ != nullptr) across_->FileChanged(file_name);
}

Status Session::SetFilter(std::string_view text) {
  Result<RowQuery> parse = ParseRowQuery(text);
  if (!parse) {
    // The word being typed is what fails; the list shows the words before it, not what a
    // start of that word happened to match a keystroke ago.
    const std::string_view before = WithoutLastWord(text);
    if (before != filter_text_) {
      if (Result<RowQuery> earlier = ParseRowQuery(before))
        ApplyFilter(std::move(*earlier), before);
    }
    return Error{parse.error()};
  }
  ApplyFilter(std::move(*parse), text);
  return Ok();
}

std::vector<long long> Session::ShownKeyedCounts() const {
  std::vector<long long> counts;
  if (!HasStatus(list_.view())) return counts;
  // A group's rows stand together, whatever the sort, and a filter keeps or hides them whole.
  std::uint32_t last_group = 0;
  for (int row = 1; row <= list_.RowCount(); ++row) {
    const ObjectRow& shown = list_.Row(row);
    if (shown.group != 0 && shown.group == last_group) continue;
    last_group = shown.group;
    if (shown.status >= counts.size()) counts.resize(shown.status + 1u, 0);
    ++counts[shown.status];
  }
  return counts;
}

std::string_view WithoutLastWord(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t end = text.find_last_not_of(kBlanks);
  if (end == std::string_view::npos) return {};
  const std::size_t start = text.find_last_of(kBlanks, end);
  if (start == std::string_view::npos) return {};
  const std::size_t kept = text.find_last_not_of(kBlanks, start);
  return kept == std::string_view::npos ? std::string_view() : text.substr(0, kept + 1);
}

void Session::ApplyFilter(RowQuery query, std::string_view text) {
  background_.Cancel();  // a filter started before is not what was asked last
  // The matrix follows the filter bar as the list does; it is listed again only while shown.
  if (across_ != nullptr) across_->SetQuery(query);
  list_.SetQuery(std::move(query));
  filter_text_ = text;
  asked_text_ = text;
  if (across_shown_) {
    NullStatusSink quiet;  // a keystroke is no long work: the status bar stays as it is
    across_->List(filter_, quiet);
  }
}

Status Session::StartFilter(std::string_view text) {
  Result<RowQuery> parse = ParseRowQuery(text);
  if (!parse) {
    // As SetFilter: the words before the one being typed, unless they are what is asked already.
    const std::string_view before = WithoutLastWord(text);
    if (before != asked_text_) {
      if (Result<RowQuery> earlier = ParseRowQuery(before))
        BeginFilter(std::move(*earlier), before);
    }
    return Error{parse.error()};
  }
  BeginFilter(std::move(*parse), text);
  return Ok();
}

void Session::BeginFilter(RowQuery query, std::string_view text) {
  // The empty filter leaves every row: there is nothing to find. The matrix filters its own
  // rows, which are few beside the list's, here.
  if (query.MatchesEverything() || across_shown_) {
    ApplyFilter(std::move(query), text);
    return;
  }
  asked_text_ = text;
  background_.Start(std::move(query), std::string(text));
}

bool Session::FinishFilter() {
  std::optional<FoundFilter> found = background_.Take();
  if (!found) return false;
  if (across_ != nullptr) across_->SetQuery(found->query);  // the matrix's, when it shows again
  if (found->shown) {
    list_.SetQuery(std::move(found->query), std::move(*found->shown));
  } else {
    list_.SetQuery(std::move(found->query));
  }
  filter_text_ = std::move(found->text);
  asked_text_ = filter_text_;
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
