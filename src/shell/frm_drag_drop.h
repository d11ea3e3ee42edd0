#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QUrl>

class QLabel;
class QMimeData;
class QPushButton;

namespace quillet {

class FrmMain;
class UserDialogs;

// Asks whether a dropped file becomes file #1 or file #2. A new one opens for every accepted
// drop and keeps its own file name, so two of them never mix up their files. Modeless; it
// deletes itself when closed.
class FrmDragDrop final : public QDialog {
  Q_OBJECT

 public:
  FrmDragDrop(FrmMain& main, QString file_name);

  // The dropped file, whole, however long its path.
  const QString& FileName() const { return file_name_; }

  void cmdLoadAs1_Click();
  void cmdLoadAs2_Click();
  void cmdLoadCancel_Click();

 private:
  void frmdragdrop_Load();
  void LoadAs(int file);

  FrmMain& main_;
  QString file_name_;
  QLabel* lbl1_ = nullptr;
  QPushButton* cmdLoadAs1_ = nullptr;
  QPushButton* cmdLoadAs2_ = nullptr;
  QPushButton* cmdLoadAsBase_ = nullptr;
  QPushButton* cmdLoadCancel_ = nullptr;
};

// Whether the window takes a drag: local files only. Several files are taken too, so that the
// drop can say it wants one.
bool AcceptsDrag(const QMimeData* mime_data);

// A drop on the main window: one .fob or .fbk file opens the load-as dialog, which is returned;
// three or more open the dialog that offers to compare them across (null is returned); two
// files or another type get their message and null.
FrmDragDrop* HandleDroppedUrls(FrmMain& main, UserDialogs& dialogs, const QList<QUrl>& urls);

}  // namespace quillet
