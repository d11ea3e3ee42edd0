#include "view/object_list_model.h"

#include <QBrush>

#include "desktop/text_codec.h"

namespace quillet {

namespace {

QVariant Alignment(Column column) {
  const bool right = column != Column::kStatus && Info(column).right_aligned;
  return QVariant::fromValue((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

}  // namespace

ObjectListModel::ObjectListModel(ObjectList& list, std::array<QIcon, 3> file_icons, QObject* parent)
    : QAbstractTableModel(parent), list_(list), file_icons_(std::move(file_icons)) {
  list_.SetObserver(this);
}

ObjectListModel::~ObjectListModel() { list_.SetObserver(nullptr); }

int ObjectListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : list_.RowCount();
}

int ObjectListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount + (HasStatus(list_.view()) ? 1 : 0);
}

QVariant ObjectListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= list_.RowCount()) return {};
  const RowView row = list_.View(index.row() + 1);
  const Column column = ColumnAt(index.column());
  const bool changed = column != Column::kFile && column != Column::kStatus &&
                       (row.changed & (1u << static_cast<int>(FieldOf(column)))) != 0;
  switch (role) {
    case Qt::DisplayRole:
      return FromWindows1252(row.Cell(column));
    case Qt::DecorationRole:
      if (column == Column::kFile) return file_icons_[static_cast<std::size_t>(row.file)];
      return {};
    case Qt::TextAlignmentRole:
      return Alignment(column);
    case Qt::BackgroundRole:
      if (changed) return QBrush(kChangedTint);
      return {};
    default:
      return {};
  }
}

QVariant ObjectListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  const Column column = ColumnAt(section);
  if (role == Qt::DisplayRole) {
    return FromWindows1252(column == Column::kStatus ? kStatusHeader : Info(column).header);
  }
  if (column == Column::kStatus) return {};
  if (role == Qt::TextAlignmentRole && Info(column).right_aligned) return Alignment(column);
  return {};
}

// Rows are read-only: no cell can be edited in place.
Qt::ItemFlags ObjectListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ObjectListModel::sort(int column, Qt::SortOrder order) {
  list_.SortByColumn(ColumnAt(column), order == Qt::AscendingOrder);
}

void ObjectListModel::ListAboutToChange() { beginResetModel(); }

void ObjectListModel::ListChanged() { endResetModel(); }

}  // namespace quillet
