#pragma once

// Running quillet-cli as scripts do: its exit status, standard output and standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>

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
  // `prefix` goes before the program, for running it as another user.
  Outcome Run(const std::string& arguments, const std::string& prefix = "") {
    const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
    const std::string command = prefix + " " + Quote(QUILLET_CLI) + " " + arguments + " >" +
                                Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
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

  quillet::test::TempDir temp_;
  const fs::path dir_ = temp_.path();
};

inline int CountLines(const std::string& text) {
  int lines = 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  return lines;
}

}  // namespace quillet::test
