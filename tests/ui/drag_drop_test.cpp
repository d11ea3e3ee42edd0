#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>

#include "shell/frm_drag_drop.h"
#include "shell/frm_main.h"
#include "ui_support.h"
#include "view/object_list_model.h"

namespace quillet {
namespace {

using test::Sample;
using test::TestProgram;

constexpr const char* kMultiple = "Multiple files not supported";
constexpr const char* kInvalid = "Invalid file type. Supported file types: .fbk, .fob";

int Rows(FrmMain& main) { return main.session().list().RowCount(); }

QPushButton* Button(QWidget* dialog, const char* name) {
  return dialog->findChild<QPushButton*>(name);
}

// Copies a sample to `name` in the test's folder.
QString Copy(TestProgram& t, const QString& sample, const QString& name) {
  QString path = t.Path(name);
  QDir().mkpath(QFileInfo(path).absolutePath());
  EXPECT_TRUE(QFile::copy(Sample(sample), path));
  return path;
}

FrmDragDrop* Drop(TestProgram& t, const QStringList& paths) {
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  return HandleDroppedUrls(t.main(), t.dialogs, urls);
}

// A closed dialog deletes itself at the next chance the event loop gets; without a running
// loop that may already be inside its own button's handler.
bool Gone(QPointer<FrmDragDrop>& dialog) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return dialog.isNull();
}

TEST(DroppedFiles, OnlyLocalFilesAreTaken) {
  QMimeData one, two, web, text;
  one.setUrls({QUrl::fromLocalFile("/tmp/a.fob")});
  two.setUrls({QUrl::fromLocalFile("/tmp/a.fob"), QUrl::fromLocalFile("/tmp/b.fob")});
  web.setUrls({QUrl("https://www.quillet.example/a.fob")});
  text.setText("/tmp/a.fob");
  EXPECT_TRUE(AcceptsDrag(&one));
  EXPECT_TRUE(AcceptsDrag(&two));  // taken, to be refused with a message
  EXPECT_FALSE(AcceptsDrag(&web));
  EXPECT_FALSE(AcceptsDrag(&text));
  EXPECT_FALSE(AcceptsDrag(nullptr));
}

TEST(DroppedFiles, OneFileLoadsAsFileTwo) {
  TestProgram t;
  FrmMain& main = t.main();
  const QString path = Copy(t, "sample.fob", "X.FOB");
  QPointer<FrmDragDrop> dialog = Drop(t, {path});
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(dialog->FileName(), path);
  EXPECT_TRUE(t.dialogs.messages.isEmpty());
  EXPECT_EQ(Rows(main), 0);  // nothing is read before a button says where
  // The client area ends one left margin right of and below Cancel.
  const QPushButton* first = Button(dialog, "cmdLoadAs1");
  const QPushButton* cancel = Button(dialog, "cmdLoadCancel");
  ASSERT_TRUE(first && cancel && Button(dialog, "cmdLoadAs2"));
  const int margin = first->x();
  EXPECT_GT(margin, 0);
  EXPECT_EQ(dialog->width(), cancel->x() + cancel->width() + margin);
  EXPECT_EQ(dialog->height(), cancel->y() + cancel->height() + margin);

  Button(dialog, "cmdLoadAs2")->click();
  EXPECT_TRUE(Gone(dialog));
  EXPECT_EQ(Rows(main), 53);
  EXPECT_EQ(test::PanelText(main, Panel::kFile2), path);
  EXPECT_EQ(test::PanelText(main, Panel::kFile1), "no file");
  EXPECT_EQ(test::ListModel(main)->data(test::ListModel(main)->index(0, 0)).toString(), "  ");
  EXPECT_EQ(test::PanelText(main, Panel::kCount), "Count: 53");
  EXPECT_EQ(main.settings().last_file2, "");  // the open dialog's memory is its own
}

TEST(DroppedFiles, LowerCaseBackupAndLongPathsLoadAsFileOne) {
  TestProgram t;
  // Well past 254 characters: the whole name must arrive.
  QString folder;
  for (int level = 0; level < 6; ++level) folder += QString(50, QChar('a' + level)) + "/";
  const QString path = Copy(t, "sample-changed.fbk", folder + "x.fbk");
  ASSERT_GT(path.size(), 300);
  QPointer<FrmDragDrop> dialog = Drop(t, {path});
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->FileName(), path);
  dialog->cmdLoadAs1_Click();
  EXPECT_EQ(test::PanelText(t.main(), Panel::kFile1), path);
  EXPECT_GT(Rows(t.main()), 0);
  EXPECT_EQ(t.main().settings().last_file1, "");
}

