#include "view/object_list_model.h"

#include <QBrush>
#include <QFont>
#include <QPalette>

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
  shown_.Rebuild(list_);
}

ObjectListModel::~ObjectListModel() { list_.SetObserver(nullptr); }

int ObjectListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_.Count(list_);
}

int ObjectListModel::ListRow(int shown) const {
  if (shown < 0 || shown >= shown_.Count(list_)) return 0;
  const ShownRows::Entry entry = shown_.At(list_, shown);
  return entry.removed_from != 0 ? 0 : entry.row;
}

int ObjectListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount + (HasStatus(list_.view()) ? 1 : 0);
}

QVariant ObjectListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= shown_.Count(list_)) return {};
  const ShownRows::Entry entry = shown_.At(list_, index.row());
  const RowView row = list_.View(entry.row);
  const Column column = ColumnAt(index.column());
  if (entry.removed_from != 0) return PlaceholderData(row, entry.removed_from, column, role);
  const bool changed = column != Column::kFile && column != Column::kStatus &&
                       (entry.marks & (1u << static_cast<int>(FieldOf(column)))) != 0;
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

// A side that removed the object: its file's marker, the object's type and ID from the base,
// "removed" in grey italics, and the triple's result.
QVariant ObjectListModel::PlaceholderData(const RowView& base, int side, Column column,
                                          int role) const {
  switch (role) {
    case Qt::DisplayRole:
      switch (column) {
        case Column::kFile:
          return FromWindows1252(FileTag(side));
        case Column::kType:
        case Column::kId:
        case Column::kStatus:
          return FromWindows1252(base.Cell(column));
        case Column::kName:
          return kRemovedText;
        default:
          return QString();
      }
    case Qt::DecorationRole:
      if (column == Column::kFile) return file_icons_[static_cast<std::size_t>(side)];
      return {};
    case Qt::TextAlignmentRole:
      return Alignment(column);
    case Qt::ForegroundRole:
      return QPalette().brush(QPalette::Disabled, QPalette::Text);
    case Qt::FontRole: {
      QFont font;
      font.setItalic(true);
      return column == Column::kName ? QVariant(font) : QVariant();
    }
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

// Rows are read-only: no cell can be edited in place. A placeholder is no row of the list, so
// nothing can be copied or saved from it.
Qt::ItemFlags ObjectListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (ListRow(index.row()) == 0) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void ObjectListModel::sort(int column, Qt::SortOrder order) {
  list_.SortByColumn(ColumnAt(column), order == Qt::AscendingOrder);
}

void ObjectListModel::ListAboutToChange() {
  beginResetModel();
  shown_.Clear();
}

void ObjectListModel::ListChanged() {
  shown_.Rebuild(list_);
  endResetModel();
}

}  // namespace quillet
