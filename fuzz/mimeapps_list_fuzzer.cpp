// Feeds arbitrary bytes to the mimeapps.list editor as the file. Putting Quillet first must make
// it the first default the lookup finds, and doing it again must change nothing; taking it off
// a file that never names it must give the bytes back as they were.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "desktop/mimeapps_list.h"

using namespace quillet;

namespace {

constexpr std::string_view kId = "quillet.desktop";

// The first application a list names; empty items do not count.
std::string_view FirstItem(std::string_view value) {
  while (value.starts_with(';')) value.remove_prefix(1);
  return value.substr(0, value.find(';'));
}

void Check(std::string_view text, std::string_view mime_type) {
  const std::string first = EditDefaultApplications(text, mime_type, kId, true);
  if (FirstItem(KeyFileValue(first, kDefaultApplicationsGroup, mime_type)) != kId) {
    __builtin_trap();
  }
  if (EditDefaultApplications(first, mime_type, kId, true) != first) __builtin_trap();
  const std::string off = EditDefaultApplications(text, mime_type, kId, false);
  if (text.find(kId) == std::string_view::npos && off != text) __builtin_trap();
  static_cast<void>(EditDefaultApplications(first, mime_type, kId, false));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(text, "application/x-quillet-fob");
  Check(text, "text/plain");
  return 0;
}
