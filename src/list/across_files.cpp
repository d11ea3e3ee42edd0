#include "list/across_files.h"

#include "objects/byte_source.h"

namespace quillet {

Result<LoadResult> AcrossFiles::Add(const std::filesystem::path& file_name, StatusSink& status) {
  const int area = FileCount() + 1;
  names_.push_back(file_name);
  // The area exists, empty, whatever happens to the file.
  table_.SetCount(area, 0);
  status.Begin(Phase::kOpening, area);

  OpenResult opened = FileSource::Open(file_name);
  if (opened.status == OpenStatus::kMissing) return Fail("no such file");
  if (opened.source == nullptr) return Fail(opened.error);
  LoadResult result =
      ReadObjectDirectory(table_, *opened.source, area, IsBackupFileName(file_name), status);
  if (result.status == LoadStatus::kUnreadable) return Fail(result.error);
  return result;
}

std::vector<int> AcrossFiles::Areas() const {
  std::vector<int> areas;
  for (int position = 0; position < FileCount(); ++position) areas.push_back(position + 1);
  return areas;
}

}  // namespace quillet
