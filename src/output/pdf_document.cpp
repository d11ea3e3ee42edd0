#include "output/pdf_document.h"

#include <charconv>
#include <cstdio>
#include <system_error>
#include <utility>

#include "objects/code_page.h"

namespace quillet {
namespace {

// A4 portrait and the margins the class comment gives reasons for.
constexpr double kPageWidth = 595;
constexpr double kPageHeight = 842;
constexpr double kSideMargin = 30;
constexpr double kTopMargin = 36;
constexpr double kBottomMargin = 36;
constexpr double kFontSize = 9;
// Liberation Mono, the fixed-pitch font the window prints with, has an ascent of 1705 and a
// descent of 615 units of 2048 per em: the same line height and baseline here, so the PDF and a
// printed page break at the same rows.
constexpr double kAscent = kFontSize * 1705 / 2048;
constexpr double kLineHeight = kFontSize * (1705 + 615) / 2048;
// Courier is 600 units wide in every character.
constexpr double kCharWidth = kFontSize * 0.6;

// Fixed object numbers; page i (from 0) has its content stream at kFirstPageObject + 2i and its
// page object right after it, and the information dictionary follows the last page.
constexpr int kCatalogObject = 1;
constexpr int kPagesObject = 2;
constexpr int kRegularFontObject = 3;
constexpr int kBoldFontObject = 4;
constexpr int kFirstPageObject = 5;

// A cross-reference entry has room for ten digits of offset.
constexpr std::uint64_t kLargestOffset = 9'999'999'999;
// The sink gets the bytes in pieces of about this size, so a long page tree is no exception.
constexpr std::size_t kFlushSize = std::size_t{64} * 1024;

int ContentObject(int page) { return kFirstPageObject + 2 * page; }
int PageObject(int page) { return ContentObject(page) + 1; }

void AppendInt(std::string& out, std::uint64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

// At most two decimals, without trailing zeros: "798.51", "30".
void AppendNumber(std::string& out, double value) {
  char digits[32];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 2);
  if (result.ec != std::errc()) {  // far off any page: no position is as good as another
    out += '0';
    return;
  }
  const char* end = result.ptr;
  while (end[-1] == '0') --end;
  if (end[-1] == '.') --end;
  out.append(digits, static_cast<std::size_t>(end - digits));
}

// A literal string. Parentheses and backslashes are escaped, and every byte outside printable
// ASCII is written in octal, so no byte of a name can end the string, start a line or be
// changed by a tool that rewrites line ends.
void AppendLiteral(std::string& out, std::string_view text) {
  out += '(';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '(' || c == ')' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte > 0x7E) {
      const char octal[4] = {'\\', static_cast<char>('0' + (byte >> 6)),
                             static_cast<char>('0' + ((byte >> 3) & 7)),
                             static_cast<char>('0' + (byte & 7))};
      out.append(octal, 4);
    } else {
      out += c;
    }
  }
  out += ')';
}

