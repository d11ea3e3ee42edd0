// Where outputs go on a POSIX system: which names reach one file, what is written into rather
// than replaced, and what a replaced file keeps.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "output/output_targets.h"
#include "platform/atomic_file.h"
#include "platform/output_file.h"
#include "platform/same_file.h"
#include "test_support.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) { return test::Slurp(path); }

bool Put(const fs::path& path, std::string_view bytes) {
  AtomicFileOpen opened = AtomicFile::Open(path);
  return opened.file != nullptr && opened.file->Write(bytes) && opened.file->Commit();
}

// Relative names are taken from the folder the program runs in.
class InFolder : public ::testing::Test {
 protected:
  InFolder() : previous_(fs::current_path()) { fs::current_path(dir_.path()); }
  ~InFolder() override { fs::current_path(previous_); }

  test::TempDir dir_;
  fs::path previous_;
};

using OutputTargets = InFolder;

TEST_F(OutputTargets, TwoNamesOfOneFileAreOneTarget) {
  fs::create_directory("sub");
  dir_.Write("in.fob", "objects");
  fs::create_symlink("in.fob", "link.fob");
  fs::create_hard_link("in.fob", "hard.fob");
  fs::create_symlink("nothere.txt", "dangling");
  const std::string absolute = (dir_ / "z.txt").string();
  struct Case {
    std::string rows;
    std::string printout;
  };
  for (const Case& c :
       {Case{"y.txt", "./y.txt"}, Case{"z.txt", absolute}, Case{"sub/../v.txt", "v.txt"},
        Case{"./sub/w.txt", "sub//w.txt"}, Case{"dangling", "nothere.txt"},
        Case{"../" + dir_.path().filename().string() + "/u.txt", "u.txt"}}) {
    const Status status = CheckOutputTargets(fs::path(c.rows), fs::path(c.printout), {});
    EXPECT_EQ(status.error(), "-o and --pdf name the same file") << c.rows << " " << c.printout;
    EXPECT_TRUE(SameFile(c.rows, c.printout)) << c.rows << " " << c.printout;
  }
  const std::vector<fs::path> inputs = {"in.fob"};
  for (const char* output : {"./in.fob", "link.fob", "hard.fob", "sub/../in.fob"}) {
    EXPECT_EQ(CheckOutputTargets(fs::path(output), std::nullopt, inputs).error(),
              "the output " + std::string(output) + " is an input file; it would be replaced");
  }
  EXPECT_TRUE(CheckOutputTargets(fs::path("a.txt"), fs::path("a.pdf"), inputs).ok());
  EXPECT_FALSE(SameFile("sub/x.txt", "x.txt"));
}

TEST_F(OutputTargets, StandardOutputTakesOneOutput) {
  const std::optional<fs::path> none, standard = fs::path("-"), file = fs::path("rows.txt");
  EXPECT_TRUE(CheckOutputTargets(standard, none, {}).ok());
  EXPECT_TRUE(CheckOutputTargets(file, standard, {}).ok());
  EXPECT_TRUE(CheckOutputTargets(standard, fs::path("p.pdf"), {}).ok());
  for (const auto& rows : {none, standard}) {
    EXPECT_EQ(CheckOutputTargets(rows, standard, {}).error(),
              "the rows and the printout cannot both go to standard output; give -o a file");
  }
  // Standard input and standard output are two streams; a device is written into, not replaced.
  const std::vector<fs::path> inputs = {"-", "/dev/null"};
  EXPECT_TRUE(CheckOutputTargets(standard, none, inputs).ok());
  EXPECT_TRUE(CheckOutputTargets(fs::path("/dev/null"), none, inputs).ok());
}

