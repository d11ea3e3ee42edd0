#pragma once

#include <string_view>

namespace quillet {

// Where long work reports how far it came: the status bar's five panels and the progress bar.
// The window implements it with its widgets, the command line with nothing, tests with a
// recorder. Texts are Windows-1252 bytes; file names are in the platform's own encoding.
class StatusSink {
 public:
  virtual ~StatusSink() = default;

  // panel is 1..5: 1 and 2 the files, 3 the activity, 4 the progress text, 5 the row count.
  virtual void SetPanelText(int panel, std::string_view text) = 0;
  // Panel `file` shows the file's name as text and tool tip, and the icon of that file.
  virtual void ShowFilePanel(int file, std::string_view file_name) = 0;
  // 0..100; fractions allowed.
  virtual void SetProgress(double value) = 0;
  // The comparison commands need both files, "show all" needs one.
  virtual void SetCompareCommandsEnabled(bool compare, bool show_all) = 0;
};

class NullStatusSink final : public StatusSink {
 public:
  void SetPanelText(int, std::string_view) override {}
  void ShowFilePanel(int, std::string_view) override {}
  void SetProgress(double) override {}
  void SetCompareCommandsEnabled(bool, bool) override {}
};

}  // namespace quillet
