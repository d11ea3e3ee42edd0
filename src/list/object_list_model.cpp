#include "list/object_list_model.h"

#include "runtime/text_codec.h"

namespace quillet {

const std::array<const char*, kColumnCount> ObjectListModel::kHeaders = {
    "File", "Type", "ID", "Name", "Modified", "Version", "Date", "Time", "BLOB size", "Compiled"};

ObjectListModel::ObjectListModel(ObjectList& list, std::array<QIcon, 2> file_icons, QObject* parent)
    : QAbstractTableModel(parent), list_(list), file_icons_(std::move(file_icons)) {
  list_.SetObserver(this);
}

ObjectListModel::~ObjectListModel() { list_.SetObserver(nullptr); }

int ObjectListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : list_.RowCount();
}

int ObjectListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant ObjectListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= list_.RowCount()) return {};
  const ObjectRow& row = list_.Rows()[static_cast<std::size_t>(index.row())];
  const int column = index.column() + 1;
  switch (role) {
    case Qt::DisplayRole:
      return FromWindows1252(row.Cell(column));
    case Qt::DecorationRole:
      if (column == 1) return file_icons_[row.file == 2 ? 1 : 0];
      return {};
    case Qt::TextAlignmentRole:
      if (column == 3 || column == 7 || column == 8 || column == 9) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      }
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant ObjectListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
  if (role == Qt::DisplayRole) return QString::fromLatin1(kHeaders[section]);
  if (role == Qt::TextAlignmentRole &&
      (section == 2 || section == 6 || section == 7 || section == 8)) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

// Rows are read-only: no cell can be edited in place.
Qt::ItemFlags ObjectListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ObjectListModel::sort(int column, Qt::SortOrder order) {
  list_.SortByColumn(column + 1, order == Qt::AscendingOrder);
}

void ObjectListModel::ListAboutToChange() { beginResetModel(); }

void ObjectListModel::ListChanged() { endResetModel(); }

}  // namespace quillet
