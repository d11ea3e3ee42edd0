#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

#include "commands/session.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QToolButton;

namespace quillet {

class AcrossDetailsView;
class AcrossMatrixModel;
class ObjectListView;

// What the window shows of a comparison across many files: above, a toggle per status with
// its count ("Differs 120") and the offer to show the changes between two files; the matrix;
// under it the details of the current row. Cells of two files' columns chosen offer "Show
// changes between these two files".
class AcrossPane final : public QWidget {
  Q_OBJECT

 public:
  // What the pane asks of the window with the rows chosen (shown rows, from 0, in order).
  struct Hooks {
    std::function<void(const std::vector<int>& rows)> copy_rows;
    std::function<void(const std::vector<int>& rows)> save_rows;
  };
  AcrossPane(Session& session, Hooks hooks, QWidget* parent);

  // The counts, the toggles and the columns as the session's matrix is now.
  void Draw();
  // The rows with a chosen cell, from 0, in the shown order.
  std::vector<int> SelectedRows() const;
  // The files (from 0, ascending) whose columns hold a chosen cell.
  std::vector<int> ChosenFiles() const;
  // The two files to compare, when exactly two are chosen.
  bool OffersChanges() const { return ChosenFiles().size() == 2; }
  // The counts as the toggles show them: "Differs 120 · Same 19880".
  QString CountsText() const;
  // The menu on the rows, as it would open.
  QMenu* RowMenu();

  ObjectListView& matrix() { return *matrix_; }
  AcrossMatrixModel& model() { return *model_; }
  AcrossDetailsView& details() { return *details_; }
  QAction* show_changes_action() const { return show_changes_; }

 signals:
  // The statuses pressed now, a bit per status.
  void ListedChanged(unsigned listed);
  // A column's header was clicked.
  void SortClicked(int column);
  // "Show changes between these two files": the files, from 0, the first left of the second.
  void ShowChangesAsked(int first, int second);

 protected:
  // Copy on the matrix copies its chosen rows, not the one cell the table would.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitColumns();
  void UpdateOffer();
  void ShowCurrentDetails();

  Session& session_;
  Hooks hooks_;
  AcrossMatrixModel* model_;
  QLabel* title_;
  QToolButton* differs_;
  QToolButton* same_;
  QPushButton* offer_;
  QSplitter* splitter_;
  ObjectListView* matrix_;
  AcrossDetailsView* details_;
  QAction* copy_;
  QAction* save_selection_;
  QAction* select_all_;
  QAction* show_changes_;
  QStringList fitted_;  // the files the columns were last fitted to, by their whole names
};

// Above the list while a comparison across many files is kept but not shown: the way back.
class AcrossBackBar final : public QWidget {
  Q_OBJECT

 public:
  explicit AcrossBackBar(QWidget* parent);
  void SetFileCount(int files);

 signals:
  void BackClicked();

 private:
  QPushButton* back_;
};

}  // namespace quillet
