#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace quillet {

// What the user must be told, as a value: the window words it for a message box, the command
// line for a line on standard error.
struct Notice {
  enum class Kind : std::uint8_t {
    kUnreadable,      // the file exists but could not be read: `reason` says why
    kTooManyObjects,  // the file lists more objects than the table holds: `limit` were loaded
    kCutShort,        // the file ends inside its list of objects
    kPairLimit,       // `found` pairs of equal objects; the list shows the first `limit`
  };

  Kind kind = Kind::kUnreadable;
  std::string reason;
  long long found = 0;
  long long limit = 0;

  static Notice Unreadable(std::string why) { return {Kind::kUnreadable, std::move(why), 0, 0}; }
  static Notice TooManyObjects(long long loaded) { return {Kind::kTooManyObjects, {}, 0, loaded}; }
  static Notice CutShort() { return {Kind::kCutShort, {}, 0, 0}; }
  static Notice PairLimit(long long pairs, long long listed) {
    return {Kind::kPairLimit, {}, pairs, listed};
  }

  bool operator==(const Notice&) const = default;
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Tell(const Notice& notice) = 0;
};

class NullMessageSink final : public MessageSink {
 public:
  void Tell(const Notice&) override {}
};

}  // namespace quillet
