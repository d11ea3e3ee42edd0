#pragma once

#include <string_view>

namespace quillet {

// What the user must be told: a message box with an OK button in the window, a line on
// standard error in the command line. Texts are Windows-1252 bytes.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void ShowMessage(std::string_view text) = 0;
};

class NullMessageSink final : public MessageSink {
 public:
  void ShowMessage(std::string_view) override {}
};

}  // namespace quillet
