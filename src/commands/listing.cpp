#include "commands/listing.h"

#include "objects/progress_ticker.h"
#include "objects/text.h"

namespace quillet {

void AddObjectRow(Workspace& ws, int file, int index) {
  ws.list.Append(ObjectRow::FromRecord(ws.table, file, index));
}

void ShowFileObjects(Workspace& ws, int file) {
  const int count = ws.table.Count(file);
  ws.status.SetPanelText(Panel::kActivity, "Displaying...");
  {
    ObjectList::ChangeScope scope(ws.list);
    ws.list.Reserve(static_cast<std::size_t>(ws.list.RowCount()) + static_cast<std::size_t>(count));
    ProgressTicker ticker(count);
    const std::string prefix = "File " + DecimalText(file) + ": ";
    for (int i = 1; i <= count; ++i) {
      if (ws.filter.Passes(ws.table, file, i)) AddObjectRow(ws, file, i);
      if (ticker.Due(i)) {
        ws.status.SetPanelText(Panel::kProgress, prefix + DecimalText(i));
        const long long percent = 50 + (50LL * i) / count;  // whole percents, as always
        ws.status.SetProgress(static_cast<double>(percent));
      }
    }
  }
  ws.status.SetProgress(0);
  ws.status.SetPanelText(Panel::kActivity, "Finished");
  ws.status.SetPanelText(Panel::kCount, ListCountText(ws.list));
  UpdateCompareButtons(ws);
}

void RefreshList(Workspace& ws) {
  ObjectList::ChangeScope scope(ws.list);
  ws.list.RemoveAll();
  ws.list.SetView(ListView::kObjects);
  ShowFileObjects(ws, 1);
  ShowFileObjects(ws, 2);
}

void UpdateCompareButtons(Workspace& ws) {
  const bool first = ws.table.Count(1) > 0;
  const bool second = ws.table.Count(2) > 0;
  const bool base = ws.table.Count(kBaseFile) > 0;
  ws.status.SetCompareCommandsEnabled(first && second, first || second, base && first && second);
}

}  // namespace quillet
