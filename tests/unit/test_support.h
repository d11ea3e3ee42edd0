#pragma once

#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "commands/workspace.h"
#include "shell/status_words.h"
#include "support/temp_dir.h"

namespace quillet::test {

// A path's name as UTF-8 on every system (a narrow string is the ANSI code page on Windows).
inline std::string Utf8Name(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

// What each panel and the progress bar showed, worded as the window words the core's reports,
// in order, a repeat of the value just shown left out: what a user could see, however often it
// was written.
class StatusRecorder final : public StatusSink, private StatusPainter {
 public:
  void Begin(Phase phase, int file) override { StatusWords(*this).Begin(phase, file); }
  void Advance(const Progress& step) override { StatusWords(*this).Advance(step); }
  void FileOpened(int file, const std::filesystem::path& file_name) override {
    StatusWords(*this).FileOpened(file, file_name);
  }
  void Counted(const ListCount& count) override { StatusWords(*this).Counted(count); }

  void SetPanelText(Panel panel, std::string_view text) { Add(panels[panel], std::string(text)); }

  // What the panel shows now.
  std::string Now(Panel panel) const {
    const auto it = panels.find(panel);
    return it == panels.end() || it->second.empty() ? "" : it->second.back();
  }
  // The same texts and progress values, in the same order.
  bool operator==(const StatusRecorder& other) const {
    return panels == other.panels && progress == other.progress;
  }

  std::map<Panel, std::vector<std::string>> panels;
  std::vector<double> progress;
  std::map<int, bool> icons;
  long long writes = 0;  // panel texts and progress values, repeats included

 private:
  void PaintPanel(Panel panel, std::string_view text) override { SetPanelText(panel, text); }
  void PaintBar(double percent) override { Add(progress, percent); }
  void PaintFile(int file, const std::filesystem::path& file_name) override {
    SetPanelText(FilePanel(file), Utf8Name(file_name));
    icons[file] = true;
  }

  template <class T>
  void Add(std::vector<T>& values, const T& value) {
    ++writes;
    if (values.empty() || values.back() != value) values.push_back(value);
  }
};

// What the user was told, in the window's words.
class RecordingMessages final : public MessageSink {
 public:
  void Tell(const Notice& notice) override { texts.push_back(NoticeText(notice)); }
  std::vector<std::string> texts;
};

// A table, a list and a filter wired together, reporting to recorders.
struct TestWorkspace {
  explicit TestWorkspace(int capacity = kObjectCapacity) : table(capacity) {}

  ObjectTable table;
  ObjectList list{table};
  RowFilter filter;
  StatusRecorder status;
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

// Names in `dir` that are there but are neither a regular file nor a folder: a pipe, where the
// system puts pipes in folders.
std::vector<std::filesystem::path> MakeSpecialFiles(const std::filesystem::path& dir);

// A row of `file` whose fields hold `texts`, in field order (those left out are empty), stored
// as the reader stores a record. It reads as the outputs read a row.
struct TestRow {
  int file;
  std::string record;
  ListView view = ListView::kObjects;
  std::uint8_t status = 0;
  std::uint16_t changed = 0;
  std::uint32_t group = 0;
  operator RowView() const {  // NOLINT: used as the view it is
    return {file, record, view, status, changed, group};
  }
  std::string_view Cell(Column column) const { return RowView(*this).Cell(column); }
};
TestRow RowOf(int file, std::initializer_list<std::string_view> texts);

// Adds a record of `file` holding `texts` after the file's last one, and gives the row of it.
ObjectRow AddRecord(ObjectTable& table, int file, std::initializer_list<std::string_view> texts);

}  // namespace quillet::test
