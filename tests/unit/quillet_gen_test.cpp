// Runs the quillet-gen binary as a person or a script does: what it refuses, what it writes, and
// that a run that fails leaves no file behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gen/generator.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
namespace gen = quillet::gen;

using quillet::test::Slurp;

std::vector<std::string> Entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class QuilletGen : public ::testing::Test {
 protected:
  // `shell` runs before the program in the same shell, for limits.
  int Run(const std::string& arguments, const std::string& shell = "") {
    const std::string command = "cd '" + dir_.path().string() + "' || exit 99; " + shell +
                                " exec '" + QUILLET_GEN + "' " + arguments + " 2>stderr.txt";
    const int raw = std::system(command.c_str());
    err_ = Slurp(dir_ / "stderr.txt");
    fs::remove(dir_ / "stderr.txt");
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  quillet::test::TempDir dir_;
  std::string err_;
};

TEST_F(QuilletGen, RefusesWhatIsNotANumberInRange) {
  for (const char* arguments : {"-n 99999999999",
                                "-n abc",
                                "-n -1",
                                "-n 12x",
                                "-n ''",
                                "-n ' 5'",
                                "--seed -1",
                                "--seed 4294967296",
                                "--mutate-seed 1.5",
                                "--repeat-tables -3",
                                "--system-share 1.5",
                                "--system-share nan",
                                "--mutate 2",
                                "--mutate -0.5",
                                "--mutate inf",
                                "--mutate ''",
                                "--data-size 99999999999999",
                                "--file-size -1",
                                "--file-size 1e9",
                                "--date-form weekly",
                                "-n"}) {
    const std::string option = std::string(arguments).substr(0, std::string(arguments).find(' '));
    EXPECT_EQ(Run(std::string(arguments) + " -o out.fob"), 2) << arguments;
    EXPECT_EQ(err_.rfind("quillet-gen: " + option, 0), 0u) << arguments << ": " << err_;
    EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << err_;
    EXPECT_EQ(Entries(dir_.path()), std::vector<std::string>{}) << arguments;
  }
  EXPECT_EQ(Run(""), 2);  // no output file
  EXPECT_NE(err_.find("-o"), std::string::npos) << err_;
}

TEST_F(QuilletGen, WritesWhatTheLibraryMakesAtTheEdgesOfTheRanges) {
  ASSERT_EQ(Run("-n 40 --seed 4294967295 --mutate 1 --mutate-seed 0 --system-share 0 "
                "--date-form mixed --data-size 0 -o out.fob"),
            0)
      << err_;
  gen::Options options;
  options.objects = 40;
  options.seed = 4294967295u;
  options.system_share = 0;
  options.date_form = gen::DateForm::kMixed;
  options.data_size = 0;
  auto objects = gen::GenerateObjects(options);
  gen::Mutate(objects, 1, 0);
  EXPECT_EQ(Slurp(dir_ / "out.fob"), gen::EncodeFile(objects, options));

  ASSERT_EQ(Run("-n 0 --file-size 100000 -o empty.fbk"), 0) << err_;
  EXPECT_EQ(fs::file_size(dir_ / "empty.fbk"), 100000u);
  EXPECT_EQ(Entries(dir_.path()), (std::vector<std::string>{"empty.fbk", "out.fob"}));
}

TEST_F(QuilletGen, AFailedRunLeavesNoFileAndTheOldOneAsItWas) {
  // Files over 512 bytes cannot be written; the ignored signal turns that into an error.
  const std::string limit = "trap '' XFSZ; ulimit -f 1;";
  EXPECT_EQ(Run("-n 100 -o new.fob", limit), 1);
  EXPECT_EQ(err_.rfind("quillet-gen: cannot write new.fob: ", 0), 0u) << err_;
  EXPECT_EQ(Entries(dir_.path()), std::vector<std::string>{});

  dir_.Write("old.fob", "the old bytes");
  EXPECT_EQ(Run("-n 100 -o old.fob", limit), 1);
  EXPECT_EQ(Run("-n 1 --data-size 0 --file-size 4000 -o old.fob", limit), 1);
  EXPECT_EQ(Slurp(dir_ / "old.fob"), "the old bytes");
  EXPECT_EQ(Entries(dir_.path()), std::vector<std::string>{"old.fob"});
}

TEST_F(QuilletGen, WritesThroughALinkAndIntoADevice) {
  dir_.Write("real.fob", "old");
  fs::create_symlink(dir_ / "real.fob", dir_ / "link.fob");
  ASSERT_EQ(Run("-n 3 -o link.fob"), 0) << err_;
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.fob"));
  EXPECT_GT(fs::file_size(dir_ / "real.fob"), 3u);

  if (::mknod((dir_ / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "making a device node needs root";
  }
  EXPECT_EQ(Run("-n 3 -o null"), 0) << err_;
  EXPECT_EQ(fs::symlink_status(dir_ / "null").type(), fs::file_type::character);
}

}  // namespace
