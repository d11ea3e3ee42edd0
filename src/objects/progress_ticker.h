#pragma once

namespace quillet {

// Long loops report every step by rule, but painting a status bar 20000 times costs more than
// the work. A ticker says when a step starts a new percent, so callers report at most about a
// hundred times; they always report the last step, so the end state is exact.
class ProgressTicker {
 public:
  explicit ProgressTicker(long long total) : total_(total) {}

  bool Due(long long step) {
    if (total_ <= 0) return true;
    const long long percent = step * 100 / total_;
    if (percent == last_percent_ && step != total_) return false;
    last_percent_ = percent;
    return true;
  }

 private:
  long long total_;
  long long last_percent_ = -1;
};

}  // namespace quillet
