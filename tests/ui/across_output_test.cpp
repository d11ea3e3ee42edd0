// The comparison across many files in the window: how it starts (the command line, a drop of
// three or more files), and Save, Copy and Print of the matrix.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>

#include "across_support.h"
#include "output/format_table.h"
#include "shell/command_line.h"
#include "shell/frm_drag_drop.h"
#include "shell/frm_drop_many.h"

namespace quillet {
namespace {

using test::Across;
using test::TestProgram;

TEST(AcrossWindow, TheCommandLineAndADropOfThreeFilesStartIt) {
  Across t;
  const QString notes = t.Path("notes.txt");
  QFile(notes).open(QIODevice::WriteOnly);
  const struct {
    std::vector<NativeText> arguments;
    CommandLine::Kind kind;
  } cases[] = {
      {{"--across", "a.fob", "b.fbk", "c.fob"}, CommandLine::Kind::kManyFiles},
      {{"--across", "a.fob", "/dev/null"}, CommandLine::Kind::kManyFiles},
      {{"--across", "a.fob"}, CommandLine::Kind::kInvalid},
      {{"--across", "a.fob", ToPath(notes).native()}, CommandLine::Kind::kInvalid},
  };
  for (const auto& c : cases) {
    const CommandLine line = ReadCommandLine(c.arguments);
    EXPECT_EQ(line.kind, c.kind) << c.arguments.back();
    if (c.kind == CommandLine::Kind::kManyFiles) {
      EXPECT_EQ(line.files.size(), c.arguments.size() - 1);
      EXPECT_EQ(line.files.front(), "a.fob");
    }
  }

  TestProgram started(QStringList{"--across", t.names[0], t.names[2], t.names[3]});
  ASSERT_TRUE(started.main().session().AcrossShown());
  EXPECT_EQ(started.main().session().across()->FileCount(), 3);
  EXPECT_EQ(started.main().session().across()->File(2).name, ToPath(t.names[3]));

  const auto drop = [&](const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    return HandleDroppedUrls(t.main(), t.dialogs, urls);
  };
  EXPECT_EQ(drop({t.names[0], t.names[1], notes}), nullptr);
  EXPECT_EQ(t.dialogs.messages, QStringList{kInvalidFileTypeMessage});
  EXPECT_TRUE(t.main().findChildren<FrmDropMany*>().isEmpty());
  EXPECT_EQ(drop(t.names), nullptr);
  FrmDropMany* offered = t.main().findChild<FrmDropMany*>();
  ASSERT_NE(offered, nullptr);
  EXPECT_TRUE(offered->findChild<QLabel*>("lbl1")->text().startsWith("Compare these 4 files"));
  offered->findChild<QPushButton*>("cmdCompareCancel")->click();
  EXPECT_EQ(t.main().session().across(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  drop(t.names.mid(1));
  t.main().findChild<FrmDropMany*>()->findChild<QPushButton*>("cmdCompareMany")->click();
  ASSERT_TRUE(t.main().session().AcrossShown());
  EXPECT_EQ(t.Matrix().FileCount(), 3);
  EXPECT_EQ(t.Letters(t.RowOf(t.renamed)), QStringList({"A", "B", "A"}));
}

// Keeps what Save and Copy hand on; the output layer's writers are tested on their own.
struct Recorder final : AcrossRowsWriter {
  Status Write(const std::filesystem::path& path, ListFormat format,
               const AcrossSaveContext& context, const AcrossRows& rows) override {
    Keep(format, context, rows);
    paths.push_back(path);
    if (!refusal.empty()) return Fail(refusal);
    return Ok();
  }
  Result<std::string> Text(ListFormat format, const AcrossSaveContext& context,
                           const AcrossRows& rows) override {
    Keep(format, context, rows);
    return std::string(format == ListFormat::kTsv ? "tsv" : "csv");
  }
  void Keep(ListFormat format, const AcrossSaveContext& context, const AcrossRows& rows) {
    struct Keys final : AcrossVisitor {
      bool Row(const AcrossRow& row) override {
        keys.emplace_back(row.key, row.instance);
        return true;
      }
      std::vector<std::pair<int, int>> keys;
    } keys;
    rows(keys);
    formats.push_back(format);
    files = context.files;
    written.push_back(std::move(keys.keys));
  }
  std::vector<ListFormat> formats;
  std::vector<std::filesystem::path> paths, files;
  std::vector<std::vector<std::pair<int, int>>> written;
  std::string refusal;
};

TEST(AcrossWindow, SaveCopyAndPrintTakeTheMatrixAsShown) {
  Across t;
  Recorder recorder;
  t.main().SetAcrossWriter(recorder);
  t.Open();
  t.Pane().findChild<QToolButton*>("show_same")->click();
  t.Pane().matrix().header()->sectionClicked(kAcrossFirstFileColumn + 1);
  std::vector<std::pair<int, int>> shown;
  for (int row = 0; row < t.Rows(); ++row) {
    shown.emplace_back(t.Matrix().Row(row).key, t.Matrix().Row(row).instance);
  }

  t.dialogs.save_answer = t.Path("matrix.csv");
  t.dialogs.save_filter = -1;  // every file: the extension decides
  t.main().tbMain_ButtonClick(Command::kSave);
  ASSERT_EQ(recorder.written.size(), 1u);
  EXPECT_EQ(recorder.written[0], shown);
  EXPECT_EQ(recorder.formats[0], ListFormat::kCsv);
  EXPECT_EQ(recorder.paths[0], ToPath(t.Path("matrix.csv")));
  ASSERT_EQ(recorder.files.size(), 4u);
  EXPECT_EQ(recorder.files[3], ToPath(t.names[3]));

  recorder.refusal = "no space left on device";
  t.main().tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(t.dialogs.messages.back(),
            "Unable to save the file\n" + t.Path("matrix.csv") + ": no space left on device");

  // Copy takes the rows of the chosen cells, in the shown order, as TSV and CSV.
  t.Choose(4, {0});
  t.Pane().matrix().selectionModel()->select(t.Model().index(1, 2), QItemSelectionModel::Select);
  QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
  QCoreApplication::sendEvent(&t.Pane().matrix(), &copy);
  ASSERT_EQ(recorder.written.size(), 4u);
  EXPECT_EQ(recorder.written[2], (std::vector{shown[1], shown[4]}));
  EXPECT_EQ(recorder.formats[2], ListFormat::kTsv);
  EXPECT_EQ(recorder.formats[3], ListFormat::kCsv);
  EXPECT_EQ(QApplication::clipboard()->mimeData()->text(), "tsv");

  // Nothing listed: nothing is written.
  t.main().SetFilterText("name:\"no such name at all\"");
  ASSERT_EQ(t.Rows(), 0);
  t.main().tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(t.dialogs.messages.back(), "The list is empty");
  EXPECT_EQ(recorder.written.size(), 4u);
  t.main().SetFilterText("");

  // The printout names the files by number and holds every row.
  for (const Command command : {Command::kPrint, Command::kPrintPreview}) {
    t.dialogs.print_to = t.Path(command == Command::kPrint ? "printed.pdf" : "preview.pdf");
    t.main().tbMain_ButtonClick(command);
    QProcess text;
    text.start("pdftotext", {"-layout", t.dialogs.print_to, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains("Comparison across 4 files")) << printed.toStdString();
    EXPECT_TRUE(printed.contains("4 " + t.names[3])) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QString::fromStdString(t.renamed.id).trimmed()));
  }
  EXPECT_EQ(t.dialogs.messages.size(), 2);
}

// The Save dialog's every format writes the rows across files.
TEST(AcrossWindow, TheBuiltInWriterSavesEveryFormat) {
  Across t;
  t.Open();
  for (const ListFormat format : SavedFormats()) {
    const std::string extension(InfoOf(format).extension);
    const QString name = t.Path(QString::fromStdString("saved." + extension));
    t.main().SaveMatrix({name, format});
    const QByteArray saved = test::Slurp(name);
    EXPECT_FALSE(saved.isEmpty()) << extension;
    if (format == ListFormat::kCsv) {
      EXPECT_TRUE(saved.startsWith("Type,ID,Name,Variants,")) << saved.left(80).toStdString();
      EXPECT_EQ(saved.count("\r\n"), 1 + t.Rows());
    }
  }
  EXPECT_TRUE(t.dialogs.messages.isEmpty()) << t.dialogs.messages.join('\n').toStdString();
}

}  // namespace
}  // namespace quillet
