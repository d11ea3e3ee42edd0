#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The text of desktop-entry style files (desktop entries, mimeapps.list) as bytes: they may
// hold anything in any encoding, and only ASCII white space counts as blank. No Qt, so the
// editor is what the fuzzer runs.

inline constexpr std::string_view kDefaultApplicationsGroup = "[Default Applications]";

// The value of `key` in `group` ("[Desktop Entry]"), without the blanks around it; empty when it
// is missing. Groups of the same name count as one, and the first line of the key counts.
std::string KeyFileValue(std::string_view text, std::string_view group, std::string_view key);

// The bytes of a mimeapps.list with `desktop_id` first among the default applications of
// `mime_type` (`first`), or off them. Every other line stays byte for byte, line ends and all; an
// entry left empty goes. New lines end as the file's first line does. The first
// [Default Applications] group is edited, or one is added at the end.
std::string EditDefaultApplications(std::string_view text, std::string_view mime_type,
                                    std::string_view desktop_id, bool first);

}  // namespace quillet
