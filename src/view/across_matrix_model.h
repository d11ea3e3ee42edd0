#pragma once

#include <QAbstractTableModel>

#include "commands/session.h"

namespace quillet {

// The matrix's window on the session's comparison across many files: Type, ID, Name, Variants,
// then a column per file headed by its name, the whole name as the header's tool tip. A file's
// cell is its variant letter on the letter's colour, or grey where the file lacks the object.
// It keeps nothing per row: each row's cells are made again when drawn. Reset once per listing.
class AcrossMatrixModel final : public QAbstractTableModel, private ListObserver {
  Q_OBJECT

 public:
  // The variant of a file's cell (0 for A), or -1 where the file lacks the object.
  static constexpr int kVariantRole = Qt::UserRole + 1;

  explicit AcrossMatrixModel(Session& session, QObject* parent = nullptr);
  ~AcrossMatrixModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The file of a column, from 0; -1 for the columns before the files'.
  static int FileOf(int column) {
    return column >= kAcrossFirstFileColumn ? column - kAcrossFirstFileColumn : -1;
  }

 private:
  void ListAboutToChange() override { beginResetModel(); }
  void ListChanged() override { endResetModel(); }

  Session& session_;
};

}  // namespace quillet
