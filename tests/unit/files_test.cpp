// Opening input files and writing output files by any name the system can give: names outside
// the ANSI code page and paths past the old 260-character limit of Windows.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "commands/listing.h"
#include "commands/load_file.h"
#include "gen/generator.h"
#include "objects/byte_source.h"
#include "output/list_file_writer.h"
#include "platform/atomic_file.h"
#include "platform/system_path.h"
#include "test_support.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

std::string Generated(int objects) {
  gen::Options options;
  options.objects = objects;
  options.data_size = 64;
  return gen::EncodeFile(gen::GenerateObjects(options), options);
}

// Everything an opened input gives, or the reason it could not be opened.
std::string ReadAll(const fs::path& path) {
  Result<Input> opened = OpenInput(path);
  if (!opened || opened->source == nullptr) return "<" + opened.error() + ">";
  std::string bytes(1 << 16, '\0');
  bytes.resize(opened->source->Read(bytes.data(), bytes.size()));
  const Status read = opened->source->ReadStatus();
  return !read ? "<" + read.error() + ">" : bytes;
}

bool Put(const fs::path& path, std::string_view bytes) {
  AtomicFileOpen opened = AtomicFile::Open(path);
  return opened.file != nullptr && opened.file->Write(bytes) && opened.file->Commit();
}

TEST(FileSource, ReadsARegularFileAndRefusesTheRest) {
  test::TempDir dir;
  const fs::path file = dir.Write("f.fob", "0123456789");
  Result<Input> opened = OpenInput(file);
  ASSERT_TRUE(opened.ok() && opened->source != nullptr) << opened.error();
  EXPECT_FALSE(opened->stream);
  ByteSource& source = *opened->source;
  char bytes[8] = {};
  EXPECT_EQ(source.Read(bytes, 4), 4u);
  EXPECT_EQ(std::string(bytes, 4), "0123");
  EXPECT_EQ(source.Read(bytes, 8), 6u);  // the rest, then the end
  EXPECT_EQ(source.Read(bytes, 8), 0u);
  EXPECT_TRUE(source.ReadStatus().ok());
  ASSERT_TRUE(source.Rewind().ok());
  EXPECT_EQ(source.Read(bytes, 2), 2u);
  EXPECT_EQ(std::string(bytes, 2), "01");

  fs::create_directory(dir / "folder.fob");
  const Result<Input> folder = OpenInput(dir / "folder.fob");
  EXPECT_FALSE(folder.ok());
  EXPECT_EQ(folder.error(), "it is a folder");
  for (const fs::path& special : test::MakeSpecialFiles(dir.path())) {
    const Result<Input> refused = OpenInput(special);
    EXPECT_FALSE(refused.ok()) << special;
    EXPECT_EQ(refused.error(), "it is not a regular file") << special;
  }

  for (const fs::path& missing :
       {dir / "missing.fob", dir / "no-folder" / "f.fob", fs::path(file) / "f.fob", fs::path()}) {
    const Result<Input> none = OpenInput(missing);
    EXPECT_TRUE(none.ok()) << missing;  // missing is no error: there is nothing
    EXPECT_EQ(none->source, nullptr) << missing;
  }
}

TEST(AtomicFile, ReplacesTheOldFileOnlyOnCommit) {
  test::TempDir dir;
  const fs::path target = dir.Write("list.txt", "the old list, longer than the new one");
  {
    AtomicFileOpen opened = AtomicFile::Open(target);
    ASSERT_NE(opened.file, nullptr) << opened.error;
    ASSERT_TRUE(opened.file->Write("the new"));
    EXPECT_EQ(ReadAll(target), "the old list, longer than the new one");
  }  // given up: the old file stays and the new one goes
  EXPECT_EQ(ReadAll(target), "the old list, longer than the new one");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  ASSERT_TRUE(Put(target, "the new list"));
  EXPECT_EQ(ReadAll(target), "the new list");
  ASSERT_TRUE(Put(dir / "fresh.txt", "a new file"));
  EXPECT_EQ(ReadAll(dir / "fresh.txt"), "a new file");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);

  fs::create_directory(dir / "folder.txt");
  const AtomicFileOpen folder = AtomicFile::Open(dir / "folder.txt");
  EXPECT_EQ(folder.file, nullptr);
  EXPECT_EQ(folder.error, "it is a folder");
  EXPECT_TRUE(fs::is_directory(dir / "folder.txt"));
  const AtomicFileOpen nowhere = AtomicFile::Open(dir / "no-folder" / "list.txt");
  EXPECT_EQ(nowhere.file, nullptr);
  EXPECT_FALSE(nowhere.error.empty());
}

// Loads a generated file by `name`, lists it and saves the list by `list_name`; the list file
// must hold what it holds by a plain name.
void LoadListAndSave(const test::TempDir& dir, const fs::path& name, const fs::path& list_name) {
  const std::string bytes = Generated(40);
  ASSERT_TRUE(Put(name, bytes)) << name;
  ASSERT_EQ(ReadAll(name), bytes.substr(0, 1 << 16));

  test::TestWorkspace t;
  t.filter.types.fill(true);
  const LoadResult loaded = LoadObjectFile(t.ws, name, 1);
  ASSERT_EQ(loaded.status, LoadStatus::kLoaded) << loaded.read.error();
  EXPECT_EQ(t.table.Count(1), 40);
  EXPECT_EQ(t.status.Now(Panel::kFile1), test::Utf8Name(name));
  ShowFileObjects(t.ws, 1);
  EXPECT_EQ(t.list.RowCount(), 40);

  ASSERT_EQ(WriteListFile(list_name, t.list, ListFormat::kText).error(), "") << list_name;
  ASSERT_EQ(WriteListFile(dir / "plain.txt", t.list, ListFormat::kText).error(), "");
  EXPECT_EQ(ReadAll(list_name), ReadAll(dir / "plain.txt"));
  // Saved again over itself.
  ASSERT_EQ(WriteListFile(list_name, t.list, ListFormat::kText).error(), "") << list_name;
  EXPECT_EQ(ReadAll(list_name), ReadAll(dir / "plain.txt"));
}

TEST(FileNames, ANameOutsideTheAnsiCodePageIsLoadedListedAndSaved) {
  test::TempDir dir;
  const fs::path name = dir / fs::path(u8"\u00dcberpr\u00fcfung_\u03a9mega.fob");
  LoadListAndSave(dir, name, dir / fs::path(u8"\u00dcberpr\u00fcfung_\u03a9mega.txt"));
  EXPECT_TRUE(fs::exists(name));
}

TEST(FileNames, APathPastTheOldLimitIsReadAndWritten) {
  test::TempDir dir;
  fs::path folder = dir.path();
  std::vector<fs::path> folders;
  for (char letter : {'a', 'b', 'c'}) {
    folder /= std::string(90, letter);
    folders.push_back(folder);
    ASSERT_TRUE(fs::create_directory(SystemPath(folder))) << folder;
  }
  const fs::path name = folder / "objects.fob", list_name = folder / "objects.txt";
  ASSERT_GT(list_name.native().size(), 280u);
  LoadListAndSave(dir, name, list_name);

  // Taken apart by the long names too: the plain clean-up of the test's folder cannot reach in.
  std::error_code ec;
  fs::remove(SystemPath(name), ec);
  fs::remove(SystemPath(list_name), ec);
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) fs::remove(SystemPath(*it), ec);
}

}  // namespace
}  // namespace quillet
