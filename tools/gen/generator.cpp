#include "gen/generator.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace quillet::gen {
namespace {

constexpr std::array<std::string_view, 9> kTypes = {
    "TableData", "Table", "Form", "Report", "Dataport", "XMLport", "Codeunit", "Page", "MenuSuite"};

// Code page 850 letters: ü ä Ä ö Ö Ü ß, and é, which the reader leaves alone.
constexpr std::string_view kWords[] = {
    "Customer", "Vendor", "Item", "Ledger", "Entry", "Sales", "Purchase", "Posting", "Setup",
    "Journal", "Line", "Header", "Buffer", "Archive", "Stock", "Price", "Report", "Export",
    // Code page 850, in octal: a hex escape would
    // run on into the letters after it.
    "\232bersicht", "Gr\224\341e", "M\x84nge", "\216nderung", "\231ffnen", "Pr\201fung", "Caf\x82",
    "Ma\341e", "Adresse", "Konto"};

constexpr std::string_view kVersionTags[] = {"APP", "LOC", "FIX", "CUST", "BASE", "EXT"};

using Rng = std::mt19937;

int Pick(Rng& rng, int bound) { return static_cast<int>(rng() % static_cast<unsigned>(bound)); }

std::string Pad(std::string_view text, std::size_t width) {
  std::string padded(text.substr(0, width));
  padded.resize(width, ' ');
  return padded;
}

std::string TwoDigits(int value) {
  const int two = (value % 100 + 100) % 100;
  return {static_cast<char>('0' + two / 10), static_cast<char>('0' + two % 10)};
}

std::string MakeName(Rng& rng) {
  std::string name;
  const int words = 1 + Pick(rng, 3);
  for (int i = 0; i < words; ++i) {
    if (i > 0) name += ' ';
    name += kWords[Pick(rng, std::size(kWords))];
  }
  switch (Pick(rng, 12)) {  // the characters an export must not choke on
    case 0:
      name += " \"Old\"";
      break;
    case 1:
      name += ", Copy";
      break;
    case 2:
      name += "; Test";
      break;
    default:
      break;
  }
  return name.substr(0, 30);
}

std::string MakeVersion(Rng& rng, std::size_t width) {
  std::string version;
  const int tags = Pick(rng, 4);
  for (int i = 0; i < tags; ++i) {
    if (i > 0) version += ',';
    version += kVersionTags[Pick(rng, std::size(kVersionTags))];
    version += std::to_string(1 + Pick(rng, 12)) + "." + TwoDigits(Pick(rng, 100));
  }
  if (Pick(rng, 20) == 0) version += "-\201bertrag";
  return version.substr(0, width);
}

std::string MakeDate(Rng& rng, DateForm form) {
  const int day = 1 + Pick(rng, 28), month = 1 + Pick(rng, 12), year = Pick(rng, 100);
  if (form == DateForm::kMixed) form = static_cast<DateForm>(Pick(rng, 4));
  switch (form) {
    case DateForm::kHyphen:
      return TwoDigits(day) + "-" + TwoDigits(month) + "-" + TwoDigits(year);
    case DateForm::kSlash:
      return TwoDigits(month) + "/" + TwoDigits(day) + "/" + TwoDigits(year);
    case DateForm::kLongYear:
      return TwoDigits(day) + "." + TwoDigits(month) + "." + std::to_string(1950 + year);
    default:
      if (Pick(rng, 10) == 0)
        return std::to_string(day % 10 + 1) + "." + TwoDigits(month) + "." + TwoDigits(year);
      return TwoDigits(day) + "." + TwoDigits(month) + "." + TwoDigits(year);
  }
}

std::string MakeTime(Rng& rng, bool mixed) {
  const int hour = Pick(rng, 24), minute = Pick(rng, 60), second = Pick(rng, 60);
  if (mixed && Pick(rng, 3) == 0) {
    const int twelve = hour % 12 == 0 ? 12 : hour % 12;
    return std::to_string(twelve) + ":" + TwoDigits(minute) + ":" + TwoDigits(second) +
           (hour < 12 ? " AM" : " PM");
  }
  if (mixed && hour < 10) {
    return std::to_string(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
  }
  return TwoDigits(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
}

Object MakeObject(Rng& rng, const Options& options, int type, long long number) {
  Object object;
  object.type = std::string(kTypes[type]);
  object.id = Number10(number);
  object.name = MakeName(rng);
  object.version = MakeVersion(rng, type == 0 ? 30 : 57);
  if (type != 0) {
    object.date = MakeDate(rng, options.date_form);
    object.time = MakeTime(rng, options.date_form == DateForm::kMixed);
  }
  object.size = Number10(Pick(rng, 50) == 0 ? 0 : 100 + Pick(rng, 900000));
  return object;
}

void Junk(std::string& out, std::size_t count, Rng* rng) {
  for (std::size_t i = 0; i < count; ++i) {
    if (rng == nullptr) {
      out += ' ';
      continue;
    }
    char c;
    do {
      c = static_cast<char>((*rng)() & 0xFF);
    } while (c == '\r' || c == 0x1A);
    out += c;
  }
}

}  // namespace

std::string Number10(long long value) {
  const std::string digits = std::to_string(value);
  return std::string(digits.size() < 10 ? 10 - digits.size() : 0, ' ') + digits;
}

std::vector<Object> GenerateObjects(const Options& options) {
  Rng rng(options.seed);
  std::vector<Object> objects;
  objects.reserve(options.objects + options.repeated_tables);
  // Types in type order, numbers rising within a type, as the development environment writes.
  for (int i = 0; i < options.objects; ++i) {
    const int type = static_cast<int>(static_cast<long long>(i) * 9 / std::max(options.objects, 1));
    long long number = 3 + static_cast<long long>(i) * 7 + Pick(rng, 5);
    if (rng() % 1000 < options.system_share * 1000) number = 2000000000LL + i;
    objects.push_back(MakeObject(rng, options, type, number));
  }
  // A backup may list one table more than once; the repeats follow their first line.
  std::vector<std::size_t> tables;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    if (objects[i].type == "Table") tables.push_back(i);
  }
  for (int r = 0; r < options.repeated_tables && !tables.empty(); ++r) {
    const std::size_t at = tables[Pick(rng, static_cast<int>(tables.size()))];
    Object repeat = objects[at];
    repeat.version = MakeVersion(rng, 57);
    objects.insert(objects.begin() + static_cast<long>(at) + 1, repeat);
    for (auto& index : tables) {
      if (index > at) ++index;
    }
  }
  return objects;
}

void Mutate(std::vector<Object>& objects, double fraction, std::uint32_t seed) {
  Rng rng(seed);
  const Options options;
  std::vector<Object> mutated;
  mutated.reserve(objects.size() + objects.size() / 10 + 1);
  for (const Object& object : objects) {
    if (rng() % 10000 >= fraction * 10000) {
      mutated.push_back(object);
      continue;
    }
    Object changed = object;
    switch (Pick(rng, 6)) {
      case 0:
        changed.version = MakeVersion(rng, object.type == "TableData" ? 30 : 57);
        break;
      case 1:
        if (object.type != "TableData") changed.date = MakeDate(rng, DateForm::kDot);
        break;
      case 2:
        if (object.type != "TableData") changed.time = MakeTime(rng, false);
        break;
      case 3:
        changed.size = Number10(100 + Pick(rng, 900000));
        break;
      case 4:
        continue;  // removed
      default:     // a new object beside this one
        mutated.push_back(object);
        changed = MakeObject(rng, options, Pick(rng, 9), 1000000 + Pick(rng, 1000000));
        break;
    }
    mutated.push_back(changed);
  }
  objects = std::move(mutated);
}

void AppendLine(std::string& out, const Object& object, std::mt19937* junk) {
  // The blank after the type is what marks the start of a line, so it is never junk.
  out += Pad(object.type, 9);
  out += ' ';
  out += Pad(object.id, 10);
  Junk(out, 1, junk);
  out += Pad(object.name, 30);
  if (object.type == "TableData") {
    Junk(out, 13, junk);
    out += Pad(object.size, 10);
    Junk(out, 1, junk);
    out += Pad(object.version, 30);
    Junk(out, 1, junk);
  } else {
    Junk(out, 2, junk);
    out += Pad(object.date, 10);
    Junk(out, 5, junk);
    out += Pad(object.time, 11);
    Junk(out, 12, junk);
    out += Pad(object.size, 10);
    Junk(out, 1, junk);
    out += Pad(object.version, 57);
  }
  out += "\r\n";
}

std::string EncodeFile(const std::vector<Object>& objects, const Options& options) {
  Rng rng(options.seed ^ 0x5EEDu);
  std::string bytes;
  bytes.reserve(objects.size() * 161 + options.data_size + 64);
  for (const Object& object : objects) AppendLine(bytes, object, options.junk ? &rng : nullptr);
  bytes += '\x1A';
  const std::size_t end = bytes.size() + options.data_size;
  // Object data: anything at all, including what looks like more object lines and end marks.
  static constexpr std::string_view kDecoy = "\r\nTable      99999 Not an object\x1A";
  while (bytes.size() < end) {
    if (Pick(rng, 64) == 0) {
      bytes += kDecoy;
    } else {
      bytes += static_cast<char>(rng() & 0xFF);
    }
  }
  return bytes;
}

// The bytes go to a new file beside the target, which replaces it only when all is written and
// extended, so a failed run leaves neither a part of a file nor a damaged old one. A link is
// written through; a device or a pipe gets the bytes directly, as there is nothing to replace.
bool WriteFile(const std::string& path, const std::string& bytes, std::uint64_t file_size,
               std::string* error) {
  namespace fs = std::filesystem;
  const auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = why;
    return false;
  };
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);  // a missing file sets `ec` too
  ec.clear();
  if (fs::is_directory(status)) return fail("it is a folder");
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    if (file_size > bytes.size()) return fail("only a regular file can be extended");
    std::ofstream stream(path, std::ios::binary);
    if (!stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush()) {
      return fail(std::strerror(errno));
    }
    return true;
  }
  const fs::path target = fs::exists(status) ? fs::canonical(path, ec) : fs::path(path);
  if (ec) return fail(ec.message());
  fs::path temp;
  std::random_device random;
  do {
    temp = target.parent_path() /
           ("." + target.filename().string() + ".new-" + std::to_string(random()));
  } while (fs::exists(fs::symlink_status(temp)));
  std::string why;
  {
    std::ofstream stream(temp, std::ios::binary);
    if (!stream) why = std::strerror(errno);
    if (why.empty() && !stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
      why = std::strerror(errno);
    }
    stream.close();
    if (why.empty() && stream.fail()) why = std::strerror(errno);
  }
  if (why.empty() && file_size > bytes.size()) {
    fs::resize_file(temp, file_size, ec);
    if (ec) why = ec.message();
  }
  if (why.empty()) {
    fs::rename(temp, target, ec);
    if (ec) why = ec.message();
  }
  if (why.empty()) return true;
  fs::remove(temp, ec);
  return fail(why);
}

}  // namespace quillet::gen
