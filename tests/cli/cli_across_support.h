#pragma once

// What the tests of compare --across share: files built object by object or generated as
// installations of one release, other programs run as the shell runs them, and the lines and
// fields of the tab-separated output.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "cli/cli_support.h"
#include "gen/generator.h"

namespace quillet::test {

// One object line's fields as the file holds them; the date and time in the file's own form.
inline gen::Object Object(const std::string& type, long long id, const std::string& name,
                          const std::string& version, long long size = 100,
                          const std::string& date = "31.01.24",
                          const std::string& time = "12:00:00") {
  return {type, gen::Number10(id), name, date, time, gen::Number10(size), version};
}

inline std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  for (std::size_t end; (end = text.find(separator, at)) != std::string::npos;
       at = end + separator.size()) {
    parts.push_back(text.substr(at, end - at));
  }
  parts.push_back(text.substr(at));
  return parts;
}

// The lines of a tab-separated output, each split into its fields; the header first.
inline std::vector<std::vector<std::string>> TsvLines(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  if (text.empty()) return lines;
  for (const std::string& line : Split(text.substr(0, text.size() - 1), "\n")) {
    lines.push_back(Split(line, "\t"));
  }
  return lines;
}

// How often each key (type and ID, as written) is named.
using KeyCounts = std::map<std::pair<std::string, std::string>, int>;

class CliAcrossTest : public CliTest {
 protected:
  std::string File(const std::string& name, const std::vector<gen::Object>& objects) {
    gen::Options options;
    options.junk = false;
    return Write(name, gen::EncodeFile(objects, options));
  }

  // `count` installations of one release of `objects` objects, each changed on its own, with
  // keys repeated within a file (now and then changed), IDs that share a number in different
  // forms, letter case in types, and now and then a file with no objects.
  std::vector<std::string> Installations(std::uint32_t seed, int count, int objects) {
    std::mt19937 rng(seed);
    gen::Options options;
    options.objects = objects;
    options.seed = seed;
    options.system_share = 0.15;
    auto release = gen::GenerateObjects(options);
    const std::vector<std::string> ids = {"", "7", "007", "  7", "0", "AB12"};
    for (gen::Object& object : release) {
      if (rng() % 5 == 0) object.id = ids[rng() % ids.size()];
      if (rng() % 9 == 0) object.type = rng() % 2 == 0 ? "table" : "Query";
    }
    std::vector<std::string> names;
    for (int f = 0; f < count; ++f) {
      auto copy = release;
      gen::Mutate(copy, 0.15, seed * 31 + static_cast<std::uint32_t>(f));
      for (std::size_t copies = copy.size() / 6; copies > 0 && !copy.empty(); --copies) {
        gen::Object repeated = copy[rng() % copy.size()];
        if (rng() % 2 == 0) repeated.version += "X";
        copy.insert(copy.begin() + static_cast<long>(rng() % (copy.size() + 1)), repeated);
      }
      if (rng() % 17 == 0) copy.clear();
      names.push_back(Write("i" + std::to_string(seed) + "-" + std::to_string(f) + ".fob",
                            gen::EncodeFile(copy, options)));
    }
    return names;
  }

  // Three installations: the release, a site that changed one table and lacks objects, and a
  // site that changed others. Codeunit 80 is there twice, as a file may hold a key again.
  void MakeSites() {
    const auto release = Object("Table", 18, "Customer", "V1");
    const auto codeunit = Object("Codeunit", 80,
                                 "Pr\x81"
                                 "fung",
                                 "V1");
    File("release.fob",
         {release, Object("Table", 27, "Vendor", "V1"), Object("Table", 2000000001, "Object", "V1"),
          codeunit, codeunit, Object("Page", 21, "Customer Card", "V1"),
          Object("TableData", 18, "Customer", "", 4096)});
    File("site one.fob",
         {Object("Table", 18, "Customer", "V2"), Object("Table", 27, "Vendor", "V1"),
          Object("Table", 2000000001, "Object", "V1"), codeunit, Object("Form", 5, "Extra", "V1")});
    File("site2.fob",
         {release, Object("Table", 27, "Vendor", "V3"), Object("Table", 2000000001, "Object", "V2"),
          codeunit, codeunit, Object("Page", 21, "Customer Card", "V1")});
  }
  // The three files by the names a user types in their folder.
  Outcome Across(const std::string& options, const std::string& more_files = "") {
    return Run("compare --across " + options + " release.fob 'site one.fob' site2.fob" + more_files,
               "cd " + Quote(dir_.string()) + " &&");
  }

  // `script` run by bash, where CLI stands for the program.
  Outcome Shell(const std::string& script) {
    const fs::path out = dir_ / "sh.out", err = dir_ / "sh.err";
    const std::string command = "CLI=" + Quote(QUILLET_CLI) + " bash -c " + Quote(script) + " >" +
                                Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
  }

  static std::string Files(const std::vector<std::string>& names) {
    std::string quoted;
    for (const std::string& name : names) quoted += " " + Quote(name);
    return quoted;
  }
};

}  // namespace quillet::test
