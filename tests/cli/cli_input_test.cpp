// Inputs as the shell hands them over: standard input, pipes, FIFOs, devices and files that are
// no object files at all.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/cli_support.h"
#include "hostile_files.h"

namespace {

namespace fs = std::filesystem;
using quillet::test::CliTest;
using quillet::test::CountLines;
using quillet::test::Lines;
using quillet::test::Outcome;
using quillet::test::Quote;
using quillet::test::SavedFields;
using quillet::test::Slurp;

class CliInputTest : public CliTest {
 protected:
  void SetUp() override {
    file_ = Generated("x.fob", 300);
    listed_ = Run("list --types=all " + Quote(file_));
    ASSERT_EQ(listed_.status, 0);
    ASSERT_EQ(CountLines(listed_.out), 300);
  }

  // `script` run by bash, where CLI stands for the program; its standard output and error are
  // caught.
  Outcome Shell(const std::string& script) {
    const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
    const std::string command = "CLI=" + Quote(QUILLET_CLI) + " bash -c " + Quote(script) + " >" +
                                Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
  }

  void ExpectListedAsTheFile(const Outcome& outcome, const std::string& how) {
    EXPECT_EQ(outcome.status, 0) << how << ": " << outcome.err;
    EXPECT_EQ(outcome.err, "") << how;
    EXPECT_TRUE(outcome.out == listed_.out) << how << ": " << CountLines(outcome.out) << " lines";
  }

  std::string file_;
  Outcome listed_;
};

// Every way a shell passes a stream lists what the file lists.
TEST_F(CliInputTest, StreamsListAsTheFileDoes) {
  const std::string x = Quote(file_);
  const struct {
    const char* how;
    std::string script;
  } cases[] = {
      {"- from a pipe", "cat " + x + " | \"$CLI\" list --types=all -"},
      {"- from a file", "\"$CLI\" list --types=all - < " + x},
      {"/dev/stdin", "cat " + x + " | \"$CLI\" list --types=all /dev/stdin"},
      {"<(...)", "\"$CLI\" list --types=all <(cat " + x + ")"},
      {"/dev/fd/N", "exec 7< <(cat " + x + "); \"$CLI\" list --types=all /dev/fd/7"},
      // The writer keeps its end open: the directory is all that is read, so nothing waits.
      {"a writer that stays",
       "timeout 20 \"$CLI\" list --types=all - < <(cat " + x + "; exec sleep 30 2>/dev/null)"},
  };
  for (const auto& c : cases) ExpectListedAsTheFile(Shell(c.script), c.how);
}

// A FIFO is read as cat reads it: with its writer there, and waited for when it is not yet.
TEST_F(CliInputTest, AFifoIsReadFromItsWriter) {
  const std::string fifo = (dir_ / "objects.fob").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string x = Quote(file_), f = Quote(fifo);
  ExpectListedAsTheFile(Shell("cat " + x + " > " + f + " & \"$CLI\" list --types=all " + f),
                        "a writer there");
  ExpectListedAsTheFile(
      Shell("(sleep 0.3; cat " + x + " > " + f + ") & timeout 20 \"$CLI\" list --types=all " + f),
      "a writer that comes later");
  // A writer that writes nothing: an empty input.
  const Outcome empty = Shell(": > " + f + " & \"$CLI\" list --types=all " + f);
  EXPECT_EQ(empty.status, 0) << empty.err;
  EXPECT_EQ(empty.out, "");
  EXPECT_EQ(empty.err, "");
}

// What difftool gives for a file one side lacks: an empty file, so every object of the other
// side is one file's only.
TEST_F(CliInputTest, DevNullIsAFileWithoutObjects) {
  const Outcome added = Run("compare --changes --types=all /dev/null " + Quote(file_));
  EXPECT_EQ(added.status, 1) << added.err;
  EXPECT_EQ(added.err, "");
  const std::vector<std::string> lines = Lines(added.out);
  ASSERT_EQ(lines.size(), 300u);
  for (const std::string& line : lines) {
    ASSERT_EQ(SavedFields(line).at(0), "2") << line;
    ASSERT_EQ(SavedFields(line).at(10), "Only in #2") << line;
  }
  const Outcome removed = Run("compare --changes --types=all " + Quote(file_) + " /dev/null");
  EXPECT_EQ(removed.status, 1);
  EXPECT_EQ(CountLines(removed.out), 300);

  const Outcome listed = Run("list /dev/null");
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.out, "");
  EXPECT_EQ(listed.err, "");  // empty is no mistake: no "is it an object file?"
}

