#include "objects/byte_source.h"

#include <algorithm>
#include <cstring>

#include "objects/text.h"

namespace quillet {
namespace {

// "1 GiB", "64 KiB", "100 bytes": a limit as the user reads it.
std::string SizeText(std::size_t bytes) {
  constexpr const char* kUnits[] = {"bytes", "KiB", "MiB", "GiB"};
  int unit = 0;
  while (unit < 3 && bytes >= 1024 && bytes % 1024 == 0) {
    bytes /= 1024;
    ++unit;
  }
  return DecimalText(static_cast<long long>(bytes)) + " " + kUnits[unit];
}

}  // namespace

std::size_t MemorySource::Read(char* destination, std::size_t n) {
  const std::size_t count = std::min(n, data_.size() - position_);
  if (count > 0) std::memcpy(destination, data_.data() + position_, count);
  position_ += count;
  return count;
}

Status MemorySource::Rewind() {
  position_ = 0;
  return Ok();
}

ReplaySource::ReplaySource(std::unique_ptr<ByteSource> once, std::size_t limit)
    : once_(std::move(once)), limit_(limit) {}

std::size_t ReplaySource::Read(char* destination, std::size_t n) {
  if (!status_ || n == 0) return 0;
  if (position_ == held_) {
    // Nothing held past here: the next bytes come from the stream, into the held ones.
    if (held_ == limit_) {
      char probe = 0;
      if (once_->Read(&probe, 1) == 0) return 0;  // it ends exactly at the limit
      status_ = Fail("its list of objects does not end within " + SizeText(limit_) +
                     ", the most read from a pipe or a device");
      return 0;
    }
    if (held_ == chunks_.size() * kChunk) {
      chunks_.push_back(std::make_unique_for_overwrite<char[]>(kChunk));
    }
    const std::size_t room = std::min(kChunk - held_ % kChunk, limit_ - held_);
    held_ += once_->Read(chunks_.back().get() + held_ % kChunk, room);
  }
  // From the held bytes, at most to the end of the chunk.
  const std::size_t count = std::min({n, held_ - position_, kChunk - position_ % kChunk});
  std::memcpy(destination, chunks_[position_ / kChunk].get() + position_ % kChunk, count);
  position_ += count;
  return count;
}

Status ReplaySource::Rewind() {
  if (status_) position_ = 0;
  return status_;
}

Status ReplaySource::ReadStatus() const {
  if (!status_) return status_;
  return once_->ReadStatus();
}

Result<Input> OpenInput(const std::filesystem::path& name, InputKinds kinds) {
  Result<std::unique_ptr<InputFile>> opened = InputFile::Open(name, kinds);
  if (!opened) return Error{opened.error()};
  if (*opened == nullptr) return Input{};
  if (!(*opened)->stream()) return Input{std::make_unique<FileSource>(std::move(*opened)), false};
  return Input{std::make_unique<ReplaySource>(std::make_unique<FileSource>(std::move(*opened))),
               true};
}

}  // namespace quillet
