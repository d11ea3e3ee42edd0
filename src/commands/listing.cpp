#include "commands/listing.h"

#include "objects/progress_ticker.h"

namespace quillet {

void AddObjectRow(Workspace& ws, int file, int index) {
  ws.list.Append(ObjectRow::FromRecord(ws.table, file, index));
}

void ShowFileObjects(Workspace& ws, int file) {
  const int count = ws.table.Count(file);
  ws.status.Begin(Phase::kDisplaying, file);
  {
    ObjectList::ChangeScope scope(ws.list);
    ws.list.Reserve(static_cast<std::size_t>(ws.list.RowCount()) + static_cast<std::size_t>(count));
    ProgressTicker ticker(count);
    RecordFilter passes(ws.filter);
    for (int i = 1; i <= count; ++i) {
      if (passes.Passes(ws.table, file, i)) AddObjectRow(ws, file, i);
      if (ticker.Due(i)) ws.status.Advance({Phase::kDisplaying, file, i, count});
    }
  }
  ws.status.Begin(Phase::kFinished, file);
  ws.status.Counted(CountOf(ws.list));
}

void RefreshList(Workspace& ws) {
  ObjectList::ChangeScope scope(ws.list);
  ws.list.RemoveAll();
  ws.list.SetView(ListView::kObjects);
  ShowFileObjects(ws, 1);
  ShowFileObjects(ws, 2);
}

AvailableCommands CommandsFor(const ObjectTable& table) {
  const bool first = table.Count(1) > 0;
  const bool second = table.Count(2) > 0;
  const bool base = table.Count(kBaseFile) > 0;
  return {first && second, first || second, base && first && second};
}

}  // namespace quillet