TEST(DroppedFiles, WrongDropsAreRefused) {
  TestProgram t(Sample("sample.fob"));
  const QString a = Copy(t, "sample.fob", "a.fob"), b = Copy(t, "sample.fob", "b.fob");
  const QString notes = Copy(t, "sample.fob", "notes.txt");
  const QString tricky = Copy(t, "sample.fob", "x.fob.txt");
  EXPECT_EQ(Drop(t, {a, b}), nullptr);
  EXPECT_EQ(Drop(t, {notes}), nullptr);
  EXPECT_EQ(Drop(t, {tricky}), nullptr);
  EXPECT_EQ(Drop(t, {}), nullptr);
  EXPECT_EQ(t.dialogs.messages, QStringList({kMultiple, kInvalid, kInvalid}));
  EXPECT_TRUE(t.main().findChildren<FrmDragDrop*>().isEmpty());
  EXPECT_EQ(Rows(t.main()), 53);
  EXPECT_EQ(test::PanelText(t.main(), Panel::kFile2), "no file");
}

TEST(DroppedFiles, CancelAndTheCloseBoxLoadNothing) {
  TestProgram t(Sample("sample.fob"));
  FrmMain& main = t.main();
  main.LoadAndShowFile(Sample("sample-changed.fbk"), 2);
  const int rows = Rows(main);
  const QString path = Copy(t, "sample.fob", "c.fob");
  QPointer<FrmDragDrop> cancelled = Drop(t, {path});
  ASSERT_TRUE(cancelled);
  Button(cancelled, "cmdLoadCancel")->click();
  QPointer<FrmDragDrop> closed = Drop(t, {path});
  ASSERT_TRUE(closed);
  closed->close();
  EXPECT_TRUE(Gone(cancelled));
  EXPECT_TRUE(Gone(closed));
  EXPECT_EQ(Rows(main), rows);
  EXPECT_EQ(test::PanelText(main, Panel::kFile1), Sample("sample.fob"));
  EXPECT_EQ(test::PanelText(main, Panel::kFile2), Sample("sample-changed.fbk"));
}

TEST(DroppedFiles, EachDialogLoadsItsOwnFile) {
  TestProgram t;
  const QString first = Copy(t, "sample.fob", "first.fob");
  const QString second = Copy(t, "sample-changed.fbk", "second.fbk");
  QPointer<FrmDragDrop> one = Drop(t, {first});
  QPointer<FrmDragDrop> two = Drop(t, {second});
  ASSERT_TRUE(one && two);
  // The second stands below and right of the first, so both can be seen.
  EXPECT_GT(two->x(), one->x());
  EXPECT_GT(two->y(), one->y());
  one->cmdLoadAs1_Click();
  two->cmdLoadAs2_Click();
  EXPECT_EQ(test::PanelText(t.main(), Panel::kFile1), first);
  EXPECT_EQ(test::PanelText(t.main(), Panel::kFile2), second);
}

TEST(DroppedFiles, AFileGoneSinceTheDropListsNothingTwice) {
  TestProgram t(Sample("sample.fob"));
  const QString path = Copy(t, "sample.fob", "gone.fob");
  QPointer<FrmDragDrop> dialog = Drop(t, {path});
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(QFile::remove(path));
  dialog->cmdLoadAs1_Click();  // file #1 still holds the sample's objects
  EXPECT_EQ(Rows(t.main()), 53);
  EXPECT_TRUE(Gone(dialog));
}

}  // namespace
}  // namespace quillet
