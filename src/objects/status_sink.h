#pragma once

#include <cstdint>
#include <filesystem>

namespace quillet {

// What long work is doing. The window words each phase for its status bar; the command line
// says nothing of them.
enum class Phase : std::uint8_t {
  kOpening,     // a load has begun: finding the file's directory
  kLoading,     // reading the object lines of `file`
  kLoaded,      // the load has ended
  kDisplaying,  // listing the objects of `file`
  kComparing,   // a comparison's one pass (equal pairs, changes, upgrade)
  kFirstPass,   // the different comparison: file #1's objects
  kSecondPass,  // the different comparison: file #2's objects
  kFinished,    // a listing or a comparison has ended
};

// How far a phase came: `done` steps of `total` (records, lines or groups). A loading step
// counts the objects kept, which a backup's dropped lines keep below the total.
struct Progress {
  Phase phase = Phase::kOpening;
  int file = 0;  // the file worked on; 0 where the phase has none, or for the base
  long long done = 0;
  long long total = 0;

  bool operator==(const Progress&) const = default;
};

// The rows a list shows now, and all it holds when a filter hides some.
struct ListCount {
  long long rows = 0;
  long long all = 0;
  bool filtered = false;

  bool operator==(const ListCount&) const = default;
};

// Where long work reports, as values: which phase it is in and how far it came, which file a
// load reads into which slot, how many rows a listing left. The window words them for its
// status bar, the command line ignores them, tests record them. Callers report at most about a
// hundred steps a phase (see ProgressTicker), and always the last.
class StatusSink {
 public:
  virtual ~StatusSink() = default;

  virtual void Begin(Phase phase, int file) = 0;
  virtual void Advance(const Progress& progress) = 0;
  // The load of slot `file` (0 the base, 1, 2) from `file_name` has begun.
  virtual void FileOpened(int file, const std::filesystem::path& file_name) = 0;
  // A listing or a comparison has filled the list.
  virtual void Counted(const ListCount& count) = 0;
};

class NullStatusSink final : public StatusSink {
 public:
  void Begin(Phase, int) override {}
  void Advance(const Progress&) override {}
  void FileOpened(int, const std::filesystem::path&) override {}
  void Counted(const ListCount&) override {}
};

}  // namespace quillet