TEST_F(OutputTargets, DevicesAndPipesAreWrittenIntoAndStayWhatTheyAre) {
  Result<std::unique_ptr<OutputFile>> null = OutputFile::Open("/dev/null");
  ASSERT_TRUE(null) << null.error();
  EXPECT_TRUE(null.value()->Write("rows") && null.value()->Commit());
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  // Writing into a full device is fine (replacing it never is): the reason comes back.
  Result<std::unique_ptr<OutputFile>> full = OutputFile::Open("/dev/full");
  ASSERT_TRUE(full) << full.error();
  EXPECT_FALSE(full.value()->Write("rows"));
  EXPECT_EQ(full.value()->error(), "no space left on device");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));

  ASSERT_EQ(mkfifo("pipe.txt", 0600), 0);
  const Result<std::unique_ptr<OutputFile>> unread =
      OutputFile::Open("pipe.txt", PipeWait::kRefuse);
  EXPECT_EQ(unread.error(), "no program reads from the pipe");
  std::string received;
  std::thread reader([&] { received = Read(dir_ / "pipe.txt"); });
  {
    Result<std::unique_ptr<OutputFile>> pipe = OutputFile::Open("pipe.txt");
    ASSERT_TRUE(pipe) << pipe.error();
    EXPECT_TRUE(pipe.value()->Write("through the pipe") && pipe.value()->Commit());
  }
  reader.join();
  EXPECT_EQ(received, "through the pipe");
  EXPECT_TRUE(fs::is_fifo("pipe.txt"));
  EXPECT_EQ(OutputFile::Open(dir_.path()).error(), "it is a folder");
  EXPECT_FALSE(WrittenInto("plain.txt"));
  EXPECT_TRUE(WrittenInto("/dev/null"));
}

using LinkedTargets = InFolder;

// A link stays a link, and the file it names gets the bytes, also a file not there yet.
TEST_F(LinkedTargets, ADanglingLinkStaysAndItsTargetIsMade) {
  fs::create_symlink("nothere.txt", "dl");
  ASSERT_TRUE(Put("dl", "rows"));
  EXPECT_TRUE(fs::is_symlink("dl"));
  EXPECT_EQ(fs::read_symlink("dl"), "nothere.txt");
  EXPECT_EQ(Read(dir_ / "nothere.txt"), "rows");
  ASSERT_TRUE(Put("dl", "new rows"));  // now through a link to a file that is there
  EXPECT_TRUE(fs::is_symlink("dl"));
  EXPECT_EQ(Read(dir_ / "nothere.txt"), "new rows");

  fs::create_symlink("chain1", "chain2");
  fs::create_symlink("missing/t.txt", "chain1");
  const AtomicFileOpen nowhere = AtomicFile::Open("chain2");
  EXPECT_EQ(nowhere.file, nullptr);
  EXPECT_EQ(nowhere.error, "it links to missing/t.txt, in a folder that does not exist");
  EXPECT_EQ(fs::read_symlink("chain2"), "chain1");
  EXPECT_EQ(fs::read_symlink("chain1"), "missing/t.txt");

  fs::create_symlink("loop", "loop");
  EXPECT_EQ(AtomicFile::Open("loop").error, "too many levels of symbolic links");
}

using ReplacedTargets = InFolder;

TEST_F(ReplacedTargets, AReplacedFileKeepsItsModeAndItsOtherNames) {
  dir_.Write("list.txt", "old");
  fs::permissions("list.txt",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(Put("list.txt", "new"));
  EXPECT_EQ(fs::status("list.txt").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  dir_.Write("shared.txt", "a long old text");
  fs::create_hard_link("shared.txt", "other-name.txt");
  struct stat before {};
  ASSERT_EQ(::stat("shared.txt", &before), 0);
  ASSERT_TRUE(Put("shared.txt", "new"));
  struct stat after {};
  ASSERT_EQ(::stat("shared.txt", &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(Read(dir_ / "other-name.txt"), "new");
  EXPECT_EQ(fs::hard_link_count("shared.txt"), 2u);
}

TEST_F(ReplacedTargets, AFileTheUserMayNotWriteIsRefused) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write every file; the command-line test drops";
  dir_.Write("locked.txt", "old");
  fs::permissions("locked.txt",
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const AtomicFileOpen refused = AtomicFile::Open("locked.txt");
  EXPECT_EQ(refused.file, nullptr);
  EXPECT_EQ(refused.error, "permission denied");
  EXPECT_EQ(Read(dir_ / "locked.txt"), "old");
}

}  // namespace
}  // namespace quillet
