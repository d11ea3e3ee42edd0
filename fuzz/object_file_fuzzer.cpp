// Feeds arbitrary bytes to the object file reader and everything that consumes what it reads:
// the listing, the export line and the printout layout. The fuzz build gives the object table a
// small capacity, so the fuzzer reaches its limit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "commands/listing.h"
#include "objects/object_file_reader.h"
#include "output/export_line.h"
#include "output/print_layout.h"

using namespace quillet;

namespace {

// A pipe's way of giving bytes: a few at a time, and never from the start again.
class TrickleSource final : public ByteSource {
 public:
  TrickleSource(std::string_view data, std::size_t step) : data_(data), step_(step) {}
  std::size_t Read(char* destination, std::size_t n) override {
    const std::size_t count = std::min({n, step_, data_.size() - position_});
    std::memcpy(destination, data_.data() + position_, count);
    position_ += count;
    step_ = step_ * 5 % 97 + 1;
    return count;
  }
  Status Rewind() override { return Fail("read once"); }
  Status ReadStatus() const override { return Ok(); }

 private:
  std::string_view data_;
  std::size_t position_ = 0;
  std::size_t step_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks the variant: backup rule, slot, filter; the rest is the file.
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  static ObjectTable table;
  ObjectList list(table);
  RowFilter filter;
  filter.types.fill(true);
  filter.hide_system = (flags & 4) != 0;
  NullStatusSink status;
  NullMessageSink messages;
  Workspace ws{table, list, filter, status, messages};

  const int file = (flags & 2) != 0 ? 2 : 1;
  MemorySource source(bytes);
  const LoadResult result = ReadObjectDirectory(table, source, file, (flags & 1) != 0, status);
  if (result.objects != table.Count(file) || result.objects > table.Capacity()) __builtin_trap();

  // The same bytes through a pipe, held for the second pass, give the same records.
  if ((flags & 8) != 0) {
    static ObjectTable streamed;
    ReplaySource stream(std::make_unique<TrickleSource>(bytes, flags % 13 + 1));
    const LoadResult again = ReadObjectDirectory(streamed, stream, file, (flags & 1) != 0, status);
    if (again.status != result.status || again.objects != result.objects ||
        again.cut_short != result.cut_short || again.no_directory != result.no_directory) {
      __builtin_trap();
    }
    for (int row = 1; row <= result.objects; ++row) {
      if (streamed.Record(file, row) != table.Record(file, row)) __builtin_trap();
    }
  }

  ShowFileObjects(ws, file);
  std::string out;
  for (const ObjectRow& row : list.AllRows()) AppendExportLine(out, list.ViewOf(row));
  const PrintMetrics metrics{10, 10, 300};
  const auto pages = PaginateRows(list.RowCount(), metrics);
  for (std::size_t page = 0; page < pages.size(); ++page) {
    LayOutPage(list, {"a", "b", "c"}, metrics, pages[page], static_cast<int>(page) + 1);
  }
  return 0;
}
