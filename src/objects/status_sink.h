#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillet {

// The panels of the status bar: the five the user always sees, numbered from the left, and the
// base file's, which shows only while a base is loaded.
enum class Panel { kFile1 = 1, kFile2 = 2, kActivity = 3, kProgress = 4, kCount = 5, kBase = 6 };

inline constexpr int kPanelCount = 6;

// The panel that shows file #1, file #2 or the base (file 0).
constexpr Panel FilePanel(int file) {
  return file == 2 ? Panel::kFile2 : file == 1 ? Panel::kFile1 : Panel::kBase;
}

// The row count panel's text: "Count: 42".
inline std::string CountText(long long rows) { return "Count: " + std::to_string(rows); }

// Where long work reports how far it came: the status bar's five panels and the progress bar.
// The window implements it with its widgets, the command line with nothing, tests with a
// recorder. Texts are Windows-1252 bytes; file names are paths, shown as the platform names them.
class StatusSink {
 public:
  virtual ~StatusSink() = default;

  virtual void SetPanelText(Panel panel, std::string_view text) = 0;
  // The file's panel shows its name as text and tool tip, and the icon of that file.
  virtual void ShowFilePanel(int file, const std::filesystem::path& file_name) = 0;
  // 0..100; fractions allowed.
  virtual void SetProgress(double value) = 0;
  // The comparisons need both files, "show all" needs one, the upgrade analysis the base too.
  virtual void SetCompareCommandsEnabled(bool compare, bool show_all, bool upgrade) = 0;
};

class NullStatusSink final : public StatusSink {
 public:
  void SetPanelText(Panel, std::string_view) override {}
  void ShowFilePanel(int, const std::filesystem::path&) override {}
  void SetProgress(double) override {}
  void SetCompareCommandsEnabled(bool, bool, bool) override {}
};

}  // namespace quillet
