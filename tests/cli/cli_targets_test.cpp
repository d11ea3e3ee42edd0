// Where -o and --pdf write: standard output, devices and pipes written into, one file by two
// names, links, and files of other users. Nothing is lost without a word.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_support.h"

namespace {

namespace fs = std::filesystem;
using quillet::test::CliTest;
using quillet::test::Outcome;
using quillet::test::Quote;
using quillet::test::Slurp;

class CliTargets : public CliTest {
 protected:
  // The sample in the test's own folder: a run as another user may not read the checkout.
  void SetUp() override {
    fs::copy_file(std::string(QUILLET_SAMPLES) + "/sample.fob", dir_ / "sample.fob");
    fs::permissions(dir_ / "sample.fob", fs::perms::all, fs::perm_options::add);
  }
  std::string Sample() const { return Quote((dir_ / "sample.fob").string()); }
  static std::string Listing() { return Slurp(fs::path(QUILLET_TEST_DATA) / "sample.fob.list"); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // A shell command line in the test's folder; its exit status.
  int Shell(const std::string& command) {
    const int raw =
        std::system(("cd " + Quote(dir_.string()) + " && { " + command + "; }").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  std::string Cli() const { return Quote(QUILLET_CLI); }

  // As the unprivileged user, when the tests run as root; empty when there is none to be.
  std::string AsAnotherUser() {
    if (geteuid() != 0) return "";
    fs::permissions(dir_, fs::perms::all, fs::perm_options::add);
    return "setpriv --reuid=65534 --regid=65534 --clear-groups";
  }
};

TEST_F(CliTargets, StandardOutputByNameAndDevicesTakeTheRows) {
  const Outcome dash = Run("list -o - " + Sample());
  EXPECT_EQ(dash.status, 0) << dash.err;
  EXPECT_TRUE(dash.out == Listing());

  const Outcome pdf = Run("list --pdf - -o " + Quote(Path("rows.txt")) + " " + Sample());
  EXPECT_EQ(pdf.status, 0) << pdf.err;
  EXPECT_EQ(pdf.out.rfind("%PDF-", 0), 0u);
  EXPECT_TRUE(Slurp(Path("rows.txt")) == Listing());

  const Outcome null = Run("list -o /dev/null " + Sample());
  EXPECT_EQ(null.status, 0) << null.err;
  EXPECT_EQ(null.out + null.err, "");
  EXPECT_TRUE(fs::is_character_file("/dev/null"));

  // /dev/stdout as a pipe, as a shell pipeline gives it.
  EXPECT_EQ(Shell(Cli() + " list -o /dev/stdout " + Sample() + " | cat > piped.txt"), 0);
  EXPECT_TRUE(Slurp(Path("piped.txt")) == Listing());

  for (const std::string both : {"list -o - --pdf - ", "list --pdf - ", "list --pdf=- -o - "}) {
    const Outcome outcome = Run(both + Sample());
    EXPECT_EQ(outcome.status, 2) << both;
    EXPECT_EQ(outcome.out, "") << both;
    EXPECT_EQ(outcome.err,
              "quillet-cli: the rows and the printout cannot both go to standard output; give -o "
              "a file\n")
        << both;
  }
}

TEST_F(CliTargets, AFailedWriteToStandardOutputSaysWhy) {
  for (const std::string& arguments :
       {"list " + Sample(), "list --format=json " + Sample(), "list -o - --format=html " + Sample(),
        "list --pdf - -o /dev/null " + Sample(), std::string("--help"), std::string("--version")}) {
    EXPECT_EQ(Shell(Cli() + " " + arguments + " >/dev/full 2>err.txt"), 2) << arguments;
    EXPECT_EQ(Slurp(Path("err.txt")),
              "quillet-cli: cannot write standard output: no space left on device\n")
        << arguments;
  }
}

// Two names for one file: the second output would silently replace the first.
TEST_F(CliTargets, OneFileByTwoNamesIsRefused) {
  fs::create_directory(dir_ / "sub");
  fs::create_symlink("sample.fob", dir_ / "link.fob");
  fs::create_hard_link(dir_ / "sample.fob", dir_ / "hard.fob");
  struct Case {
    std::string rows, printout;
  };
  for (const Case& c : {Case{"y.txt", "./y.txt"}, Case{"z.txt", Path("z.txt")},
                        Case{"sub/../v.txt", "v.txt"}, Case{"./sub/w.txt", "sub/./w.txt"}}) {
    EXPECT_EQ(Shell(Cli() + " list -o " + c.rows + " --pdf " + c.printout +
                    " sample.fob >out.txt 2>err.txt"),
              2)
        << c.rows << " " << c.printout;
    EXPECT_EQ(Slurp(Path("err.txt")), "quillet-cli: -o and --pdf name the same file\n");
    EXPECT_FALSE(fs::exists(dir_ / c.rows)) << c.rows;
  }
  const std::string before = Slurp(Path("sample.fob"));
  for (const std::string output : {"./sample.fob", "link.fob", "hard.fob", "sub/../sample.fob"}) {
    for (const std::string option : {"-o", "--pdf"}) {
      EXPECT_EQ(Shell(Cli() + " list " + option + " " + output + " sample.fob 2>err.txt"), 2);
      EXPECT_EQ(Slurp(Path("err.txt")),
                "quillet-cli: the output " + output + " is an input file; it would be replaced\n");
    }
  }
  EXPECT_TRUE(Slurp(Path("sample.fob")) == before);
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.fob"));
}

TEST_F(CliTargets, ADanglingLinkStaysAndItsTargetIsWritten) {
  fs::create_symlink("nothere.txt", dir_ / "dl");
  EXPECT_EQ(Shell(Cli() + " list -o dl sample.fob 2>err.txt"), 0) << Slurp(Path("err.txt"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "dl"));
  EXPECT_TRUE(Slurp(Path("nothere.txt")) == Listing());

  fs::create_symlink("no-folder/list.txt", dir_ / "into-nowhere");
  EXPECT_EQ(Shell(Cli() + " list -o into-nowhere sample.fob 2>err.txt"), 2);
  EXPECT_EQ(Slurp(Path("err.txt")),
            "quillet-cli: cannot write into-nowhere: it links to no-folder/list.txt, in a folder "
            "that does not exist\n");
  EXPECT_EQ(fs::read_symlink(dir_ / "into-nowhere"), "no-folder/list.txt");
  EXPECT_FALSE(fs::exists(dir_ / "no-folder"));
}

// As the shell's > would: a file the user may not write is refused, whoever owns the folder.
TEST_F(CliTargets, AFileTheUserMayNotWriteStaysAsItWas) {
  const fs::path folder = dir_ / "open", locked = folder / "locked.txt";
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::all);  // anyone may make files here
  std::ofstream(locked) << "the old list";
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  struct stat before {};
  ASSERT_EQ(stat(locked.c_str(), &before), 0);
  if (geteuid() == 0 && std::system("command -v setpriv >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "no setpriv";
  }
  const Outcome outcome =
      Run("list -o " + Quote(locked.string()) + " " + Sample(), AsAnotherUser());
  EXPECT_EQ(outcome.status, 2);
  EXPECT_EQ(outcome.err, "quillet-cli: cannot write " + locked.string() + ": permission denied\n");
  struct stat after {};
  ASSERT_EQ(stat(locked.c_str(), &after), 0);
  EXPECT_EQ(Slurp(locked), "the old list");
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// A replaced file keeps its owner and mode; where the new file could not take the owner, the
// old one is written in place.
TEST_F(CliTargets, AReplacedFileKeepsItsOwnerAndMode) {
  if (geteuid() != 0) GTEST_SKIP() << "files of another owner need root to make";
  if (std::system("command -v setpriv >/dev/null 2>&1") != 0) GTEST_SKIP() << "no setpriv";
  const fs::path folder = dir_ / "open";
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::all);
  struct Case {
    const char* name;
    uid_t owner;
    fs::perms mode;
    bool as_other_user;  // else as root
  };
  const fs::perms rw_r = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  for (const Case& c : {Case{"users.txt", 65534, rw_r, false},
                        Case{"roots.txt", 0,
                             fs::perms::owner_read | fs::perms::owner_write |
                                 fs::perms::others_read | fs::perms::others_write,
                             true}}) {
    const fs::path file = folder / c.name;
    std::ofstream(file) << std::string(100000, 'o');  // longer than the list
    ASSERT_EQ(chown(file.c_str(), c.owner, c.owner), 0);
    fs::permissions(file, c.mode);
    const Outcome outcome = Run("list -o " + Quote(file.string()) + " " + Sample(),
                                c.as_other_user ? AsAnotherUser() : "");
    EXPECT_EQ(outcome.status, 0) << c.name << ": " << outcome.err;
    struct stat after {};
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, c.owner) << c.name;
    EXPECT_EQ(after.st_gid, c.owner) << c.name;
    EXPECT_EQ(fs::status(file).permissions(), c.mode) << c.name;
    EXPECT_TRUE(Slurp(file) == Listing()) << c.name;
  }
}

// Binary formats are not shown on a terminal, where they would garble it.
TEST_F(CliTargets, BinaryOutputsNeverReachATerminal) {
  if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script";
  struct Case {
    std::string arguments, message;
  };
  for (const Case& c :
       {Case{"list --format=xlsx sample.fob",
             "cannot write standard output: it is a terminal, and xlsx is not text (write it to "
             "a file)"},
        Case{"list --pdf - -o /dev/null sample.fob",
             "cannot write standard output: it is a terminal, and a PDF is not text (write it to "
             "a file)"},
        Case{"list --format=xlsx -o /dev/tty sample.fob",
             "cannot write /dev/tty: it is a terminal, and xlsx is not text (write it to a "
             "file)"}}) {
    // script gives the program a terminal of its own and passes on its exit status.
    EXPECT_EQ(Shell("script -qec " + Quote(Cli() + " " + c.arguments + " 2>err.txt") +
                    " /dev/null >screen.txt"),
              2)
        << c.arguments;
    EXPECT_EQ(Slurp(Path("err.txt")), "quillet-cli: " + c.message + "\n") << c.arguments;
  }
  // The text formats are for terminals.
  EXPECT_EQ(Shell("script -qec " + Quote(Cli() + " list --format=tsv sample.fob") +
                  " /dev/null >screen.txt"),
            0);
}

// Output names that are not regular files: -o and --pdf write into them, through a link too,
// as the shell's > would, and never replace or remove them.
class CliTargetTest : public CliTest {
 protected:
  std::string Sample() const { return Quote(std::string(QUILLET_SAMPLES) + "/sample.fob"); }

  // `reader` is a command run beside quillet-cli that takes what the node receives.
  void ExpectNeverReplaced(const fs::path& node, const std::string& reader = "") {
    struct stat before {};
    ASSERT_EQ(lstat(node.c_str(), &before), 0);
    const fs::path link = node.string() + "-link";
    fs::create_symlink(node, link);
    for (const fs::path& target : {node, link}) {
      for (const std::string option : {"-o", "--pdf"}) {
        const fs::path received = dir_ / "received", err = dir_ / "stderr";
        // The rows of --pdf go to /dev/null, another device written into. A time limit: a
        // writer whose pipe has no reader would wait for one for ever.
        const std::string arguments = "list " + option + " " + Quote(target.string()) +
                                      (option == "-o" ? "" : " -o /dev/null") + " " + Sample();
        const std::string runnable =
            (reader.empty() ? "" : reader + " >" + Quote(received.string()) + " & ") +
            "timeout 60 " + Quote(QUILLET_CLI) + " " + arguments + " >/dev/null 2>" +
            Quote(err.string()) + " </dev/null; status=$?; wait; exit $status";
        const int raw = std::system(runnable.c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 0) << option << " " << target;
        EXPECT_EQ(Slurp(err), "") << option << " " << target;
        if (!reader.empty()) {
          const std::string got = Slurp(received);
          if (option == "-o") {
            EXPECT_TRUE(got == Slurp(fs::path(QUILLET_TEST_DATA) / "sample.fob.list")) << target;
          } else {
            EXPECT_EQ(got.rfind("%PDF-", 0), 0u) << target;
          }
        }
        struct stat after {};
        ASSERT_EQ(lstat(node.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode) << option << " " << target;
        EXPECT_EQ(after.st_ino, before.st_ino) << option << " " << target;
        EXPECT_EQ(after.st_rdev, before.st_rdev) << option << " " << target;
        EXPECT_EQ(fs::read_symlink(link), node);
      }
    }
    for (const auto& entry : fs::directory_iterator(dir_)) {
      EXPECT_NE(entry.path().string().back(), '~') << "left behind: " << entry.path();
    }
  }
};

TEST_F(CliTargetTest, APipeIsNeverReplaced) {
  const fs::path fifo = dir_ / "pipe.txt";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
  ExpectNeverReplaced(fifo, "timeout 60 cat " + Quote(fifo.string()));
}

TEST_F(CliTargetTest, ADeviceIsNeverReplaced) {
  if (geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
  // The null device's numbers, in the test's own folder: opened by mistake, it takes anything.
  const fs::path device = dir_ / "device.txt";
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "device nodes cannot be made here: " << std::strerror(errno);
  }
  ExpectNeverReplaced(device);
}

}  // namespace
