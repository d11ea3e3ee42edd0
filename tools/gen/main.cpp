// quillet-gen: writes object and backup files for tests, benchmarks and the samples.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "gen/generator.h"

namespace {

void Usage() {
  std::fputs(
      "usage: quillet-gen [options] -o FILE\n"
      "  -n N                 number of objects (default 100)\n"
      "  --seed S             random seed (default 1)\n"
      "  --date-form F        dot, hyphen, slash, long or mixed (default dot)\n"
      "  --repeat-tables K    K extra Table lines repeating an earlier Table's number\n"
      "  --system-share X     share of objects with ten-digit numbers (default 0.05)\n"
      "  --mutate X           change about X (0..1) of the objects after generating them\n"
      "  --mutate-seed S      seed of those changes (default 2)\n"
      "  --plain              blanks, not arbitrary bytes, in the skipped positions\n"
      "  --data-size BYTES    object data after the directory (default 4096)\n"
      "  --file-size BYTES    extend the file with a hole to this size\n",
      stderr);
}

bool ParseDateForm(std::string_view text, quillet::gen::DateForm& form) {
  using quillet::gen::DateForm;
  if (text == "dot")
    form = DateForm::kDot;
  else if (text == "hyphen")
    form = DateForm::kHyphen;
  else if (text == "slash")
    form = DateForm::kSlash;
  else if (text == "long")
    form = DateForm::kLongYear;
  else if (text == "mixed")
    form = DateForm::kMixed;
  else
    return false;
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  quillet::gen::Options options;
  std::string output;
  double mutate = 0;
  std::uint32_t mutate_seed = 2;
  unsigned long long file_size = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--plain") {
      options.junk = false;
    } else if (arg == "-h" || arg == "--help") {
      Usage();
      return 0;
    } else if (!has_value) {
      Usage();
      return 2;
    } else if (arg == "-o") {
      output = argv[++i];
    } else if (arg == "-n") {
      options.objects = std::atoi(argv[++i]);
    } else if (arg == "--seed") {
      options.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--date-form") {
      if (!ParseDateForm(argv[++i], options.date_form)) {
        Usage();
        return 2;
      }
    } else if (arg == "--repeat-tables") {
      options.repeated_tables = std::atoi(argv[++i]);
    } else if (arg == "--system-share") {
      options.system_share = std::atof(argv[++i]);
    } else if (arg == "--mutate") {
      mutate = std::atof(argv[++i]);
    } else if (arg == "--mutate-seed") {
      mutate_seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--data-size") {
      options.data_size = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--file-size") {
      file_size = std::strtoull(argv[++i], nullptr, 10);
    } else {
      Usage();
      return 2;
    }
  }
  if (output.empty() || options.objects < 0) {
    Usage();
    return 2;
  }
  auto objects = quillet::gen::GenerateObjects(options);
  if (mutate > 0) quillet::gen::Mutate(objects, mutate, mutate_seed);
  if (!quillet::gen::WriteFile(output, quillet::gen::EncodeFile(objects, options), file_size)) {
    std::fprintf(stderr, "quillet-gen: cannot write %s\n", output.c_str());
    return 1;
  }
  return 0;
}
