#pragma once

// Running quillet-cli as scripts do: its exit status, standard output and standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gen/generator.h"
#include "support/temp_dir.h"

namespace quillet::test {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The lines of a saved list, each with its CR LF.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, end = 0; (end = text.find("\r\n", at)) != std::string::npos;
       at = end + 2) {
    lines.push_back(text.substr(at, end + 2 - at));
  }
  return lines;
}

// The fields of a saved line ("a","b",...,"z" and CR LF), without their quotes.
inline std::vector<std::string> SavedFields(const std::string& line) {
  std::vector<std::string> fields;
  const std::string inner = line.substr(1, line.size() - 4);
  for (std::size_t at = 0, end = 0; at <= inner.size(); at = end + 3) {
    end = inner.find("\",\"", at);
    if (end == std::string::npos) end = inner.size();
    fields.push_back(inner.substr(at, end - at));
  }
  return fields;
}

// The second line of the message of a command line that makes no sense.
inline const std::string kUsageHint = "try 'quillet-cli --help'\n";

class CliTest : public ::testing::Test {
 protected:
  // `prefix` goes before the program, for running it in another environment.
  Outcome Run(const std::string& arguments, const std::string& prefix = "") {
    const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
    const std::string command = user_ + " " + prefix + " " + Quote(program_) + " " + arguments +
                                " >" + Quote(out.string()) + " 2>" + Quote(err.string()) +
                                " </dev/null";
    const int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = Slurp(out);
    outcome.err = Slurp(err);
    return outcome;
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  // Exit status 2, nothing on standard output, one line on standard error: the message, and
  // after it, where the arguments make no sense, the line that points to --help.
  void ExpectTrouble(const std::string& arguments) {
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, 2) << arguments;
    EXPECT_EQ(outcome.out, "") << arguments;
    EXPECT_EQ(outcome.err.rfind("quillet-cli: ", 0), 0u) << arguments << ": " << outcome.err;
    std::string message = outcome.err;
    if (message.ends_with(kUsageHint)) message.resize(message.size() - kUsageHint.size());
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << outcome.err;
  }

  std::string Generated(const std::string& name, int objects) {
    gen::Options options;
    options.objects = objects;
    return Write(name, gen::EncodeFile(gen::GenerateObjects(options), options));
  }

  // Root may do anything, so what a user may not do is tried as an ordinary user, from here on.
  // That user may not reach the checkout or the build, which may lie under a folder only root
  // enters: the program and what it reads are copied into this test's folder, open to everyone.
  // An empty text when that is done (or not needed), else why it cannot be done here.
  [[nodiscard]] std::string RunAsOrdinaryUser() {
    if (geteuid() != 0) return "";
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0) return "no setpriv";
    std::string user = "setpriv --reuid=65534 --regid=65534 --clear-groups";
    fs::permissions(dir_, fs::perms::all, fs::perm_options::add);
    if (std::system((user + " test -x " + Quote(dir_.string())).c_str()) != 0) {
      return "an ordinary user cannot enter " + dir_.parent_path().string();
    }
    program_ = CopyForAll(QUILLET_CLI, "bin", true);
    // A sanitizer build reads its suppressions at start-up.
    if (const char* options = std::getenv("LSAN_OPTIONS")) {
      std::string rewritten = options;
      const std::string key = "suppressions=";
      if (const std::size_t at = rewritten.find(key); at != std::string::npos) {
        const std::size_t from = at + key.size(), to = rewritten.find(':', from);
        const std::string copy = CopyForAll(rewritten.substr(from, to - from), "lsan", false);
        rewritten.replace(from, to == std::string::npos ? std::string::npos : to - from, copy);
        user = "LSAN_OPTIONS=" + Quote(rewritten) + " " + user;
      }
    }
    user_ = user;
    return "";
  }

  // The sample file `name`; a copy of it once the program runs as an ordinary user.
  std::string SampleFile(const std::string& name) {
    const std::string sample = std::string(QUILLET_SAMPLES) + "/" + name;
    return user_.empty() ? sample : CopyForAll(sample, "samples", false);
  }

  quillet::test::TempDir temp_;
  const fs::path dir_ = temp_.path();

 private:
  // A copy of `file` in the subfolder `folder` of this test's folder, which anyone may read (and
  // run, if `program`).
  std::string CopyForAll(const fs::path& file, const std::string& folder, bool program) {
    const fs::path copy = dir_ / folder / file.filename();
    fs::create_directories(copy.parent_path());
    fs::copy_file(file, copy, fs::copy_options::skip_existing);
    const fs::perms read = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const fs::perms exec = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    fs::permissions(copy.parent_path(), read | exec, fs::perm_options::add);
    fs::permissions(copy, program ? read | exec : read, fs::perm_options::add);
    return copy.string();
  }

  std::string program_ = QUILLET_CLI;
  std::string user_;  // what runs the program as another user, if anything
};

inline int CountLines(const std::string& text) {
  int lines = 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  return lines;
}

}  // namespace quillet::test
