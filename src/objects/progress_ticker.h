#pragma once

namespace quillet {

// Long loops report every step by rule, but painting a status bar 20000 times costs more than
// the work. A ticker says when a step starts a new percent, so callers report at most about a
// hundred times; they always report the last step, so the end state is exact.
class ProgressTicker {
 public:
  explicit ProgressTicker(long long total) : total_(total) {}

  bool Due(long long step) {
    // Asked at every step of loops over every object: the steps of the percent last reported
    // are known, so most steps cost a compare, not a division.
    if (step >= low_ && step < high_ && step != total_) return false;
    if (total_ <= 0) return true;
    const long long percent = step * 100 / total_;
    if (percent == last_percent_ && step != total_) return false;
    last_percent_ = percent;
    if (step >= 0) {
      // The steps whose percent this is: from ceil(p * total / 100) up to, not including,
      // ceil((p + 1) * total / 100).
      low_ = (percent * total_ + 99) / 100;
      high_ = ((percent + 1) * total_ + 99) / 100;
    } else {
      low_ = high_ = 0;
    }
    return true;
  }

 private:
  long long total_;
  long long last_percent_ = -1;
  long long low_ = 0, high_ = 0;  // none at first
};

}  // namespace quillet
