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
void StartAsThePdf(QPrinter& printer) {
  printer.setPageLayout(PageLayoutOf(PrintPaper{}));
  printer.setDocName(kPrintDocumentName);
}

}  // namespace

PrintHeader FrmMain::CurrentPrintHeader() const {
  const bool base = !session_.Slot(kBaseFile).name.empty();
  return {FileText(1), FileText(2), PrintDateTime(), base ? FileText(kBaseFile) : std::string()};
}

void FrmMain::PrintObjectList() { PrintFrom(this); }

bool FrmMain::PrintFrom(QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  StartAsThePdf(printer);
  if (!dialogs_.ChoosePrinter(parent, printer)) return false;
  printer.setDocName(kPrintDocumentName);
  // Every row is printed, whatever range the dialog offered.
  printer.setPrintRange(QPrinter::AllPages);
  int done = 0, total = 0;
  Result<PrintEnd> printed = PrintEnd::kPrinted;
  {
    const std::unique_ptr<WorkProgress> progress =
        dialogs_.StartProgress(parent, "Printing page %1 of %2");
    printed = PrintOn(printer, session_.list(), CurrentPrintHeader(), [&](int page, int pages) {
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
  QPrinter printer(QPrinter::HighResolution);
  StartAsThePdf(printer);
  // What printing with the dialog's first settings gives.
  const Printout printout(session_.list(), CurrentPrintHeader(), PaperOf(printer.pageLayout()));
  dialogs_.ShowPrintPreview(this, printout, [this](QWidget* parent) { return PrintFrom(parent); });
}

}  // namespace quillet
