#include "objects/byte_source.h"

#include <algorithm>
#include <cstring>

namespace quillet {

std::size_t MemorySource::Read(char* destination, std::size_t n) {
  const std::size_t count = std::min(n, data_.size() - position_);
  if (count > 0) std::memcpy(destination, data_.data() + position_, count);
  position_ += count;
  return count;
}

bool MemorySource::Rewind() {
  position_ = 0;
  return true;
}

OpenResult FileSource::Open(const std::filesystem::path& file_name) {
  InputFileOpen opened = InputFile::Open(file_name);
  if (opened.file == nullptr) return {opened.status, nullptr, std::move(opened.error)};
  return {
      OpenStatus::kOpened, std::unique_ptr<FileSource>(new FileSource(std::move(opened.file))), {}};
}

}  // namespace quillet