TEST_F(CliInputTest, StandardInputIsReadOnce) {
  const std::string x = Quote(file_);
  for (const std::string& arguments : {std::string("compare --changes - -"),
                                       "compare --base=- - " + x, "compare --base=- " + x + " -"}) {
    const Outcome twice = Shell("\"$CLI\" " + arguments + " < " + x);
    EXPECT_EQ(twice.status, 2) << arguments;
    EXPECT_EQ(twice.out, "") << arguments;
    EXPECT_EQ(twice.err,
              "quillet-cli: - (standard input) is given twice; it can be read only once\n"
              "try 'quillet-cli --help'\n")
        << arguments;
  }
  // Once, beside a file: compared as the file it holds.
  const Outcome once = Shell("\"$CLI\" compare --changes - " + x + " < " + x);
  EXPECT_EQ(once.status, 0) << once.err;
  EXPECT_EQ(once.out, "");
  // A list written over the file standard input reads would lose it.
  const Outcome clash = Shell("\"$CLI\" list -o " + x + " - < " + x);
  EXPECT_EQ(clash.status, 2);
  EXPECT_NE(clash.err.find("is an input file"), std::string::npos) << clash.err;
}

// A file that is no object file is listed as empty, as before, but not in silence.
TEST_F(CliInputTest, AFileWithoutDirectorySaysSo) {
  const std::string readme = Write("README.md", "# Notes\r\n\r\nNo objects here.\r\n");
  const Outcome listed = Run("list " + Quote(readme));
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.out, "");
  EXPECT_EQ(listed.err, "quillet-cli: " + readme + " holds no objects; is it an object file?\n");

  const Outcome compared =
      Run("compare --changes --types=all " + Quote(readme) + " " + Quote(file_));
  EXPECT_EQ(compared.status, 1);
  EXPECT_EQ(CountLines(compared.out), 300);
  EXPECT_EQ(compared.err, "quillet-cli: " + readme + " holds no objects; is it an object file?\n");

  const Outcome piped = Shell("cat " + Quote(readme) + " | \"$CLI\" list -");
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.err, "quillet-cli: - holds no objects; is it an object file?\n");
}

// Every refusal names its reason, not "not a regular file" for all of them.
TEST_F(CliInputTest, ARefusedInputSaysWhatItIs) {
  fs::create_directory(dir_ / "folder.fob");
  const std::string socket_name = (dir_ / "socket.fob").string();
  const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(listening, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socket_name.size(), sizeof(address.sun_path)) << "the test folder's name is too long";
  std::memcpy(address.sun_path, socket_name.c_str(), socket_name.size() + 1);
  ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  const struct {
    std::string name, reason;
  } cases[] = {
      {(dir_ / "folder.fob").string(), "it is a folder"},
      {socket_name, "it is a socket"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Run("list " + Quote(c.name));
    EXPECT_EQ(outcome.status, 2) << c.name;
    EXPECT_EQ(outcome.err, "quillet-cli: cannot read " + c.name + ": " + c.reason + "\n");
  }
  ::close(listening);
}

TEST_F(CliTest, HostileFilesGiveClearOutcomes) {
  for (const quillet::test::HostileFile& file : quillet::test::MakeHostileFiles(dir_ / "h")) {
    if (file.stream) {
      // Read as cat reads it: it waits for a writer; one that writes nothing makes it empty.
      const Outcome outcome = Run("list --types=all " + Quote(file.path),
                                  "(: > " + Quote(file.path) + ") & timeout 20");
      EXPECT_EQ(outcome.status, 0) << file.what << ": " << outcome.err;
      EXPECT_EQ(outcome.out, "") << file.what;
      EXPECT_EQ(outcome.err, "") << file.what;
      continue;
    }
    const Outcome outcome = Run("list --types=all " + Quote(file.path));
    EXPECT_EQ(outcome.status, file.trouble ? 2 : 0) << file.what << ": " << outcome.err;
    EXPECT_EQ(CountLines(outcome.out), file.objects) << file.what;
    EXPECT_EQ(outcome.err.empty(), !file.message && !file.no_directory)
        << file.what << ": " << outcome.err;
  }
}

}  // namespace
