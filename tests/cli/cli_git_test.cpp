// The README's git recipe, pasted as it stands into a repository with two commits: git log -p
// shows the objects that changed as UTF-8 lines, and difftool hands both versions to the window.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "gen/generator.h"

namespace {

namespace fs = std::filesystem;
namespace gen = quillet::gen;
using quillet::test::Quote;
using quillet::test::Slurp;

// The first ```sh block after the git heading: what a user pastes.
std::string GitBlock(const std::string& readme) {
  const std::size_t section = readme.find("### With git\n");
  if (section == std::string::npos) return {};
  const std::size_t start = readme.find("```sh\n", section);
  if (start == std::string::npos) return {};
  const std::size_t end = readme.find("\n```\n", start);
  return end == std::string::npos ? std::string() : readme.substr(start + 6, end - start - 5);
}

gen::Object Make(const std::string& type, long long id, const std::string& name,
                 const std::string& version) {
  gen::Object o;
  o.type = type;
  o.id = gen::Number10(id);
  o.name = name;  // code page 850, as the files hold it
  o.date = "31.12.08";
  o.time = "12:00:00";
  o.size = gen::Number10(1234);
  o.version = version;
  return o;
}

class GitRecipe : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v git >/dev/null 2>&1") != 0) GTEST_SKIP() << "no git";
    fs::create_directories(repo_);
    fs::create_directories(bin_);
    fs::create_symlink(QUILLET_CLI, bin_ / "quillet-cli");
    // The window, as difftool would start it: it notes its arguments, one a line.
    std::ofstream(bin_ / "quillet") << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> "
                                    << Quote((dir_ / "window-arguments").string()) << "\n";
    fs::permissions(bin_ / "quillet", fs::perms::owner_all);
  }

  // In the repository, with the programs first on PATH and nothing of the user's git setup.
  std::string Git(const std::string& command) {
    const fs::path out = dir_ / "git.out";
    const std::string line = "cd " + Quote(repo_.string()) +
                             " && env PATH=" + Quote(bin_.string()) +
                             ":\"$PATH\" HOME=" + Quote(dir_.string()) +
                             " GIT_CONFIG_NOSYSTEM=1 GIT_PAGER=cat LC_ALL=C " + command + " >" +
                             Quote(out.string()) + " 2>&1";
    const int raw = std::system(line.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << command << ":\n" << Slurp(out);
    return Slurp(out);
  }

  void Commit(const std::vector<gen::Object>& objects, const std::string& name) {
    std::ofstream(repo_ / name, std::ios::binary) << gen::EncodeFile(objects, gen::Options{});
    Git("git add -A");
    Git("git -c user.name=t -c user.email=t@example.com commit -q -m " + Quote(name));
  }

  quillet::test::TempDir temp_;
  const fs::path dir_ = temp_.path(), repo_ = dir_ / "repo", bin_ = dir_ / "bin";
};

TEST_F(GitRecipe, TheReadmeBlockShowsChangesAndStartsTheWindow) {
  const std::string block = GitBlock(Slurp(QUILLET_README));
  ASSERT_NE(block.find("--format=tsv"), std::string::npos) << block;
  Git("git init -q .");
  std::ofstream(dir_ / "recipe.sh") << block;
  Git("sh -e " + Quote((dir_ / "recipe.sh").string()));

  const std::string overview =
      "\x9A"  // Ü in code page 850
      "bersicht";
  Commit({Make("Table", 18, "Kunde", "V1"), Make("Page", 21, overview, "V1")}, "objects.fob");
  Commit({Make("Table", 18, "Kunde", "V1"), Make("Page", 21, overview, "V2")}, "objects.fob");
  Commit({Make("Codeunit", 80, "Buchen", "V1")}, "added.fob");

  const std::string log = Git("git log -p --no-color -- objects.fob");
  EXPECT_EQ(log.find('\r'), std::string::npos) << "no carriage return reaches git";
  const std::string header =
      "File\tType\tID\tName\tModified\tVersion\tDate\tTime\tBLOB size\tCompiled";
  EXPECT_NE(log.find("+" + header + "\n"), std::string::npos) << log;
  EXPECT_NE(log.find("-1\tPage\t21\t\xC3\x9C"
                     "bersicht\t\tV1\t2008-12-31\t12:00:00\t1234\t\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("+1\tPage\t21\t\xC3\x9C"
                     "bersicht\t\tV2\t2008-12-31\t12:00:00\t1234\t\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(" 1\tTable\t18\tKunde\t"), std::string::npos) << "unchanged: context";
  EXPECT_EQ(log.find("-1\tTable"), std::string::npos) << log;

  Git("git difftool -y --tool=quillet HEAD~2 HEAD");
  std::vector<std::string> arguments;
  std::istringstream lines(Slurp(dir_ / "window-arguments"));
  for (std::string line; std::getline(lines, line);) arguments.push_back(line);
  ASSERT_EQ(arguments.size(), 6u) << Slurp(dir_ / "window-arguments");
  std::set<std::string> firsts;
  for (std::size_t i = 0; i < arguments.size(); i += 3) {
    EXPECT_EQ(arguments[i], "--changes");
    firsts.insert(arguments[i + 1]);
    EXPECT_TRUE(fs::path(arguments[i + 2]).filename() == "objects.fob" ||
                fs::path(arguments[i + 2]).filename() == "added.fob")
        << arguments[i + 2];
  }
  EXPECT_EQ(firsts.count("/dev/null"), 1u) << "the added file has no old version";
}

}  // namespace
