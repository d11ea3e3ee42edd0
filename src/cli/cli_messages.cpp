#include "cli/cli_messages.h"

#include "objects/message_text.h"
#include "output/output_targets.h"

namespace quillet::cli {

std::string NoticeLine(const Notice& notice) {
  switch (notice.kind) {
    case Notice::Kind::kUnreadable:
      return "Unable to read the file: " + notice.reason;
    case Notice::Kind::kTooManyObjects:
      return "The file lists more than " + std::to_string(notice.limit) +
             " objects. Only the first " + std::to_string(notice.limit) + " are loaded.";
    case Notice::Kind::kCutShort:
      return "The file ends inside its list of objects. Only the objects before the damaged line "
             "are loaded.";
    case Notice::Kind::kPairLimit:
      return "The files have " + std::to_string(notice.found) +
             " pairs of equal objects. The list shows the first " + std::to_string(notice.limit) +
             ".";
  }
  return {};
}

void Say(std::FILE* err, const std::string& text) {
  std::fprintf(err, "quillet-cli: %s\n", EscapeControls(text).c_str());
}

std::string Continued(std::string text) {
  if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' && text[1] >= 'a' && text[1] <= 'z') {
    text[0] = static_cast<char>(text[0] - 'A' + 'a');
  }
  return text;
}

std::string TargetName(const std::optional<std::filesystem::path>& target) {
  return !target || IsStandardStream(*target) ? std::string("standard output") : Name(*target);
}

}  // namespace quillet::cli
