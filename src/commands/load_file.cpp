#include "commands/load_file.h"

#include "objects/text.h"

namespace quillet {

LoadResult LoadObjectFile(Workspace& ws, const std::filesystem::path& file_name, int file,
                          InputKinds kinds) {
  Result<Input> opened = OpenInput(file_name, kinds);
  if (opened && opened->source == nullptr) return {};  // nothing there: nothing changes

  ws.list.RemoveRowsOfFile(file);
  // What is left of a keyed comparison is no longer its result: its statuses would lie.
  ws.list.SetView(ListView::kObjects);
  ws.status.ShowFilePanel(file, file_name);
  ws.status.SetPanelText(Panel::kActivity, "Analyzing...");
  ws.status.SetPanelText(Panel::kProgress, "");
  ws.status.SetPanelText(Panel::kCount, "");

  LoadResult result;
  if (!opened) {
    ws.table.SetCount(file, 0);
    result.status = LoadStatus::kUnreadable;
    result.read = Fail(opened.error());
  } else {
    result = ReadObjectDirectory(ws.table, *opened->source, file, IsBackupFileName(file_name),
                                 ws.status);
    result.stream = opened->stream;
  }

  if (result.status == LoadStatus::kUnreadable) {
    ws.messages.ShowMessage("Unable to read the file: " + result.read.error());
  } else if (result.capacity_reached) {
    ws.messages.ShowMessage("The file lists more than " + DecimalText(ws.table.Capacity()) +
                            " objects. Only the first " + DecimalText(ws.table.Capacity()) +
                            " are loaded.");
  } else if (result.cut_short) {
    ws.messages.ShowMessage(
        "The file ends inside its list of objects. Only the objects before the damaged line "
        "are loaded.");
  }
  return result;
}

}  // namespace quillet
