#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "list/workspace.h"

namespace quillet::test {

// Keeps what the status bar would show now, and every progress value in order.
class RecordingStatus final : public StatusSink {
 public:
  void SetPanelText(int panel, std::string_view text) override { panels[panel] = text; }
  void ShowFilePanel(int file, std::string_view file_name) override {
    panels[file] = file_name;
    icons[file] = file;
  }
  void SetProgress(double value) override { progress.push_back(value); }
  void SetCompareCommandsEnabled(bool compare_enabled, bool show_all_enabled) override {
    compare = compare_enabled;
    show_all = show_all_enabled;
  }

  std::map<int, std::string> panels;
  std::map<int, int> icons;
  std::vector<double> progress;
  bool compare = false;
  bool show_all = false;
};

class RecordingMessages final : public MessageSink {
 public:
  void ShowMessage(std::string_view text) override { texts.emplace_back(text); }
  std::vector<std::string> texts;
};

// A table, a list and a filter wired together, reporting to recorders.
struct TestWorkspace {
  explicit TestWorkspace(int capacity = kObjectCapacity) : table(capacity) {}

  ObjectTable table;
  ObjectList list;
  RowFilter filter;
  RecordingStatus status;
  RecordingMessages messages;
  Workspace ws{table, list, filter, status, messages};
};

// Object lines built field by field at their documented offsets, independent of the generator.
std::string LineA(std::string_view type, std::string_view id, std::string_view name,
                  std::string_view date, std::string_view time, std::string_view size,
                  std::string_view version);
std::string LineB(std::string_view id, std::string_view name, std::string_view size,
                  std::string_view version);
std::string Padded(std::string_view text, std::size_t width);

// A folder of its own for one test, removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::filesystem::path path() const { return path_; }
  // Writes the bytes to a file in the folder and gives its full name.
  std::string Write(const std::string& name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

}  // namespace quillet::test
