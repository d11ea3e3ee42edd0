#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "commands/message_sink.h"

namespace quillet::cli {

// What the command line says of what the user must be told.
std::string NoticeLine(const Notice& notice);

// The command line tells the user through standard error once the work is done, so a message
// can say which file it is about and whether it is fatal.
class CollectingMessages final : public MessageSink {
 public:
  void Tell(const Notice& notice) override { texts.push_back(NoticeLine(notice)); }
  std::vector<std::string> texts;
};

// One message: one line, whatever names and values it quotes.
void Say(std::FILE* err, const std::string& text);

// A message of the core's, a sentence of its own, as the end of one of ours: "The file ends"
// becomes "the file ends".
std::string Continued(std::string text);

// A file's name in a message, as the system gave it.
inline std::string Name(const std::filesystem::path& path) { return path.string(); }

// Where an output goes, as a message names it.
std::string TargetName(const std::optional<std::filesystem::path>& target);

}  // namespace quillet::cli
