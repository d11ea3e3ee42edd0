#include "list/across_files.h"

#include "objects/byte_source.h"

namespace quillet {

Result<LoadResult> AcrossFiles::Add(const std::filesystem::path& file_name, StatusSink& status,
                                    InputKinds kinds) {
  names_.push_back(file_name);
  // The area exists, empty, whatever happens to the file.
  table_.SetCount(FileCount(), 0);
  return Reread(FileCount() - 1, status, kinds);
}

Result<LoadResult> AcrossFiles::Reread(int position, StatusSink& status, InputKinds kinds) {
  const std::filesystem::path& file_name = Name(position);
  const int area = position + 1;
  status.Begin(Phase::kOpening, area);

  Result<Input> opened = OpenInput(file_name, kinds);
  if (!opened) {
    table_.SetCount(area, 0);
    return Error{opened.error()};
  }
  // A file gone since it was read leaves what it held, as a reload of file #1 does.
  if (opened->source == nullptr) return Fail("no such file");
  LoadResult result =
      ReadObjectDirectory(table_, *opened->source, area, IsBackupFileName(file_name), status);
  if (result.status == LoadStatus::kUnreadable) return Error{result.read.error()};
  result.stream = opened->stream;
  return result;
}

std::vector<int> AcrossFiles::Areas() const {
  std::vector<int> areas;
  for (int position = 0; position < FileCount(); ++position) areas.push_back(position + 1);
  return areas;
}

}  // namespace quillet
