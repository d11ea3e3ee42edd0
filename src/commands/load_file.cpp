#include "commands/load_file.h"

namespace quillet {

LoadResult LoadObjectFile(Workspace& ws, const std::filesystem::path& file_name, int file,
                          InputKinds kinds) {
  Result<Input> opened = OpenInput(file_name, kinds);
  if (opened && opened->source == nullptr) return {};  // nothing there: nothing changes

  {
    ObjectList::ChangeScope scope(ws.list);
    ws.list.RemoveRowsOfFile(file);
    // What is left of a comparison is no longer its result: its statuses, changed cells and
    // pairs would lie.
    ws.list.SetView(ListView::kObjects);
    ws.list.ClearMarks();
  }
  ws.status.FileOpened(file, file_name);
  ws.status.Begin(Phase::kOpening, file);

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
    ws.messages.Tell(Notice::Unreadable(result.read.error()));
  } else if (result.capacity_reached) {
    ws.messages.Tell(Notice::TooManyObjects(ws.table.Capacity()));
  } else if (result.cut_short) {
    ws.messages.Tell(Notice::CutShort());
  }
  return result;
}

}  // namespace quillet
