#include "test_support.h"

#include <fstream>
#include <random>

namespace quillet::test {

std::string Padded(std::string_view text, std::size_t width) {
  std::string padded(text.substr(0, width));
  padded.resize(width, ' ');
  return padded;
}

std::string LineA(std::string_view type, std::string_view id, std::string_view name,
                  std::string_view date, std::string_view time, std::string_view size,
                  std::string_view version) {
  std::string line = Padded(type, 9) + " " + Padded(id, 10) + " " + Padded(name, 30) + "  " +
                     Padded(date, 10) + std::string(5, ' ') + Padded(time, 11) +
                     std::string(12, ' ') + Padded(size, 10) + " " + Padded(version, 57) + "\r\n";
  return line;
}

std::string LineB(std::string_view id, std::string_view name, std::string_view size,
                  std::string_view version) {
  return "TableData " + Padded(id, 10) + " " + Padded(name, 30) + std::string(13, ' ') +
         Padded(size, 10) + " " + Padded(version, 30) + " \r\n";
}

TempDir::TempDir() {
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() /
          ("quillet-test-" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, std::string_view bytes) const {
  const std::filesystem::path file = path_ / name;
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file.string();
}

}  // namespace quillet::test
