// The window's printout: the command line's pages on every path, progress and Cancel, the base
// in the header, and a preview that holds only the pages in view.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QThread>
#include <algorithm>
#include <cmath>

#include "gen/generator.h"
#include "output/pdf_document.h"
#include "ui_support.h"
#include "view/print_preview.h"
#include "view/printout_painter.h"

namespace quillet {
namespace {

using test::Sample;
using test::Slurp;
using test::TestProgram;

// A file of `objects` generated objects in the test's folder.
QString Objects(const TestProgram& t, const QString& name, int objects) {
  gen::Options options;
  options.objects = objects;
  const QString path = t.Path(name);
  gen::WriteFile(path.toStdString(), gen::EncodeFile(gen::GenerateObjects(options), options));
  return path;
}

// Each page's text as pdftotext lays it out, the date and time of printing taken out; empty
// without pdftotext.
QStringList PdfPages(const QString& pdf) {
  QProcess process;
  process.start("pdftotext", {"-layout", pdf, "-"});
  process.waitForFinished();
  QString text = QString::fromUtf8(process.readAllStandardOutput());
  text.replace(QRegularExpression("(File #2: .*\\S)  +\\S+ - \\S+\n"), "\\1\n");
  QStringList pages = text.split('\f');
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// A word of a PDF and its place in points: its left edge, and its height below the page's first
// word. The fonts of two PDFs differ in how far their boxes reach above the baseline, so heights
// count from the first word.
struct PlacedWord {
  double x = 0;
  double down = 0;
  QString text;
};

// Each page's words in pdftotext's reading order; the date and time of printing left out. They
// are the last three words on the second line: pdftotext reads the right-aligned part of the
// header after the lines to its left.
QList<QList<PlacedWord>> PdfWords(const QString& pdf) {
  QProcess process;
  process.start("pdftotext", {"-bbox", pdf, "-"});
  process.waitForFinished();
  const QString text = QString::fromUtf8(process.readAllStandardOutput());
  const QRegularExpression word(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>([^<]*)</word>|<page )re");
  QList<QList<PlacedWord>> pages;
  QList<double> lines;  // the tops of the current page's lines, in the order they come
  const auto drop_date = [&] {
    if (pages.isEmpty() || lines.size() < 2) return;
    QList<PlacedWord>& page = pages.last();
    int dropped = 0;
    for (qsizetype i = page.size() - 1; i >= 0 && dropped < 3; --i) {
      if (page[i].down == lines[1] - lines[0]) page.removeAt(i), ++dropped;
    }
  };
  for (auto it = word.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    if (match.captured(1).isEmpty()) {
      drop_date();
      pages.append(QList<PlacedWord>());
      lines.clear();
      continue;
    }
    const double y = match.captured(2).toDouble();
    if (!lines.contains(y)) lines.append(y);
    pages.last().append({match.captured(1).toDouble(), y - lines.first(), match.captured(3)});
  }
  drop_date();
  return pages;
}

// The first word of `page` that stands elsewhere than in `expected` (by more than a rounding),
// or an empty text.
QString FirstMisplaced(const QList<PlacedWord>& page, const QList<PlacedWord>& expected) {
  for (qsizetype i = 0; i < std::max(page.size(), expected.size()); ++i) {
    if (i >= page.size() || i >= expected.size()) return QString("word %1 is missing").arg(i);
    const PlacedWord &a = page[i], &b = expected[i];
    if (a.text != b.text || std::abs(a.x - b.x) > 0.02 || std::abs(a.down - b.down) > 0.02) {
      return QString("'%1' at %2,%3 where '%4' is at %5,%6")
          .arg(a.text)
          .arg(a.x)
          .arg(a.down)
          .arg(b.text)
          .arg(b.x)
          .arg(b.down);
    }
  }
  return {};
}

bool HavePdftotext() {
  QProcess process;
  process.start("pdftotext", {"-v"});
  return process.waitForFinished() && process.exitCode() == 0;
}

TEST(Printout, TheWindowPrintsTheCommandLinesPagesOnEveryPath) {
  if (!HavePdftotext()) GTEST_SKIP() << "pdftotext is not installed";
  TestProgram t;
  const QString file = Objects(t, "list.fob", 150);
  t.main().LoadAndShowFile(file, 1);
  ASSERT_EQ(t.main().session().list().RowCount(), 133) << "TableData is not listed";
  // The command line's PDF of the same file.
  test::CliOutput({"list", file, "--pdf", t.Path("cli.pdf")});
  const QStringList cli = PdfPages(t.Path("cli.pdf"));
  ASSERT_EQ(cli.size(), 5) << "33 rows a page";

  // Saved as a PDF from the print dialog: the core's writer, with progress.
  t.dialogs.print_to = t.Path("window.pdf");
  t.main().tbMain_ButtonClick(Command::kPrint);
  // The dialog opens on the command line's paper, whatever the system's default paper is.
  ASSERT_EQ(t.dialogs.offered_papers.size(), 1);
  const PrintPaper offered = t.dialogs.offered_papers[0];
  EXPECT_EQ(std::vector<double>({offered.width, offered.height, offered.left, offered.top,
                                 offered.right, offered.bottom}),
            std::vector<double>({595, 842, 30, 36, 30, 36}));
  EXPECT_TRUE(t.dialogs.messages.isEmpty()) << t.dialogs.messages.join('\n').toStdString();
  EXPECT_EQ(PdfPages(t.Path("window.pdf")).join('\f').toStdString(), cli.join('\f').toStdString());
  EXPECT_EQ(t.dialogs.progress_texts, QStringList{"Printing page %1 of %2"});
  EXPECT_EQ(t.dialogs.progress, (QList<QPair<int, int>>{{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}}));

  // A printer, painted as the window paints one, set up as the window sets it up.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(t.Path("painted.pdf"));
  printer.setPageLayout(PageLayoutOf(PrintPaper{}));
  const PrintPaper paper = PaperOf(printer.pageLayout());
  EXPECT_EQ(std::vector<double>(
                {paper.width, paper.height, paper.left, paper.top, paper.right, paper.bottom}),
            std::vector<double>({595, 842, 30, 36, 30, 36}));
  const ListPrintout printout(t.main().session().list(),
                              {ToWindows1252(file), "no file", PrintDateTime()}, paper);
  const Result<PrintEnd> painted = PaintPrintout(printer, printout, {});
  ASSERT_TRUE(painted.ok()) << painted.error();
  EXPECT_EQ(*painted, PrintEnd::kPrinted);
  const QList<QList<PlacedWord>> words = PdfWords(t.Path("painted.pdf"));
  const QList<QList<PlacedWord>> cli_words = PdfWords(t.Path("cli.pdf"));
  ASSERT_EQ(words.size(), cli.size());
  ASSERT_EQ(cli_words.size(), cli.size());
  for (int page = 0; page < words.size(); ++page) {
    EXPECT_GT(words[page].size(), 10);
    EXPECT_EQ(FirstMisplaced(words[page], cli_words[page]).toStdString(), "") << page;
  }

  // The preview lays out the same pages and the painter draws them in the same places.
  t.dialogs.print_to = t.Path("preview.pdf");
  t.main().tbMain_ButtonClick(Command::kPrintPreview);
  EXPECT_EQ(t.dialogs.previewed_pages, QList<int>{5});
  const QList<QList<PlacedWord>> previewed = PdfWords(t.Path("preview.pdf"));
  ASSERT_EQ(previewed.size(), cli.size());
  for (int page = 0; page < previewed.size(); ++page) {
    EXPECT_EQ(FirstMisplaced(previewed[page], cli_words[page]).toStdString(), "") << page;
  }
}

TEST(Printout, CancellingLeavesNothingThatLooksPrinted) {
  TestProgram t;
  t.main().LoadAndShowFile(Objects(t, "list.fob", 150), 1);
  {
    QFile old(t.Path("out.pdf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("the old printout") == 16);
  }
  t.dialogs.print_to = t.Path("out.pdf");
  t.dialogs.cancel_at = 2;
  t.main().tbMain_ButtonClick(Command::kPrint);
  EXPECT_EQ(t.dialogs.progress, (QList<QPair<int, int>>{{1, 5}, {2, 5}}));
  // The user asked for it: no message, and the file is as it was, with nothing beside it.
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
  EXPECT_EQ(Slurp(t.Path("out.pdf")), "the old printout");
  EXPECT_EQ(QDir(t.Path("")).entryList({"out.pdf*", ".out.pdf*"}, QDir::Files | QDir::Hidden),
            QStringList{"out.pdf"});

  // A printer that has been handed pages cannot be made to forget them: the end says so.
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(t.Path("painted.pdf"));
  const ListPrintout printout(t.main().session().list(), {"a", "b", "now"},
                              PaperOf(printer.pageLayout()));
  int pages = 0;
  const Result<PrintEnd> painted = PaintPrintout(printer, printout, [&](int done, int) {
    pages = done;
    return done < 2;
  });
  ASSERT_TRUE(painted.ok()) << painted.error();
  EXPECT_EQ(*painted, PrintEnd::kCancelledPartly);
  EXPECT_EQ(pages, 2);
}

TEST(Printout, APdfThatCannotBeWrittenWholeIsReportedAndKeepsTheOldFile) {
  TestProgram t;
  t.main().LoadAndShowFile(Objects(t, "list.fob", 150), 1);  // about 30 KB of PDF
  const QString small = t.Path("small");
  QDir().mkdir(small);
  if (geteuid() != 0 ||
      QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=8k", "tmpfs", small}) != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  }
  struct Unmount {
    QString path;
    ~Unmount() { QProcess::execute("umount", {path}); }
  } unmount{small};
  const QString target = small + "/Liste \u00e9t\u00e9.pdf";
  {
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("the old printout") == 16);
  }
  t.dialogs.print_to = target;
  t.main().tbMain_ButtonClick(Command::kPrint);
  EXPECT_EQ(t.dialogs.messages,
            QStringList{"Unable to print: cannot write " + target + ": no space left on device"});
  EXPECT_EQ(Slurp(target), "the old printout");
  EXPECT_EQ(QDir(small).entryList(QDir::Files | QDir::Hidden),
            QStringList{"Liste \u00e9t\u00e9.pdf"});
}

TEST(Printout, TheProgressShowsAfterAMomentAndItsCancelStopsTheWork) {
  QtUserDialogs dialogs;
  QWidget window;
  const std::unique_ptr<WorkProgress> progress =
      dialogs.StartProgress(&window, "Printing page %1 of %2");
  const auto shown = [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<QProgressDialog*>(widget); dialog && dialog->isVisible()) {
        return dialog;
      }
    }
    return static_cast<QProgressDialog*>(nullptr);
  };
  ASSERT_TRUE(progress->Advance(1, 100));
  EXPECT_EQ(shown(), nullptr) << "a short print shows nothing";
  int page = 1;
  while (shown() == nullptr && page < 60) {
    QThread::msleep(20);
    ASSERT_TRUE(progress->Advance(++page, 100));
  }
  QProgressDialog* dialog = shown();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isModal());
  EXPECT_TRUE(dialog->labelText().startsWith("Printing page "))
      << dialog->labelText().toStdString();
  EXPECT_TRUE(dialog->labelText().endsWith(" of 100"));
  dialog->findChild<QPushButton*>()->click();
  bool going_on = true;
  for (int i = 0; i < 10 && going_on; ++i) {
    QThread::msleep(20);
    going_on = progress->Advance(++page, 100);
  }
  EXPECT_FALSE(going_on) << "Cancel stops the work";
}

TEST(Printout, TheHeaderNamesTheBaseWhenOneIsLoaded) {
  if (!HavePdftotext()) GTEST_SKIP() << "pdftotext is not installed";
  TestProgram t(Sample("sample.fob"));
  t.dialogs.print_to = t.Path("without.pdf");
  t.main().tbMain_ButtonClick(Command::kPrint);
  EXPECT_FALSE(PdfPages(t.Path("without.pdf")).join("").contains("Base:"));

  t.main().LoadAndShowFile(Sample("sample-changed.fbk"), kBaseFile);
  t.dialogs.print_to = t.Path("with.pdf");
  t.main().tbMain_ButtonClick(Command::kPrint);
  const QStringList pages = PdfPages(t.Path("with.pdf"));
  ASSERT_EQ(pages.size(), 2);
  for (const QString& page : pages) {
    EXPECT_TRUE(page.contains("Base:    " + Sample("sample-changed.fbk").right(55)))
        << page.toStdString();
  }
  // The command line's comparison with a base names it in the same place.
  test::CliOutput({"compare", "--base=" + Sample("sample-changed.fbk"), Sample("sample.fob"),
                   Sample("sample-changed.fbk"), "--pdf", t.Path("cli.pdf")});
  const QStringList cli = PdfPages(t.Path("cli.pdf"));
  ASSERT_FALSE(cli.isEmpty());
  EXPECT_TRUE(cli[0].contains(QRegularExpression(
      "File #2: \\S+sample-changed.fbk\\s*\\n\\s*Base:    \\S+sample-changed.fbk\\s*\\n")))
      << cli[0].toStdString();
}

TEST(PrintPreview, HoldsOnlyThePagesInViewAndNoneOnceClosed) {
  TestProgram t;
  t.main().LoadAndShowFile(Objects(t, "list.fob", 3000), 1);
  const ListPrintout printout(t.main().session().list(), {"a", "b", "now"});
  const int last = printout.PageCount() - 1;
  ASSERT_GT(last, 50);
  PrintPreview preview(printout, {});
  preview.show();
  const QImage first = preview.grab().toImage();
  EXPECT_GE(preview.HeldPages(), 1u);
  EXPECT_LE(preview.HeldPages(), 6u);
  // Text stands on the first page: dark pixels in its upper part.
  int dark = 0;
  for (int y = first.height() / 8; y < first.height() / 3; ++y) {
    for (int x = 0; x < first.width(); ++x) dark += qGray(first.pixel(x, y)) < 100;
  }
  EXPECT_GT(dark, 200);

  preview.ShowPage(last);
  preview.grab();
  EXPECT_EQ(preview.CurrentPage(), last);
  EXPECT_EQ(preview.findChild<QSpinBox*>("previewPage")->value(), last + 1);
  EXPECT_LE(preview.HeldPages(), 6u) << "the pages scrolled past are given back";
  preview.hide();
  EXPECT_EQ(preview.HeldPages(), 0u);
}

TEST(PrintPreview, PrintingFromThePreviewPrintsTheList) {
  TestProgram t(Sample("sample.fob"));
  t.dialogs.print_to = t.Path("out.pdf");
  t.dialogs.print_from_preview = true;
  t.main().tbMain_ButtonClick(Command::kPrintPreview);
  EXPECT_EQ(t.dialogs.previewed_pages, QList<int>{2});
  EXPECT_EQ(t.dialogs.progress.size(), 2) << "the print ran, page by page";
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

}  // namespace
}  // namespace quillet
