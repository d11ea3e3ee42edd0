#include "shell/status_words.h"

#include <algorithm>

#include "objects/object_table.h"
#include "objects/text.h"

namespace quillet {
namespace {

// Whole steps of `span`, as the bar always moved: 50 + 50 * i / n for the second half.
long long Share(long long done, long long total, long long span) {
  return total > 0 ? done * span / total : 0;
}

std::string FileLabel(int file) {
  return file == kBaseFile ? std::string("Base: ") : "File " + DecimalText(file) + ": ";
}

std::string PercentText(const std::string& label, const Progress& progress) {
  return label + DecimalText(Share(progress.done, progress.total, 100)) + "%";
}

}  // namespace

std::string CountText(long long rows) { return kBareCount + DecimalText(rows); }

std::string CountText(const ListCount& count) {
  if (!count.filtered) return CountText(count.rows);
  return CountText(count.rows) + " of " + DecimalText(count.all);
}

std::string NoticeText(const Notice& notice) {
  switch (notice.kind) {
    case Notice::Kind::kUnreadable:
      return "Unable to read the file: " + notice.reason;
    case Notice::Kind::kTooManyObjects:
      return "The file lists more than " + DecimalText(notice.limit) + " objects. Only the first " +
             DecimalText(notice.limit) + " are loaded.";
    case Notice::Kind::kCutShort:
      return "The file ends inside its list of objects. Only the objects before the damaged line "
             "are loaded.";
    case Notice::Kind::kPairLimit:
      return "The files have " + DecimalText(notice.found) +
             " pairs of equal objects. The list shows the first " + DecimalText(notice.limit) + ".";
  }
  return {};
}

void StatusWords::Begin(Phase phase, int /*file*/) {
  // The start of a load or a comparison clears what the last one left.
  const auto start = [&](const char* activity) {
    painter_.PaintPanel(Panel::kActivity, activity);
    painter_.PaintPanel(Panel::kProgress, "");
    painter_.PaintPanel(Panel::kCount, "");
  };
  switch (phase) {
    case Phase::kOpening:
    case Phase::kComparing:
      start("Analyzing...");
      break;
    case Phase::kFirstPass:
      start("Analyzing 1/2 ...");
      break;
    case Phase::kSecondPass:
      painter_.PaintPanel(Panel::kActivity, "Analyzing 2/2...");
      break;
    case Phase::kLoading:
      painter_.PaintPanel(Panel::kActivity, "Loading...");
      break;
    case Phase::kLoaded:
      painter_.PaintPanel(Panel::kActivity, "Loaded");
      break;
    case Phase::kDisplaying:
      painter_.PaintPanel(Panel::kActivity, "Displaying...");
      break;
    case Phase::kFinished:
      painter_.PaintBar(0);
      painter_.PaintPanel(Panel::kActivity, "Finished");
      break;
  }
}

void StatusWords::Advance(const Progress& progress) {
  const long long done = progress.done, total = progress.total;
  switch (progress.phase) {
    case Phase::kLoading:
      // Reading is the first half of a load and listing the second; the bar moves smoothly.
      painter_.PaintPanel(Panel::kProgress, FileLabel(progress.file) + DecimalText(done));
      painter_.PaintBar(total > 0 ? 50.0 * static_cast<double>(std::min(done, total)) /
                                        static_cast<double>(total)
                                  : 0.0);
      break;
    case Phase::kDisplaying:
      painter_.PaintPanel(Panel::kProgress, FileLabel(progress.file) + DecimalText(done));
      painter_.PaintBar(static_cast<double>(50 + Share(done, total, 50)));
      break;
    case Phase::kComparing:
      painter_.PaintPanel(Panel::kProgress, PercentText("Progress: ", progress));
      painter_.PaintBar(static_cast<double>(Share(done, total, 100)));
      break;
    case Phase::kFirstPass:
      painter_.PaintPanel(Panel::kProgress, PercentText(FileLabel(progress.file), progress));
      painter_.PaintBar(static_cast<double>(Share(done, total, 50)));
      break;
    case Phase::kSecondPass:
      painter_.PaintPanel(Panel::kProgress, PercentText(FileLabel(progress.file), progress));
      painter_.PaintBar(static_cast<double>(50 + Share(done, total, 50)));
      break;
    case Phase::kOpening:
    case Phase::kLoaded:
    case Phase::kFinished:
      break;
  }
}

void StatusWords::FileOpened(int file, const std::filesystem::path& file_name) {
  painter_.PaintFile(file, file_name);
}

void StatusWords::Counted(const ListCount& count) {
  painter_.PaintPanel(Panel::kCount, CountText(count));
}

}  // namespace quillet
