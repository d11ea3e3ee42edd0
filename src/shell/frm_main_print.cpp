// The main window's printout: the print dialog, the printing with its progress, and the preview.
#include <QPrinter>

#include "shell/frm_main.h"
#include "view/printout_painter.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr const char* kPrintDocumentName = "Quillet object list";

// A printer set up as the command line's PDF is: the same paper and margins, so the same pages,
// until the user chooses others in the print dialog.
void StartAsThePdf(QPrinter& printer, const QString& name) {
  printer.setPageLayout(PageLayoutOf(PrintPaper{}));
  printer.setDocName(name);
}

}  // namespace

PrintHeader FrmMain::CurrentPrintHeader() const {
  const bool base = !session_.Slot(kBaseFile).name.empty();
  return {FileText(1), FileText(2), PrintDateTime(), base ? FileText(kBaseFile) : std::string()};
}

std::unique_ptr<Printout> FrmMain::ListPrintoutOn(const PrintPaper& paper) const {
  return std::make_unique<ListPrintout>(session_.list(), CurrentPrintHeader(), paper);
}

void FrmMain::PrintObjectList() {
  PrintFrom(
      this, [this](const PrintPaper& paper) { return ListPrintoutOn(paper); }, kPrintDocumentName);
}

bool FrmMain::PrintFrom(QWidget* parent, const PrintoutOn& printout, const QString& name) {
  QPrinter printer(QPrinter::HighResolution);
  StartAsThePdf(printer, name);
  if (!dialogs_.ChoosePrinter(parent, printer)) return false;
  printer.setDocName(name);
  // Every row is printed, whatever range the dialog offered.
  printer.setPrintRange(QPrinter::AllPages);
  int done = 0, total = 0;
  Result<PrintEnd> printed = PrintEnd::kPrinted;
  {
    const std::unique_ptr<WorkProgress> progress =
        dialogs_.StartProgress(parent, "Printing page %1 of %2");
    printed = PrintOn(printer, *printout(PaperOf(printer.pageLayout())), [&](int page, int pages) {
      done = page;
      total = pages;
      return progress == nullptr || progress->Advance(page, pages);
    });
  }
  if (!printed) {
    dialogs_.ShowMessage(
        parent, "Unable to print: " + ShownInMessage(QString::fromStdString(printed.error())));
  } else if (*printed == PrintEnd::kCancelledPartly) {
    // Not a printout the user can take for the whole list.
    dialogs_.ShowMessage(parent, QString("Printing cancelled after page %1 of %2: the printer "
                                         "cannot take back the pages it was sent")
                                     .arg(done)
                                     .arg(total));
  }
  return true;
}

void FrmMain::PreviewObjectList() {
  PreviewOf([this](const PrintPaper& paper) { return ListPrintoutOn(paper); }, kPrintDocumentName);
}

void FrmMain::PreviewOf(const PrintoutOn& printout, const QString& name) {
  QPrinter printer(QPrinter::HighResolution);
  StartAsThePdf(printer, name);
  const std::unique_ptr<Printout> pages = printout(PaperOf(printer.pageLayout()));
  dialogs_.ShowPrintPreview(this, *pages, [this, printout, name](QWidget* parent) {
    return PrintFrom(parent, printout, name);
  });
}

}  // namespace quillet
