#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "list/object_list.h"
#include "list/row_query.h"

namespace quillet {

// A filter found over the list's rows, for the list to show.
struct FoundFilter {
  RowQuery query;
  std::string text;
  // MatchingPositions of the query over the rows as they are; none when finding them failed
  // (memory ran out), so that the list's own thread finds them and says why it cannot.
  std::optional<BulkVector<std::uint32_t>> shown;
};

// Finds what a filter leaves of a list's rows on a thread of its own, so that the thread the
// user types on never waits for it. A new filter abandons the one being found. A change of the
// rows stops it and, once the rows are changed, it starts again over the new rows. Only the
// filter asked for last is ever handed out, so a result never shows after a newer one.
class BackgroundFilter final : private RowsReader {
 public:
  explicit BackgroundFilter(ObjectList& list);
  ~BackgroundFilter() override;
  BackgroundFilter(const BackgroundFilter&) = delete;
  BackgroundFilter& operator=(const BackgroundFilter&) = delete;

  // Called on the filter's thread each time a filter is found and waits to be taken.
  void SetFound(std::function<void()> found);

  // Starts finding what `query` leaves; the filter asked for before is abandoned.
  void Start(RowQuery query, std::string text);
  // Abandons the filter asked for, found or not.
  void Cancel();
  // The filter asked for last, once it is found.
  std::optional<FoundFilter> Take();
  // A filter was asked for and not taken yet.
  bool Pending() const;
  // Waits until nothing is being found, nor told of: for tests.
  void WaitUntilIdle();
  // A filter is being found now.
  bool Running() const;

  // While held, a change of the rows does not start the filter again: a command that changes
  // them several times (removes a file's rows, reads the file, lists it) starts it once, when
  // the last hold is released.
  void Hold();
  void Release();

  // How many filters were stopped before their end, and how many were found: for tests.
  int Stopped() const;
  int Found() const;

 private:
  struct Request {
    std::shared_ptr<RowQuery> query;  // shared with the thread while it is being found
    std::string text;
    std::uint64_t id = 0;
  };

  void RowsChanging() override;
  void RowsChanged() override;
  void Run();
  // With the lock held: hands the request to the thread, or leaves it for later.
  void Queue();

  ObjectList& list_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;  // the thread: something to do
  std::condition_variable idle_;  // waiters: the thread stopped finding
  std::function<void()> found_callback_;
  std::optional<Request> requested_;
  std::optional<std::uint64_t> found_id_;  // requested_ is found, as found_
  std::optional<BulkVector<std::uint32_t>> found_;
  std::uint64_t next_id_ = 0;
  std::stop_source running_stop_;
  bool queued_ = false;    // the thread is to find requested_
  bool running_ = false;   // the thread is reading the rows
  bool telling_ = false;   // the thread is calling found_callback_
  bool changing_ = false;  // the rows are being changed
  bool restart_ = false;   // requested_ is to be found again after the change
  int holds_ = 0;
  bool quit_ = false;
  int stopped_ = 0;
  int found_count_ = 0;
  std::thread thread_;  // started with the first filter
};

// Holds a BackgroundFilter for a scope.
class FilterHold {
 public:
  explicit FilterHold(BackgroundFilter& filter) : filter_(filter) { filter_.Hold(); }
  ~FilterHold() { filter_.Release(); }
  FilterHold(const FilterHold&) = delete;
  FilterHold& operator=(const FilterHold&) = delete;

 private:
  BackgroundFilter& filter_;
};

}  // namespace quillet
