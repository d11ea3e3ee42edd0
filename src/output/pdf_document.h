#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "list/object_list.h"
#include "output/print_layout.h"
#include "platform/result.h"

namespace quillet {

// Writes the printout as a PDF, page by page, to a sink: a page's bytes leave as soon as the
// page is added, so a printout of any length needs one page in memory. The text is drawn in the
// standard Courier and Courier-Bold fonts with WinAnsiEncoding, which take the core's
// Windows-1252 bytes as they are and need no font file. The pages are the printout's paper,
// A4 portrait unless the caller gives another.
class PdfDocument {
 public:
  // `sink` takes the bytes in order; it returns false when it could not write them. The title
  // and the creator are Windows-1252 text.
  using Sink = std::function<bool(std::string_view)>;
  PdfDocument(Sink sink, std::string_view title, std::string_view creator,
              const PrintPaper& paper = {});

  // The device the core lays the printout out on, in points: the line height of Courier 9 pt
  // (both fonts) and the height of the printable area of the default paper.
  static PrintMetrics Metrics();
  const PrintPaper& paper() const { return paper_; }

  // One page of LayOutPage: each line at the left edge of the printable area, its top at
  // `PrintedLine::y` below the top of the area. False once the sink failed (then, and after
  // Finish, nothing more is written).
  [[nodiscard]] bool AddPage(const std::vector<PrintedLine>& lines);
  // The page tree, the document information, the cross-reference table and the trailer; a
  // document without pages gets a blank one. False when any byte could not be written.
  [[nodiscard]] bool Finish();

  int PageCount() const { return page_count_; }

 private:
  bool Start();
  // Records where object `number` starts in the document (the next byte written).
  void BeginObject(int number);
  bool Flush();

  Sink sink_;
  std::string title_;
  std::string creator_;
  PrintPaper paper_;
  std::string out_;                     // what goes to the sink next
  std::vector<std::uint64_t> offsets_;  // by object number; 0 for the free entry
  std::uint64_t written_ = 0;           // bytes the sink has taken
  int page_count_ = 0;
  bool started_ = false;
  bool finished_ = false;
  bool failed_ = false;
};

// The whole printout of `list` into `pdf`, finished: PaginateRows and LayOutPage on the PDF's
// paper. Fails when the sink failed.
[[nodiscard]] Status PrintToPdf(PdfDocument& pdf, const ObjectList& list,
                                const PrintHeader& header);
// The same for a printout laid out on the PDF's paper, with `progress` told after each
// page. A printout that was cancelled is left unfinished, so the caller throws it away.
[[nodiscard]] Result<PrintEnd> PrintToPdf(PdfDocument& pdf, const Printout& printout,
                                          const PrintProgress& progress);

}  // namespace quillet
