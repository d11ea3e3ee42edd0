// The window's Save of the rows across files: what it writes, and what it leaves alone when it
// cannot.
#include "output/across_output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "across_test_support.h"
#include "objects/status_sink.h"
#include "output/list_file_writer.h"
#include "output/list_formats.h"
#include "test_support.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CountRows final : public AcrossVisitor {
 public:
  bool Row(const AcrossRow& /*row*/) override { return true; }
};

class AcrossSave : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("quillet-across-save-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    areas_ = StoreFiles(table_, MakeInstallations(11, 4, 60), 1);
    context_.files = {"release.fob", "site <1>.fob", "site2.fob", "-"};
    context_.criteria = "Type and ID, Name, Version";
    choice_.filter.types.fill(true);
    choice_.listed = kAllAcrossStatuses;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // What quillet-cli writes to standard output for the same rows.
  std::string Streamed(ListFormat format, const AcrossComparison& comparison) {
    std::FILE* stream = std::tmpfile();
    std::string bytes;
    {
      StreamOutput output(stream, format);
      AcrossWriter writer(output, format, context_);
      NullStatusSink status;
      const AcrossResult result = comparison.List(choice_, status, writer);
      EXPECT_TRUE(writer.Finish(result)) << writer.Error();
    }
    std::rewind(stream);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) {
      bytes.append(buffer, n);
    }
    std::fclose(stream);
    return bytes;
  }

  // The window's Save, from a listing it made before.
  Status Saved(const fs::path& path, ListFormat format, const AcrossComparison& comparison) {
    NullStatusSink status;
    CountRows none;
    const AcrossResult result = comparison.List(choice_, status, none);
    return WriteAcrossFile(
        path, format, context_,
        [&](AcrossVisitor& visitor) {
          NullStatusSink again;
          static_cast<void>(comparison.List(choice_, again, visitor));
        },
        result);
  }

  fs::path dir_;
  ObjectTable table_;
  std::vector<int> areas_;
  AcrossContext context_;
  AcrossChoice choice_;
};

// The window's Save writes byte for byte what the command line writes, in every text format.
TEST_F(AcrossSave, WritesWhatTheCommandLineWrites) {
  const AcrossComparison comparison(table_, areas_, {});
  for (const ListFormat format : {ListFormat::kText, ListFormat::kCsv, ListFormat::kTsv,
                                  ListFormat::kJson, ListFormat::kHtml, ListFormat::kIds}) {
    const fs::path path = dir_ / "saved";
    const Status saved = Saved(path, format, comparison);
    ASSERT_TRUE(saved) << saved.error();
    const std::string bytes = Slurp(path);
    EXPECT_GT(bytes.size(), 200u) << static_cast<int>(format);
    EXPECT_EQ(bytes, Streamed(format, comparison)) << static_cast<int>(format);
  }
}

// A Save that cannot be made says why and leaves what was there; a pipe nobody reads is
// refused at once rather than waited on, so the window never hangs on it.
TEST_F(AcrossSave, WhatCannotBeWrittenIsLeftAsItWas) {
  const AcrossComparison comparison(table_, areas_, {});
  const fs::path folder = dir_ / "folder";
  fs::create_directories(folder);
  EXPECT_EQ(Saved(folder, ListFormat::kCsv, comparison).error(), "it is a folder");
  EXPECT_TRUE(fs::is_directory(folder));

  const fs::path missing = dir_ / "no such folder" / "x.csv";
  EXPECT_FALSE(Saved(missing, ListFormat::kCsv, comparison));
  EXPECT_FALSE(fs::exists(missing.parent_path()));

  // A pipe in a folder, where the system has them.
  for (const fs::path& pipe : MakeSpecialFiles(dir_)) {
    EXPECT_EQ(Saved(pipe, ListFormat::kCsv, comparison).error(), "no program reads from the pipe");
    EXPECT_TRUE(fs::is_fifo(pipe));
  }
}

}  // namespace
}  // namespace quillet::test
