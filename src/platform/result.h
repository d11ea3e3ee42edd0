#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace quillet {

// Why something failed, as the end of a sentence: "permission denied", "it is a folder". The
// caller puts it after what it was doing: "cannot write x.txt: " + reason.
struct Error {
  std::string reason;
};

inline Error Fail(std::string reason) { return Error{std::move(reason)}; }

// What everything that can fail gives back: a value, or the error that says why not. Marked
// [[nodiscard]], so a failure cannot be dropped without a word.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}      // NOLINT: implicit
  Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}  // NOLINT: implicit

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & {
    assert(ok());
    return std::get<0>(state_);
  }
  const T& value() const& {
    assert(ok());
    return std::get<0>(state_);
  }
  T&& value() && {
    assert(ok());
    return std::get<0>(std::move(state_));
  }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  // The reason; empty when it succeeded.
  const std::string& error() const {
    static const std::string kNone;
    return ok() ? kNone : std::get<1>(state_).reason;
  }

 private:
  std::variant<T, Error> state_;
};

// Success with nothing to give back, or an error.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error.reason)), failed_(true) {}  // NOLINT: implicit

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return error_; }

 private:
  std::string error_;
  bool failed_ = false;
};

using Status = Result<void>;

inline Status Ok() { return {}; }

}  // namespace quillet
