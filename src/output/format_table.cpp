#include "output/format_table.h"

#include "objects/text.h"

namespace quillet {

static_assert([] {
  for (std::size_t i = 0; i < kFormats.size(); ++i) {
    if (static_cast<std::size_t>(kFormats[i].format) != i) return false;
  }
  return true;
}());

std::optional<ListFormat> ListFormatNamed(std::string_view name) {
  const std::string lower = AsciiLowercase(name);
  for (const FormatInfo& info : kFormats) {
    if (lower == info.token) return info.format;
  }
  return std::nullopt;
}

std::vector<std::string_view> FormatTokens() {
  std::vector<std::string_view> tokens;
  for (const FormatInfo& info : kFormats) tokens.push_back(info.token);
  return tokens;
}

std::vector<ListFormat> SavedFormats() {
  std::vector<ListFormat> formats;
  for (const FormatInfo& info : kFormats) {
    if (!info.label.empty()) formats.push_back(info.format);
  }
  return formats;
}

std::string SaveDialogFilter() {
  std::string filter;
  for (const ListFormat format : SavedFormats()) {
    const FormatInfo& info = InfoOf(format);
    const std::string pattern = "*." + std::string(info.extension);
    filter += std::string(info.label) + " (" + pattern + ")|" + pattern + "|";
  }
  return filter + "All files (*.*)|*.*";
}

std::optional<ListFormat> FormatOfExtension(std::string_view extension) {
  const std::string lower = AsciiLowercase(extension);
  if (lower == "htm") return ListFormat::kHtml;
  for (const ListFormat format : SavedFormats()) {
    if (lower == InfoOf(format).extension) return format;
  }
  return std::nullopt;
}

}  // namespace quillet
