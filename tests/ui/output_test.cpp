#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractItemModel>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include "shell/frm_main.h"
#include "shell/toolbar_entries.h"
#include "ui_support.h"
#include "view/object_list_model.h"

namespace quillet {
namespace {

using test::Sample;
using test::Slurp;
using test::TestProgram;

bool Spit(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(Save, WritesTheListAsShown) {
  TestProgram t(Sample("sample.fob"));
  t.dialogs.save_answer = t.Path("list");  // every file: used as typed, nothing appended
  t.dialogs.save_filter = 6;
  t.main().tbMain_ButtonClick(Command::kSave);
  ASSERT_EQ(t.dialogs.save_calls.size(), 1);
  EXPECT_EQ(t.dialogs.save_calls[0],
            (QStringList{"Save object list...",
                         "Text files (*.txt)|*.txt|CSV files (*.csv)|*.csv|JSON files "
                         "(*.json)|*.json|HTML reports (*.html)|*.html|Tab-separated text "
                         "(*.tsv)|*.tsv|Spreadsheets (*.xlsx)|*.xlsx|All files (*.*)|*.*",
                         ""}));
  EXPECT_EQ(Slurp(t.Path("list")), Slurp(QString(QUILLET_TEST_DATA) + "/sample.fob.list"));
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
  EXPECT_EQ(test::Progress(t.main()), 0);
  EXPECT_EQ(t.main().settings().last_file_saved, t.Path("list"));

  // Sorted by name descending, the lines follow the list's new order.
  t.main().lvMain_ColumnClick(Column::kName);
  t.main().lvMain_ColumnClick(Column::kName);
  t.main().tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(t.dialogs.save_calls[1][2], t.Path("list"));
  const QList<QByteArray> lines = Slurp(t.Path("list")).split('\n');
  ASSERT_EQ(lines.size(), 54);  // 53 lines and nothing after the last line end
  const QAbstractItemModel* model = test::ListModel(t.main());
  for (int row = 0; row < 53; ++row) {
    const QString id = model->data(model->index(row, 2)).toString().trimmed();
    ASSERT_EQ(lines[row].split(',').value(2), "\"" + id.toLatin1() + "\"") << row;
  }
}

TEST(Save, AnEmptyListOrACancelTouchesNothing) {
  TestProgram t;
  ASSERT_TRUE(Spit(t.Path("old.txt"), "old"));
  t.dialogs.save_answer = "";
  t.main().tbMain_ButtonClick(Command::kSave);
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
  EXPECT_EQ(t.main().settings().last_file_saved, "");

  t.dialogs.save_answer = t.Path("old.txt");
  t.main().tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(t.dialogs.messages, QStringList{"The list is empty"});
  EXPECT_EQ(Slurp(t.Path("old.txt")), "old");
  EXPECT_EQ(t.main().settings().last_file_saved, t.Path("old.txt"));
}

// A name in a message is shown with its control characters escaped: a line end in it cannot
// pass for the message's own.
TEST(Save, AFailedSaveNamesTheFileEscaped) {
  TestProgram t(Sample("sample.fob"));
  QDir().mkdir(t.Path("two\nlines\x1b[1m.txt"));
  t.dialogs.save_answer = t.Path("two\nlines\x1b[1m.txt");
  t.main().tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(t.dialogs.messages,
            QStringList{"Unable to save the file\n" + t.Path("two\\nlines\\x1b[1m.txt") +
                        ": it is a folder"});
}

TEST(Save, AFailedSaveLeavesTheOldFileAlone) {
  TestProgram t(Sample("sample.fob"));
  QDir().mkdir(t.Path("folder.txt"));
  t.dialogs.save_answer = t.Path("folder.txt");
  t.main().tbMain_ButtonClick(Command::kSave);
  // The message users know, and below it why.
  EXPECT_EQ(t.dialogs.messages,
            QStringList{"Unable to save the file\n" + t.Path("folder.txt") + ": it is a folder"});
  EXPECT_TRUE(QFileInfo(t.Path("folder.txt")).isDir());
  EXPECT_EQ(test::Progress(t.main()), 0);

  // A disk that fills up part-way: a small file system of its own.
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
  const QString target = small + "/list.txt";
  ASSERT_TRUE(Spit(target, "the old list\r\n"));
  t.main().LoadAndShowFile(Sample("sample-changed.fbk"), 2);  // about 11 KB of lines
  t.dialogs.messages.clear();
  t.dialogs.save_answer = target;
  t.main().tbMain_ButtonClick(Command::kSave);
  EXPECT_EQ(t.dialogs.messages,
            QStringList{"Unable to save the file\n" + target + ": no space left on device"});
  EXPECT_EQ(Slurp(target), "the old list\r\n");
  EXPECT_EQ(QDir(small).entryList(QDir::Files | QDir::Hidden), QStringList{"list.txt"});
}

QString PdfText(const QString& pdf) {
  QProcess process;
  process.start("pdftotext", {"-layout", pdf, "-"});
  process.waitForFinished();
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(Print, PrintsEveryRowWithItsHeaders) {
  TestProgram t(Sample("sample.fob"));
  t.dialogs.print_to = t.Path("out.pdf");
  t.main().tbMain_ButtonClick(Command::kPrint);
  const QString text = PdfText(t.Path("out.pdf"));
  if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
  EXPECT_TRUE(text.contains("File #1: " + Sample("sample.fob").right(55)));
  EXPECT_TRUE(text.contains("File #2: no file"));
  EXPECT_TRUE(text.contains("Page 1"));
  EXPECT_TRUE(text.contains("Page 2"));  // 53 rows do not fit on one page
  EXPECT_TRUE(text.contains("# Type              ID Name / Version"));
  EXPECT_TRUE(text.contains(
      QRegularExpression(R"(1 Table\s+55 Buffer Caf. +1990-07-13 00:52:31\s+726069)")));
  EXPECT_TRUE(text.contains("CUST8.75,LOC4.45"));
  EXPECT_TRUE(text.contains("MenuSuite"));  // the last rows too, whatever range was chosen

  // Cancelling the dialog prints nothing.
  t.dialogs.print_to.clear();
  t.main().tbMain_ButtonClick(Command::kPrint);
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
}

TEST(Print, PreviewShowsTheSamePages) {
  TestProgram t;
  t.dialogs.print_to = t.Path("preview.pdf");
  t.main().PreviewObjectList();
  const QString text = PdfText(t.Path("preview.pdf"));
  if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
  EXPECT_TRUE(text.contains("Page 1"));  // an empty list still has its header page
  EXPECT_FALSE(text.contains("Page 2"));
}

}  // namespace
}  // namespace quillet