// A text string of the document information. Readers take such a string in PDFDocEncoding,
// which differs from Windows-1252 in its upper half, so text beyond ASCII goes as UTF-16.
void AppendTextString(std::string& out, std::string_view text) {
  bool ascii = true;
  for (const char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return AppendLiteral(out, text);
  out += "<FEFF";
  for (const char c : text) {
    char hex[5];
    std::snprintf(hex, sizeof hex, "%04X",
                  static_cast<unsigned>(Windows1252ToUnicode(static_cast<unsigned char>(c))));
    out.append(hex, 4);
  }
  out += '>';
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

}  // namespace

PdfDocument::PdfDocument(Sink sink, std::string_view title, std::string_view creator)
    : sink_(std::move(sink)), title_(title), creator_(creator) {}

PrintMetrics PdfDocument::Metrics() {
  PrintMetrics metrics;
  metrics.header_line_height = kLineHeight;
  metrics.row_line_height = kLineHeight;
  metrics.page_height = kPageHeight - kTopMargin - kBottomMargin;
  return metrics;
}

void PdfDocument::BeginObject(int number) {
  if (offsets_.size() <= static_cast<std::size_t>(number)) offsets_.resize(number + 1);
  offsets_[number] = written_ + out_.size();
  AppendInt(out_, static_cast<std::uint64_t>(number));
  out_ += " 0 obj\n";
}

bool PdfDocument::Flush() {
  if (failed_) return false;
  if (out_.empty()) return true;
  // Beyond ten digits the cross-reference table could not say where an object starts.
  if (written_ + out_.size() > kLargestOffset || !sink_(out_)) {
    failed_ = true;
    return false;
  }
  written_ += out_.size();
  out_.clear();
  return true;
}

bool PdfDocument::Start() {
  if (started_) return !failed_;
  started_ = true;
  // The comment of bytes above 0x7F tells transfer tools that the file is binary.
  out_ += "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  BeginObject(kCatalogObject);
  out_ += "<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
  for (const int font : {kRegularFontObject, kBoldFontObject}) {
    BeginObject(font);
    out_ += "<< /Type /Font /Subtype /Type1 /BaseFont /";
    out_ += font == kBoldFontObject ? "Courier-Bold" : "Courier";
    out_ += " /Encoding /WinAnsiEncoding\n/FirstChar 0 /LastChar 255 /Widths [";
    // Every code advances one character, control bytes and unassigned codes too, which the
    // font would give no width: a name holding such a byte keeps its line's columns in place.
    for (int code = 0; code < 256; ++code) out_ += code % 32 == 0 ? "\n600" : " 600";
    out_ += "]\n>>\nendobj\n";
  }
  return Flush();
}

bool PdfDocument::AddPage(const std::vector<PrintedLine>& lines) {
  if (finished_ || !Start()) return false;
  std::string content;
  content.reserve(64 + lines.size() * 80);
  // The tint behind changed fields first, so the text stands on it: a grey that reads on any
  // printer.
  bool tinted = false;
  for (const PrintedLine& line : lines) {
    for (const PrintedMark& mark : line.marks) {
      if (!tinted) content += "0.82 g\n";
      tinted = true;
      AppendNumber(content, kSideMargin + kCharWidth * mark.first);
      content += ' ';
      AppendNumber(content, kPageHeight - kTopMargin - line.y - kLineHeight);
      content += ' ';
      AppendNumber(content, kCharWidth * mark.length);
      content += ' ';
      AppendNumber(content, kLineHeight);
      content += " re f\n";
    }
  }
  if (tinted) content += "0 g\n";
  content += "BT\n";
  int font = 0;  // none chosen yet; 1 regular, 2 bold
  for (const PrintedLine& line : lines) {
    const std::string_view text = WithoutTrailingBlanks(line.text);
    if (text.empty()) continue;
    const int wanted = line.bold ? 2 : 1;
    if (font != wanted) {
      content += wanted == 2 ? "/F2 " : "/F1 ";
      AppendNumber(content, kFontSize);
      content += " Tf\n";
      font = wanted;
    }
    content += "1 0 0 1 ";
    AppendNumber(content, kSideMargin);
    content += ' ';
    AppendNumber(content, kPageHeight - kTopMargin - line.y - kAscent);
    content += " Tm ";
    AppendLiteral(content, text);
    content += " Tj\n";
  }
  content += "ET\n";

  BeginObject(ContentObject(page_count_));
  out_ += "<< /Length ";
  AppendInt(out_, content.size());
  out_ += " >>\nstream\n";
  out_ += content;
  out_ += "endstream\nendobj\n";
  BeginObject(PageObject(page_count_));
  out_ += "<< /Type /Page /Parent 2 0 R /Contents ";
  AppendInt(out_, static_cast<std::uint64_t>(ContentObject(page_count_)));
  out_ += " 0 R >>\nendobj\n";
  ++page_count_;
  return Flush();
}

bool PdfDocument::Finish() {
  if (finished_ || !Start()) return false;
  // Readers refuse a document without pages: an empty one gets a blank page.
  if (page_count_ == 0 && !AddPage({})) return false;
  finished_ = true;
  // Page size and fonts are given once here and inherited by every page.
  BeginObject(kPagesObject);
  out_ += "<< /Type /Pages /Count ";
  AppendInt(out_, static_cast<std::uint64_t>(page_count_));
  out_ += " /MediaBox [0 0 ";
  AppendNumber(out_, kPageWidth);
  out_ += ' ';
  AppendNumber(out_, kPageHeight);
  out_ += "]\n/Resources << /Font << /F1 3 0 R /F2 4 0 R >> >>\n/Kids [";
  for (int page = 0; page < page_count_; ++page) {
    // Short lines: some tools read a PDF line by line into a fixed buffer.
    out_ += page % 16 == 0 ? '\n' : ' ';
    AppendInt(out_, static_cast<std::uint64_t>(PageObject(page)));
    out_ += " 0 R";
    if (out_.size() >= kFlushSize && !Flush()) return false;
  }
  out_ += "\n]\n>>\nendobj\n";

  const int info_object = ContentObject(page_count_);
  BeginObject(info_object);
  out_ += "<< /Title ";
  AppendTextString(out_, title_);
  out_ += "\n/Creator ";
  AppendTextString(out_, creator_);
  out_ += " >>\nendobj\n";

  const std::uint64_t xref_offset = written_ + out_.size();
  out_ += "xref\n0 ";
  AppendInt(out_, offsets_.size());
  out_ += "\n0000000000 65535 f \n";
  for (std::size_t number = 1; number < offsets_.size(); ++number) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010llu 00000 n \n",
                  static_cast<unsigned long long>(offsets_[number]));
    out_.append(entry, 20);
    if (out_.size() >= kFlushSize && !Flush()) return false;
  }
  out_ += "trailer\n<< /Size ";
  AppendInt(out_, offsets_.size());
  out_ += " /Root 1 0 R /Info ";
  AppendInt(out_, static_cast<std::uint64_t>(info_object));
  out_ += " 0 R >>\nstartxref\n";
  AppendInt(out_, xref_offset);
  out_ += "\n%%EOF\n";
  return Flush();
}

bool PrintToPdf(PdfDocument& pdf, const ObjectList& list, const PrintHeader& header) {
  const PrintMetrics metrics = PdfDocument::Metrics();
  const std::vector<PrintPage> pages = PaginateRows(list.RowCount(), metrics);
  for (std::size_t page = 0; page < pages.size(); ++page) {
    if (!pdf.AddPage(LayOutPage(list, header, metrics, pages[page], static_cast<int>(page) + 1))) {
      return false;
    }
  }
  return pdf.Finish();
}

}  // namespace quillet
