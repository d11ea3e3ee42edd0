#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <array>

#include "list/object_list.h"
#include "view/shown_rows.h"

namespace quillet {

// The list view's window on the core's rows: ten columns, and the status in a view that has
// one; the file icon in the first; texts converted to Unicode only when a cell is drawn. Within
// a changed pair the cells that differ are tinted and bold, so they read in grey too. The rows
// tell it when they change, once per listing, and it resets the view once. In the upgrade
// analysis a side that removed the object shows as a placeholder row (ShownRows).
class ObjectListModel final : public QAbstractTableModel, private ListObserver {
  Q_OBJECT

 public:
  // `file_icons` by file number: the base, file #1, file #2.
  ObjectListModel(ObjectList& list, std::array<QIcon, 3> file_icons, QObject* parent = nullptr);

  // The tint of a field that changed.
  static inline const QColor kChangedTint{245, 197, 66};
  ~ObjectListModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // column is 0-based here, as Qt counts.
  void sort(int column, Qt::SortOrder order) override;

  // The list's row (from 1) a shown row (from 0) stands for; 0 for a placeholder.
  int ListRow(int shown) const;
  // What a placeholder's name cell says.
  static inline const QString kRemovedText = QStringLiteral("removed");

 private:
  void ListAboutToChange() override;
  void ListChanged() override;
  QVariant PlaceholderData(const RowView& base, int side, Column column, int role) const;

  ObjectList& list_;
  std::array<QIcon, 3> file_icons_;
  ShownRows shown_;
};

}  // namespace quillet
