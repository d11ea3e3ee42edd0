#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "list/across.h"
#include "output/format_table.h"
#include "output/list_file_writer.h"
#include "platform/result.h"

namespace quillet {

// The rows of a comparison across files in the list's formats. A row is a key instance: Type,
// ID, Name (of the lowest-numbered file's object), Variants, then a cell per file, headed by
// the file's name, holding its variant's letters or nothing where the file lacks the object.
// - kText: a header line, then a line a row, every field quoted, nothing escaped,
//   Windows-1252, CR LF, as the saved list;
// - kCsv, kTsv: the same lines as the list's CSV and tab-separated text (UTF-8);
// - kJson: one object: the files, then the rows, each with its cells and, per file, the
//   object's fields typed as the list's JSON (docs/output.schema.json);
// - kHtml: a report: the files, what was compared, the matrix (a colour per letter, the letter
//   always written, the colours in steps of lightness so they read in grey), the summary;
// - kXlsx: the matrix with typed cells on the letters' colours;
// - kIds: the IDs of the rows as the filter's lines.
// With the summary instead of rows: a line per file, "File,Objects,Only here," then a column
// per file, in each format but kIds.

struct AcrossContext {
  // The files' names as given, in order, as UTF-8 (see AcrossFileName).
  std::vector<std::string> files;
  std::string criteria;  // what was compared, Windows-1252: "Type and ID, Name, ..."
  bool raw_csv = false;  // CSV cells as they are, for scripts
};

// A name as the system gave it, as UTF-8 for the outputs: a byte that is not UTF-8 stands as
// U+FFFD, so that no output is made invalid by a file's name.
std::string AcrossFileName(std::string_view name);

// The titles of the columns before the files' and of the summary's.
inline constexpr std::array<std::string_view, 4> kAcrossKeyColumns = {"Type", "ID", "Name",
                                                                      "Variants"};
inline constexpr std::array<std::string_view, 3> kAcrossSummaryColumns = {"File", "Objects",
                                                                          "Only here"};

// A letter's colour in the matrix: the first six in steps from light to dark, so that they
// read in grey as well; the letter is always written too, as later letters take the colours
// again. Light text on the dark ones.
struct VariantColour {
  std::uint32_t background;  // 0xRRGGBB
  bool light_text;
};
inline constexpr std::array<VariantColour, 6> kVariantColours = {{
    {0xE6F4DC, false},
    {0xF6C95A, false},
    {0xEA8A4E, false},
    {0xC2456A, true},
    {0x6B3FA0, true},
    {0x1F3A5F, true},
}};
constexpr const VariantColour& ColourOf(int variant) {
  return kVariantColours[static_cast<std::size_t>(variant) % kVariantColours.size()];
}
// A file without the object: grey, hatched where the format can.
inline constexpr std::uint32_t kNoObjectColour = 0xD4D4D4;

// Builds one format's output piece by piece, as the rows come.
class AcrossFormatter {
 public:
  static std::unique_ptr<AcrossFormatter> Make(ListFormat format, const AcrossContext& context);
  virtual ~AcrossFormatter() = default;

  virtual void Begin(std::string& /*out*/) {}
  virtual void AddRow(std::string& out, const AcrossRow& row) = 0;
  // After the last row, with what the listing found (a report shows its counts and summary).
  virtual void End(std::string& /*out*/, const AcrossResult& /*result*/) {}
  // The whole output for the summary instead of rows; Begin and End do not go with it.
  virtual void Summary(std::string& out, const AcrossSummary& summary) = 0;
  // Why the output cannot be made, once it cannot; empty while all is well.
  virtual std::string Error() const { return {}; }
};

// Hands the rows of a listing to an output as they come, in pieces of a fixed size.
class AcrossWriter final : public AcrossVisitor {
 public:
  AcrossWriter(RowOutput& output, ListFormat format, const AcrossContext& context);

  bool Row(const AcrossRow& row) override;
  // The end of the rows, and the output completed; false when anything failed.
  bool Finish(const AcrossResult& result);
  // The summary instead of rows, and the output completed.
  bool FinishSummary(const AcrossSummary& summary);
  // Why it failed: "no space left on device".
  std::string Error() const;

 private:
  bool Begun();
  bool Pass(bool last);

  RowOutput& output_;
  std::unique_ptr<AcrossFormatter> formatter_;
  std::string piece_;
  bool begun_ = false;
  bool ok_ = true;
};

// The window's Save: the rows `rows` hands to its visitor, in order, to `path`, whole or not at
// all; a pipe without a reader is refused rather than waited for.
[[nodiscard]] Status WriteAcrossFile(const std::filesystem::path& path, ListFormat format,
                                     const AcrossContext& context,
                                     const std::function<void(AcrossVisitor&)>& rows,
                                     const AcrossResult& result);

namespace detail {
std::unique_ptr<AcrossFormatter> MakeAcrossJson(const AcrossContext& context);
std::unique_ptr<AcrossFormatter> MakeAcrossHtml(const AcrossContext& context);
std::unique_ptr<AcrossFormatter> MakeAcrossXlsx(const AcrossContext& context);
}  // namespace detail

}  // namespace quillet
