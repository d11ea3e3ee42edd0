#include "list/object_listing.h"

#include <cstring>

#include "objects/text.h"
#include "runtime/progress_ticker.h"

namespace quillet {

void AddObjectRow(Workspace& ws, int file, int index) {
  ObjectRow row;
  row.file = static_cast<std::uint8_t>(file);
  const std::string_view record = ws.table.Record(file, index);
  std::memcpy(row.fields.data(), record.data(), record.size());
  ws.list.Append(row);
}

void ShowFileObjects(Workspace& ws, int file) {
  const int count = ws.table.Count(file);
  ws.status.SetPanelText(3, "Displaying...");
  {
    ObjectList::ChangeScope scope(ws.list);
    ws.list.Reserve(ws.list.RowCount() + count);
    ProgressTicker ticker(count);
    const std::string prefix = "File " + DecimalText(file) + ": ";
    for (int i = 1; i <= count; ++i) {
      if (ws.filter.PassTypeFilter(ws.table.Read(file, i, Field::kType)) &&
          ws.filter.PassSystemFilter(ws.table.Read(file, i, Field::kId))) {
        AddObjectRow(ws, file, i);
      }
      if (ticker.Due(i)) {
        ws.status.SetPanelText(4, prefix + DecimalText(i));
        ws.status.SetProgress(50 + (50LL * i) / count);
      }
    }
  }
  ws.status.SetProgress(0);
  ws.status.SetPanelText(3, "Finished");
  ws.status.SetPanelText(5, "Count: " + DecimalText(ws.list.RowCount()));
  UpdateCompareButtons(ws);
}

void RefreshList(Workspace& ws) {
  ObjectList::ChangeScope scope(ws.list);
  ws.list.RemoveAll();
  ShowFileObjects(ws, 1);
  ShowFileObjects(ws, 2);
}

void UpdateCompareButtons(Workspace& ws) {
  const bool first = ws.table.Count(1) > 0;
  const bool second = ws.table.Count(2) > 0;
  ws.status.SetCompareCommandsEnabled(first && second, first || second);
}

}  // namespace quillet
