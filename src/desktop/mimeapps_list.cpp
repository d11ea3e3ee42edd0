#include "desktop/mimeapps_list.h"

#include <algorithm>
#include <vector>

namespace quillet {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The lines of `text`, each with its own line end, so joined they give the bytes back.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return lines;
}

std::string_view LineEnd(std::string_view line) {
  if (line.ends_with("\r\n")) return "\r\n";
  if (line.ends_with('\n')) return "\n";
  return {};
}

// The key of a `key=value` line, or nothing for a line without one.
std::string_view KeyOf(std::string_view trimmed_line) {
  const std::size_t equals = trimmed_line.find('=');
  if (equals == 0 || equals == std::string_view::npos) return {};
  return Trimmed(trimmed_line.substr(0, equals));
}

std::vector<std::string_view> SplitItems(std::string_view value) {
  std::vector<std::string_view> items;
  while (!value.empty()) {
    const std::size_t semicolon = value.find(';');
    if (semicolon != 0) items.push_back(value.substr(0, semicolon));
    if (semicolon == std::string_view::npos) break;
    value.remove_prefix(semicolon + 1);
  }
  return items;
}

std::string Join(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += part;
  return text;
}

}  // namespace

std::string KeyFileValue(std::string_view text, std::string_view group, std::string_view key) {
  bool inside = false;
  for (const std::string& line : SplitLines(text)) {
    const std::string_view trimmed = Trimmed(line);
    if (trimmed.starts_with('[')) {
      inside = trimmed == group;
    } else if (inside && !key.empty() && KeyOf(trimmed) == key) {
      return std::string(Trimmed(trimmed.substr(trimmed.find('=') + 1)));
    }
  }
  return {};
}

std::string EditDefaultApplications(std::string_view text, std::string_view mime_type,
                                    std::string_view desktop_id, bool first) {
  std::vector<std::string> lines = SplitLines(text);
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t group_start = kNone, group_end = lines.size(), entry = kNone;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view trimmed = Trimmed(lines[i]);
    if (trimmed.starts_with('[')) {
      if (group_start != kNone && group_end == lines.size()) group_end = i;
      if (trimmed == kDefaultApplicationsGroup && group_start == kNone) group_start = i;
      continue;
    }
    if (group_start != kNone && group_end == lines.size() && entry == kNone && !mime_type.empty() &&
        KeyOf(trimmed) == mime_type) {
      entry = i;
    }
  }
  std::string_view value;
  if (entry != kNone) value = std::string_view(lines[entry]).substr(lines[entry].find('=') + 1);
  const std::vector<std::string_view> before = SplitItems(Trimmed(value));
  std::vector<std::string_view> after;
  if (first) after.push_back(desktop_id);
  for (const std::string_view item : before) {
    if (item != desktop_id) after.push_back(item);
  }
  if (after == before) return std::string(text);

  std::string line = std::string(mime_type) + '=';
  for (const std::string_view item : after) (line += item) += ';';
  if (entry != kNone) {
    if (after.empty()) {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(entry));
    } else {
      lines[entry] = line + std::string(LineEnd(lines[entry]));
    }
    return Join(lines);
  }
  // New lines end as the file's first line does.
  const std::string end(lines.empty() || LineEnd(lines[0]).empty() ? "\n" : LineEnd(lines[0]));
  std::size_t at = lines.size();
  if (group_start != kNone) {
    // After the group's last entry, before the blank lines that end it.
    at = group_end;
    while (at > group_start + 1 && Trimmed(lines[at - 1]).empty()) --at;
  }
  if (at > 0 && LineEnd(lines[at - 1]).empty()) lines[at - 1] += end;  // a last line unended
  if (group_start != kNone) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), line + end);
  } else {
    if (!lines.empty() && !Trimmed(lines.back()).empty()) lines.push_back(end);
    lines.push_back(std::string(kDefaultApplicationsGroup) + end);
    lines.push_back(line + end);
  }
  return Join(lines);
}

}  // namespace quillet
