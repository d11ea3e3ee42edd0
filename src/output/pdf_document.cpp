#include "output/pdf_document.h"

#include <charconv>
#include <cstdio>
#include <system_error>
#include <utility>

#include "objects/code_page.h"

namespace quillet {
namespace {

constexpr double kFontSize = kPrintFontSize;
constexpr double kAscent = kPrintAscent;
constexpr double kLineHeight = kPrintLineHeight;
// Courier is 600 units wide in every character: the layout's pitch.
constexpr double kCharWidth = kPrintCharWidth;

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

PdfDocument::PdfDocument(Sink sink, std::string_view title, std::string_view creator,
                         const PrintPaper& paper)
    : sink_(std::move(sink)), title_(title), creator_(creator), paper_(paper) {}

PrintMetrics PdfDocument::Metrics() { return MetricsOf(PrintPaper{}); }

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
  const double top = paper_.height - paper_.top;  // PDF's y runs upwards from the bottom
  bool tinted = false;
  for (const PrintedLine& line : lines) {
    for (const PrintedMark& mark : line.marks) {
      if (!tinted) content += "0.82 g\n";
      tinted = true;
      AppendNumber(content, paper_.left + kCharWidth * mark.first);
      content += ' ';
      AppendNumber(content, top - line.y - kLineHeight);
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
    AppendNumber(content, paper_.left);
    content += ' ';
    AppendNumber(content, top - line.y - kAscent);
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
  AppendNumber(out_, paper_.width);
  out_ += ' ';
  AppendNumber(out_, paper_.height);
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

Status PrintToPdf(PdfDocument& pdf, const ObjectList& list, const PrintHeader& header) {
  const Result<PrintEnd> printed = PrintToPdf(pdf, ListPrintout(list, header, pdf.paper()), {});
  if (!printed) return Fail(printed.error());
  return Ok();
}

Result<PrintEnd> PrintToPdf(PdfDocument& pdf, const Printout& printout,
                            const PrintProgress& progress) {
  const int pages = printout.PageCount();
  for (int page = 0; page < pages; ++page) {
    if (!pdf.AddPage(printout.Page(page))) return Fail("the PDF could not be written");
    if (progress && !progress(page + 1, pages)) return PrintEnd::kCancelled;
  }
  if (!pdf.Finish()) return Fail("the PDF could not be written");
  return PrintEnd::kPrinted;
}

}  // namespace quillet
