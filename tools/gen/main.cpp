// quillet-gen: writes object and backup files for tests, benchmarks and the samples.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <iterator>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>

#include "gen/generator.h"

namespace {

// Beyond these the generator would need more memory than a test file is worth; the file size
// is only bounded by what a file offset holds, as its hole costs nothing.
constexpr int kMaxObjects = 10'000'000;
constexpr std::size_t kMaxDataSize = std::size_t{1} << 30;
constexpr std::uint64_t kMaxFileSize = std::numeric_limits<std::int64_t>::max();

void Usage() {
  std::fputs(
      "usage: quillet-gen [options] -o FILE\n"
      "  -n N                 number of objects, 0 to 10000000 (default 100)\n"
      "  --seed S             random seed, 0 to 4294967295 (default 1)\n"
      "  --date-form F        dot, hyphen, slash, long or mixed (default dot)\n"
      "  --repeat-tables K    K extra Table lines repeating an earlier Table's number\n"
      "  --system-share X     share of objects with ten-digit numbers, 0 to 1 (default 0.05)\n"
      "  --mutate X           change about X (0 to 1) of the objects after generating them\n"
      "  --mutate-seed S      seed of those changes (default 2)\n"
      "  --plain              blanks, not arbitrary bytes, in the skipped positions\n"
      "  --data-size BYTES    object data after the directory, up to 1 GiB (default 4096)\n"
      "  --file-size BYTES    extend the file with a hole to this size\n",
      stderr);
}

// Refused arguments end the run with status 2 and one line saying why.
int Refuse(const std::string& why) {
  std::fprintf(stderr, "quillet-gen: %s (see --help)\n", why.c_str());
  return 2;
}

// The whole text must be one number from `low` to `high`: no sign where none may be, no blanks,
// nothing after it.
template <typename T>
bool ParseNumber(std::string_view text, T low, T high, T& value) {
  T parsed{};
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, parsed);
  if (result.ec != std::errc() || result.ptr != end || !(parsed >= low && parsed <= high)) {
    return false;
  }
  value = parsed;
  return true;
}

template <typename T>
std::string Range(T low, T high) {
  std::ostringstream text;
  text << "a number from " << low << " to " << high;
  return text.str();
}

bool ParseDateForm(std::string_view text, quillet::gen::DateForm& form) {
  using quillet::gen::DateForm;
  if (text == "dot") {
    form = DateForm::kDot;
  } else if (text == "hyphen") {
    form = DateForm::kHyphen;
  } else if (text == "slash") {
    form = DateForm::kSlash;
  } else if (text == "long") {
    form = DateForm::kLongYear;
  } else if (text == "mixed") {
    form = DateForm::kMixed;
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  quillet::gen::Options options;
  std::string output;
  double mutate = 0;
  std::uint32_t mutate_seed = 2;
  std::uint64_t file_size = 0;
  constexpr std::uint32_t kMaxSeed = std::numeric_limits<std::uint32_t>::max();
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--plain") {
      options.junk = false;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      Usage();
      return 0;
    }
    constexpr std::string_view kTakingValues[] = {
        "-o",       "-n",          "--seed",        "--date-form", "--repeat-tables",
        "--mutate", "--data-size", "--mutate-seed", "--file-size", "--system-share"};
    if (std::find(std::begin(kTakingValues), std::end(kTakingValues), arg) ==
        std::end(kTakingValues)) {
      return Refuse("unknown option " + arg);
    }
    if (i + 1 >= argc) return Refuse(arg + " needs a value");
    const std::string_view value = argv[++i];
    std::string wanted;  // what the option takes, when the value is not that
    if (arg == "-o") {
      output = value;
    } else if (arg == "-n") {
      if (!ParseNumber(value, 0, kMaxObjects, options.objects)) wanted = Range(0, kMaxObjects);
    } else if (arg == "--seed" || arg == "--mutate-seed") {
      std::uint32_t& seed = arg == "--seed" ? options.seed : mutate_seed;
      if (!ParseNumber(value, 0u, kMaxSeed, seed)) wanted = Range(0u, kMaxSeed);
    } else if (arg == "--date-form") {
      if (!ParseDateForm(value, options.date_form)) wanted = "dot, hyphen, slash, long or mixed";
    } else if (arg == "--repeat-tables") {
      if (!ParseNumber(value, 0, kMaxObjects, options.repeated_tables)) {
        wanted = Range(0, kMaxObjects);
      }
    } else if (arg == "--system-share" || arg == "--mutate") {
      double& share = arg == "--mutate" ? mutate : options.system_share;
      if (!ParseNumber(value, 0.0, 1.0, share)) wanted = Range(0, 1);
    } else if (arg == "--data-size") {
      if (!ParseNumber(value, std::size_t{0}, kMaxDataSize, options.data_size)) {
        wanted = Range(std::size_t{0}, kMaxDataSize);
      }
    } else if (arg == "--file-size") {
      if (!ParseNumber(value, std::uint64_t{0}, kMaxFileSize, file_size)) {
        wanted = Range(std::uint64_t{0}, kMaxFileSize);
      }
    }
    if (!wanted.empty()) return Refuse(arg + " takes " + wanted + ", not \"" + argv[i] + "\"");
  }
  if (output.empty()) return Refuse("-o FILE is missing");
  std::string error;
  try {
    auto objects = quillet::gen::GenerateObjects(options);
    if (mutate > 0) quillet::gen::Mutate(objects, mutate, mutate_seed);
    if (quillet::gen::WriteFile(output, quillet::gen::EncodeFile(objects, options), file_size,
                                &error)) {
      return 0;
    }
  } catch (const std::exception& exception) {  // out of memory, before anything is written
    error = exception.what();
  }
  std::fprintf(stderr, "quillet-gen: cannot write %s: %s\n", output.c_str(), error.c_str());
  return 1;
}
