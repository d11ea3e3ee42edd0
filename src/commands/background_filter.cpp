#include "commands/background_filter.h"

#include <exception>
#include <utility>

namespace quillet {

BackgroundFilter::BackgroundFilter(ObjectList& list) : list_(list) { list_.SetRowsReader(this); }

BackgroundFilter::~BackgroundFilter() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
    running_stop_.request_stop();
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
  list_.SetRowsReader(nullptr);
}

void BackgroundFilter::SetFound(std::function<void()> found) {
  const std::lock_guard lock(mutex_);
  found_callback_ = std::move(found);
}

void BackgroundFilter::Start(RowQuery query, std::string text) {
  const std::lock_guard lock(mutex_);
  running_stop_.request_stop();
  requested_ = Request{std::make_shared<RowQuery>(std::move(query)), std::move(text), ++next_id_};
  found_id_.reset();
  found_.reset();
  restart_ = false;
  Queue();
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void BackgroundFilter::Queue() {
  if (changing_ || holds_ > 0) {
    restart_ = true;
    return;
  }
  queued_ = true;
  wake_.notify_one();
}

void BackgroundFilter::Cancel() {
  const std::lock_guard lock(mutex_);
  running_stop_.request_stop();
  requested_.reset();
  found_id_.reset();
  found_.reset();
  queued_ = false;
  restart_ = false;
  idle_.notify_all();
}

std::optional<FoundFilter> BackgroundFilter::Take() {
  const std::lock_guard lock(mutex_);
  if (!requested_ || found_id_ != requested_->id) return std::nullopt;
  // The thread let go of the query before it said it was found.
  FoundFilter found{std::move(*requested_->query), std::move(requested_->text), std::move(found_)};
  requested_.reset();
  found_id_.reset();
  found_.reset();
  return found;
}

bool BackgroundFilter::Pending() const {
  const std::lock_guard lock(mutex_);
  return requested_.has_value();
}

void BackgroundFilter::WaitUntilIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !running_ && !queued_ && !telling_; });
}

bool BackgroundFilter::Running() const {
  const std::lock_guard lock(mutex_);
  return running_;
}

void BackgroundFilter::Hold() {
  const std::lock_guard lock(mutex_);
  ++holds_;
}

void BackgroundFilter::Release() {
  const std::lock_guard lock(mutex_);
  if (--holds_ == 0 && restart_ && !changing_) {
    restart_ = false;
    Queue();
  }
}

int BackgroundFilter::Stopped() const {
  const std::lock_guard lock(mutex_);
  return stopped_;
}

int BackgroundFilter::Found() const {
  const std::lock_guard lock(mutex_);
  return found_count_;
}

void BackgroundFilter::RowsChanging() {
  std::unique_lock lock(mutex_);
  changing_ = true;
  running_stop_.request_stop();
  // What was found was found over the rows as they were.
  found_id_.reset();
  found_.reset();
  if (requested_) restart_ = true;
  queued_ = false;
  idle_.wait(lock, [this] { return !running_; });
}

void BackgroundFilter::RowsChanged() {
  const std::lock_guard lock(mutex_);
  changing_ = false;
  if (restart_ && holds_ == 0) {
    restart_ = false;
    Queue();
  }
}

void BackgroundFilter::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return quit_ || queued_; });
    if (quit_) return;
    queued_ = false;
    if (!requested_) continue;
    running_ = true;
    running_stop_ = std::stop_source();
    const std::stop_token stop = running_stop_.get_token();
    const std::uint64_t id = requested_->id;
    std::shared_ptr<const RowQuery> query = requested_->query;
    // No change of the rows begins while running_ is set: RowsChanging waits for it.
    const ObjectTable& table = list_.table();
    const ListView view = list_.view();
    const std::span<const ObjectRow> rows(list_.AllRows().data(), list_.AllRows().size());
    lock.unlock();

    std::optional<BulkVector<std::uint32_t>> shown;
    bool failed = false;
    try {
      shown = MatchingPositions(table, view, rows, *query, stop);
    } catch (const std::exception&) {
      failed = true;  // the list's own thread finds it again and says why it cannot
    }
    query.reset();

    lock.lock();
    running_ = false;
    idle_.notify_all();
    const bool current = requested_ && requested_->id == id && !stop.stop_requested();
    if (!shown && !failed) ++stopped_;
    if (!current || (!shown && !failed)) continue;
    ++found_count_;
    found_id_ = id;
    found_ = std::move(shown);
    const std::function<void()> found = found_callback_;
    telling_ = true;
    lock.unlock();
    if (found) found();
    lock.lock();
    telling_ = false;
    idle_.notify_all();
  }
}

}  // namespace quillet
