#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <vector>

#include "commands/across_matrix.h"

namespace quillet {

// Under the matrix: the selected row's object in every file, a line per file with its letter,
// name, version, date, time and BLOB size. The fields in which an object differs from the
// row's variant A (on what was compared) are tinted and bold, so they read in grey too; a file
// without the object has a grey letter cell and nothing else.
class AcrossDetailsModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The columns: the file, its letter, then the fields.
  static constexpr int kFileColumn = 0;
  static constexpr int kVariantColumn = 1;

  using QAbstractTableModel::QAbstractTableModel;

  // Shows row `row` (from 0) of `matrix`; nothing for -1 or a null matrix. The row's cells are
  // kept: they point into the matrix's table, which must not change while they are shown.
  void Show(const AcrossMatrix* matrix, int row);
  void Clear() { Show(nullptr, -1); }
  // Which fields of file `file`'s object differ from variant A's (bits by Field).
  FieldMask Marked(int file) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const AcrossMatrix* matrix_ = nullptr;
  std::vector<AcrossCell> cells_;
  std::string_view a_;  // variant A's record
  FieldMask counted_ = 0;
};

// The pane that shows it: a plain read-only table, as tall as it is given.
class AcrossDetailsView final : public QTableView {
  Q_OBJECT

 public:
  explicit AcrossDetailsView(QWidget* parent = nullptr);
  AcrossDetailsModel& details() { return *model_; }

 private:
  AcrossDetailsModel* model_;
};

}  // namespace quillet
