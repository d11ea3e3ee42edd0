#include "objects/byte_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "runtime/system_error.h"

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
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status file_status = fs::status(file_name, ec);
  if (file_name.empty() || file_status.type() == fs::file_type::not_found) {
    return {OpenStatus::kMissing, nullptr, {}};
  }
  if (ec) return {OpenStatus::kUnreadable, nullptr, ReasonText(ec)};
  if (file_status.type() == fs::file_type::directory) {
    return {OpenStatus::kUnreadable, nullptr, "it is a folder"};
  }
  if (file_status.type() != fs::file_type::regular) {
    return {OpenStatus::kUnreadable, nullptr, "it is not a regular file"};
  }
  std::FILE* file = std::fopen(file_name.c_str(), "rb");
  if (file == nullptr) return {OpenStatus::kUnreadable, nullptr, ReasonText(errno)};
  // The reader reads in large blocks of its own; a second buffer would only copy.
  std::setvbuf(file, nullptr, _IONBF, 0);
  return {OpenStatus::kOpened, std::unique_ptr<FileSource>(new FileSource(file)), {}};
}

FileSource::~FileSource() { std::fclose(file_); }

std::size_t FileSource::Read(char* destination, std::size_t n) {
  if (failed_) return 0;
  const std::size_t count = std::fread(destination, 1, n, file_);
  if (count < n && std::ferror(file_)) {
    failed_ = true;
    error_ = ReasonText(errno);
  }
  return count;
}

bool FileSource::Rewind() {
  if (failed_) return false;
  if (std::fseek(file_, 0, SEEK_SET) != 0) {
    failed_ = true;
    error_ = ReasonText(errno);
    return false;
  }
  return true;
}

}  // namespace quillet
