// The reader over what it may be given: sources that give a few bytes at a time and cannot go
// back (pipes), the bound on what a stream may hold, and the end of the directory as the end of
// what is read.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "commands/load_file.h"
#include "gen/generator.h"
#include "objects/byte_source.h"
#include "objects/object_file_reader.h"
#include "objects/object_types.h"
#include "objects/text.h"
#include "test_support.h"

namespace quillet {
namespace {

using test::LineA;

// A pipe's way of giving bytes: a few at a time, as they come, and never from the start again.
class TrickleSource final : public ByteSource {
 public:
  TrickleSource(std::string_view data, std::uint32_t seed) : data_(data), random_(seed) {}
  std::size_t Read(char* destination, std::size_t n) override {
    const std::size_t most = std::uniform_int_distribution<std::size_t>(1, 300)(random_);
    const std::size_t count = std::min({n, most, data_.size() - position_});
    std::copy_n(data_.data() + position_, count, destination);
    position_ += count;
    read_ = std::max(read_, position_);
    return count;
  }
  Status Rewind() override { return Fail("a pipe cannot be read twice"); }
  Status ReadStatus() const override { return Ok(); }
  std::size_t read() const { return read_; }

 private:
  std::string_view data_;
  std::size_t position_ = 0;
  std::size_t read_ = 0;
  std::mt19937 random_;
};

struct Loaded {
  LoadResult result;
  std::vector<std::string> records;
};

Loaded ReadFrom(ByteSource& source, bool backup = false) {
  ObjectTable table;
  NullStatusSink status;
  Loaded loaded{ReadObjectDirectory(table, source, 1, backup, status), {}};
  for (int row = 1; row <= table.Count(1); ++row) {
    loaded.records.emplace_back(table.Record(1, row));
  }
  return loaded;
}

void ExpectSameLoad(const Loaded& a, const Loaded& b, const std::string& what) {
  EXPECT_EQ(a.result.status, b.result.status) << what;
  EXPECT_EQ(a.result.lines, b.result.lines) << what;
  EXPECT_EQ(a.result.cut_short, b.result.cut_short) << what;
  EXPECT_EQ(a.result.no_directory, b.result.no_directory) << what;
  EXPECT_TRUE(a.records == b.records)
      << what << ": " << a.records.size() << " against " << b.records.size() << " objects";
}

// Whatever the bytes, a stream read once and held gives what the file gives: the line starts
// the count looks for fall across reads at every place.
TEST(StreamInput, ReadsAsAFileReadsWhateverTheBytes) {
  std::mt19937 random(5);
  std::vector<std::pair<std::string, std::string>> inputs;
  for (int objects : {1, 3, 40, 900}) {
    gen::Options options;
    options.objects = objects;
    options.seed = static_cast<std::uint32_t>(objects);
    options.date_form = gen::DateForm::kMixed;
    options.repeated_tables = objects / 10;
    options.data_size = 5000;
    inputs.emplace_back("generated " + std::to_string(objects),
                        gen::EncodeFile(gen::GenerateObjects(options), options));
  }
  // The same, damaged: cut, bytes changed, CR LF and type names planted at random.
  for (int damage = 0; damage < 40; ++damage) {
    std::string bytes = inputs[damage % inputs.size()].second;
    bytes.resize(std::uniform_int_distribution<std::size_t>(0, bytes.size())(random));
    for (int k = 0; k < 20 && !bytes.empty(); ++k) {
      const std::size_t at =
          std::uniform_int_distribution<std::size_t>(0, bytes.size() - 1)(random);
      const char* planted[] = {"\r\n", "\x1A", "\r\nTable ", "Query ", "\r", "TableData"};
      bytes.insert(at, planted[random() % 6]);
    }
    inputs.emplace_back("damaged " + std::to_string(damage), bytes);
  }
  inputs.emplace_back("empty", "");
  inputs.emplace_back("end mark only", "\x1A");
  for (const auto& [what, bytes] : inputs) {
    for (const bool backup : {false, true}) {
      MemorySource file(bytes);
      const Loaded expected = ReadFrom(file, backup);
      ReplaySource stream(std::make_unique<TrickleSource>(bytes, 7));
      ExpectSameLoad(ReadFrom(stream, backup), expected, what);
    }
  }
}

// A stream is read no further than its directory's end and the line that crosses it: a writer
// that sends more, or keeps its end open, is never waited on.
TEST(StreamInput, StopsAtTheEndOfTheDirectory) {
  std::string directory;
  for (int i = 1; i <= 500; ++i) {
    directory += LineA("Codeunit", std::to_string(i), "C", "01.01.10", "1:00:00", "1", "");
  }
  const std::string bytes = directory + "\x1A" + std::string(1 << 20, 'd');
  auto trickle = std::make_unique<TrickleSource>(bytes, 3);
  const TrickleSource& seen = *trickle;
  ReplaySource stream(std::move(trickle));
  const Loaded loaded = ReadFrom(stream);
  EXPECT_EQ(loaded.records.size(), 500u);
  EXPECT_LE(seen.read(), directory.size() + 1 + 300);  // at most one read past the 0x1A
}

TEST(StreamInput, AStreamPastItsBoundFailsAndSaysWhy) {
  const std::string endless(5000, '\0');
  for (const std::size_t limit : {std::size_t{4096}, std::size_t{1000}}) {
    ReplaySource stream(std::make_unique<MemorySource>(endless), limit);
    const Loaded loaded = ReadFrom(stream);
    EXPECT_EQ(loaded.result.status, LoadStatus::kUnreadable);
    EXPECT_EQ(loaded.result.read.error(),
              (limit == 4096 ? std::string("its list of objects does not end within 4 KiB")
                             : std::string("its list of objects does not end within 1000 bytes")) +
                  ", the most read from a pipe or a device");
  }
  // Exactly as long as the bound is still within it.
  const std::string file = LineA("Page", "1", "P", "01.01.10", "1:00:00", "1", "") + "\x1A";
  ReplaySource stream(std::make_unique<MemorySource>(file), file.size());
  EXPECT_EQ(ReadFrom(stream).records.size(), 1u);
  ASSERT_TRUE(stream.Rewind().ok());
  char first[5] = {};
  EXPECT_EQ(stream.Read(first, 4), 4u);
  EXPECT_EQ(std::string(first), "Page");
}

// Lines of a type the count does not know are read in their turn, but none that starts at or
// after the end mark: the objects' data can hold anything.
TEST(DirectoryEnd, NoLineIsReadFromTheDataAfterIt) {
  // Two line starts announced (the second hidden in a name), one of them a line of another type.
  std::string directory =
      LineA("Form", "1", "First\r\nPage hidden", "01.01.10", "1:00:00", "1", "") +
      LineA("Query", "2", "Odd", "01.01.10", "1:00:00", "1", "");
  // Data that reads as lines on and on once the end mark is taken for a line's first byte.
  std::string data = LineA("Blob", "0", "data", "01.01.10", "1:00:00", "1", "").substr(1);
  for (int i = 1; i < 100000; ++i) {
    data += LineA("Blob", std::to_string(i), "data", "01.01.10", "1:00:00", "1", "");
  }
  ASSERT_GT(data.size(), 16'000'000u);
  test::TempDir dir;
  test::TestWorkspace t;
  const LoadResult result =
      LoadObjectFile(t.ws, dir.Write("data.fob", directory + "\x1A" + data), 1);
  EXPECT_EQ(result.lines, 2);
  EXPECT_EQ(result.objects, 2);
  EXPECT_FALSE(result.cut_short);
  EXPECT_TRUE(t.messages.texts.empty());
  EXPECT_EQ(std::string(TrimBlanks(t.table.Read(1, 2, Field::kType))), "Query");

  // A line that starts before the mark and runs past it is still read, as far as its fields go.
  const std::string line = LineA("Page", "3", "Crossing", "01.01.10", "1:00:00", "1", "V1");
  const std::string crossing = line.substr(0, 100) + "\x1A" + line.substr(100);
  EXPECT_EQ(LoadObjectFile(t.ws, dir.Write("crossing.fob", crossing), 1).objects, 1);
  EXPECT_EQ(std::string(TrimBlanks(t.table.Read(1, 1, Field::kName))), "Crossing");
}

// A file that changes between the count and the reading (rewritten, cut, emptied) may give
// other objects, but the reading ends, inside the table's room, and says when lines were cut.
TEST(DirectoryEnd, AFileChangedBetweenItsPassesEndsSafely) {
  class ChangingSource final : public ByteSource {
   public:
    ChangingSource(std::string first, std::string second)
        : first_(std::move(first)), second_(std::move(second)), now_(first_) {}
    std::size_t Read(char* destination, std::size_t n) override {
      return now_.Read(destination, n);
    }
    Status Rewind() override {
      now_ = MemorySource(second_);
      return Ok();
    }
    Status ReadStatus() const override { return Ok(); }

   private:
    std::string first_, second_;
    MemorySource now_;
  };
  gen::Options options;
  options.objects = 3000;
  options.data_size = 0;
  const std::string file = gen::EncodeFile(gen::GenerateObjects(options), options);
  options.objects = 6000;
  options.seed = 9;
  const std::string longer = gen::EncodeFile(gen::GenerateObjects(options), options);
  const struct {
    const char* what;
    std::string second;
    int objects;    // -1: whatever the bytes make of it
    int cut_short;  // -1: either
  } cases[] = {
      {"emptied", "", 0, 1},
      {"cut in half", file.substr(0, file.size() / 2), -1, 1},
      {"grown", longer, 3000, 0},
      {"overwritten", std::string(file.size(), 'x'), -1, -1},
  };
  for (const auto& c : cases) {
    ChangingSource source(file, c.second);
    const Loaded loaded = ReadFrom(source);
    if (c.cut_short >= 0) {
      EXPECT_EQ(loaded.result.cut_short, c.cut_short == 1) << c.what;
    }
    if (c.objects >= 0) {
      EXPECT_EQ(loaded.result.objects, c.objects) << c.what;
    }
    EXPECT_EQ(static_cast<int>(loaded.records.size()), loaded.result.objects) << c.what;
  }
}

// Which inputs are no object file at all: bytes without a directory. An empty input, and one
// whose directory is the end mark alone, are object files with no objects.
TEST(DirectoryEnd, SaysWhenThereIsNoDirectory) {
  const struct {
    std::string bytes;
    bool no_directory;
  } cases[] = {
      {"", false},
      {"\x1A", false},
      {"\x1A" + LineA("Page", "1", "P", "01.01.10", "1:00:00", "1", ""), false},
      {"# README\r\nsome text\r\n", true},
      {"Hello\r\nWorld\x1A", true},
      {std::string(70000, '\0'), true},
      {LineA("Page", "1", "P", "01.01.10", "1:00:00", "1", ""), true},  // no end mark
      {LineA("Page", "1", "P", "01.01.10", "1:00:00", "1", "") + "\x1A", false},
  };
  for (const auto& c : cases) {
    MemorySource source(c.bytes);
    EXPECT_EQ(ReadFrom(source).result.no_directory, c.no_directory) << c.bytes.substr(0, 20);
  }
}

TEST(ObjectTypes, TypeIndexKnowsExactlyTheNineNames) {
  for (int type = 0; type < kTypeCount; ++type) EXPECT_EQ(TypeIndex(kTypeNames[type]), type);
  for (const std::string_view other :
       {"", "table", "TABLE", "Table ", " Table", "Tables", "TableDat", "Pages", "Fo", "Xmlport",
        "Codeunits", "Datap0rt", "Menusuite", "Query", "Report1", "MenuSuitf", "Bage", "Torm"}) {
    EXPECT_EQ(TypeIndex(other), -1) << other;
  }
}

}  // namespace
}  // namespace quillet
