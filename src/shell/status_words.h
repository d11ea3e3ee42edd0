#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "commands/message_sink.h"
#include "objects/status_sink.h"

// The window's words for what the core reports: the status bar's texts and the message boxes.
// No Qt here, so the core's tests hold the engines' reports to the very texts the window shows.
namespace quillet {

// The panels of the status bar: the five the user always sees, numbered from the left, and the
// base file's, which shows only while a base is loaded.
enum class Panel { kFile1 = 1, kFile2 = 2, kActivity = 3, kProgress = 4, kCount = 5, kBase = 6 };

inline constexpr int kPanelCount = 6;

// The panel that shows file #1, file #2 or the base (file 0).
constexpr Panel FilePanel(int file) {
  return file == 2 ? Panel::kFile2 : file == 1 ? Panel::kFile1 : Panel::kBase;
}

// A file panel's text while its slot is empty.
inline constexpr const char* kNoFile = "no file";
// The count panel while a command runs.
inline constexpr const char* kBareCount = "Count: ";

// "Count: 42", or under a filter "Count: 42 of 9311".
std::string CountText(long long rows);
std::string CountText(const ListCount& count);

// The message box's text. Texts are Windows-1252 bytes.
std::string NoticeText(const Notice& notice);

// Where the worded status goes: the window's panels, or a test's record.
class StatusPainter {
 public:
  virtual ~StatusPainter() = default;
  virtual void PaintPanel(Panel panel, std::string_view text) = 0;
  // 0..100; fractions allowed.
  virtual void PaintBar(double percent) = 0;
  // The file's panel: its name as text and tool tip, and the icon of its slot.
  virtual void PaintFile(int file, const std::filesystem::path& file_name) = 0;
};

// Words the core's reports for the status bar: what is going on in the activity panel, how far
// it came in the progress panel and on the bar, the rows in the count panel.
class StatusWords final : public StatusSink {
 public:
  explicit StatusWords(StatusPainter& painter) : painter_(painter) {}

  void Begin(Phase phase, int file) override;
  void Advance(const Progress& progress) override;
  void FileOpened(int file, const std::filesystem::path& file_name) override;
  void Counted(const ListCount& count) override;

 private:
  StatusPainter& painter_;
};

}  // namespace quillet
