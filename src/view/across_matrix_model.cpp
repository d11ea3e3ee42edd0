#include "view/across_matrix_model.h"

#include <QBrush>
#include <QFont>

#include "desktop/text_codec.h"
#include "list/across_variants.h"
#include "objects/text.h"
#include "view/across_palette.h"

namespace quillet {

AcrossMatrixModel::AcrossMatrixModel(Session& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session) {
  session_.SetAcrossObserver(this);
}

AcrossMatrixModel::~AcrossMatrixModel() { session_.SetAcrossObserver(nullptr); }

int AcrossMatrixModel::rowCount(const QModelIndex& parent) const {
  const AcrossMatrix* matrix = session_.across();
  return parent.isValid() || matrix == nullptr ? 0 : matrix->RowCount();
}

int AcrossMatrixModel::columnCount(const QModelIndex& parent) const {
  const AcrossMatrix* matrix = session_.across();
  if (parent.isValid()) return 0;
  return kAcrossFirstFileColumn + (matrix == nullptr ? 0 : matrix->FileCount());
}

QVariant AcrossMatrixModel::data(const QModelIndex& index, int role) const {
  const AcrossMatrix* matrix = session_.across();
  if (matrix == nullptr || !index.isValid() || index.row() >= matrix->RowCount()) return {};
  const int column = index.column();
  const int file = FileOf(column);
  if (role == Qt::TextAlignmentRole) {
    const Qt::Alignment horizontal = file >= 0 ? Qt::AlignHCenter
                                     : column == kAcrossIdColumn || column == kAcrossVariantsColumn
                                         ? Qt::AlignRight
                                         : Qt::AlignLeft;
    return QVariant::fromValue(horizontal | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole && role != kVariantRole && role != Qt::BackgroundRole &&
      role != Qt::ForegroundRole && role != Qt::ToolTipRole) {
    return {};
  }
  const AcrossRow& row = matrix->Row(index.row());
  if (file < 0) {
    if (role != Qt::DisplayRole) return {};
    switch (column) {
      case kAcrossTypeColumn:
        return FromWindows1252(row.type);
      case kAcrossIdColumn:
        return FromWindows1252(row.id);
      case kAcrossNameColumn:
        return FromWindows1252(TrimBlanks(row.name));
      default:
        return row.variants;
    }
  }
  if (file >= static_cast<int>(row.cells.size())) return {};
  const AcrossCell& cell = row.cells[static_cast<std::size_t>(file)];
  switch (role) {
    case kVariantRole:
      return cell.HasObject() ? cell.variant : -1;
    case Qt::DisplayRole:
      return cell.HasObject() ? QString::fromStdString(VariantLetters(cell.variant)) : QString();
    case Qt::BackgroundRole:
      return QBrush(cell.HasObject() ? PaintOf(cell.variant).background : NoObjectColour());
    case Qt::ForegroundRole:
      return cell.HasObject() ? QBrush(PaintOf(cell.variant).letter) : QVariant();
    default: {
      const QString name = FromPath(matrix->File(file).name.filename());
      return cell.HasObject()
                 ? QString("%1: %2").arg(name, QString::fromStdString(VariantLetters(cell.variant)))
                 : QString("%1: no object").arg(name);
    }
  }
}

QVariant AcrossMatrixModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  const int file = FileOf(section);
  if (file < 0) {
    if (role == Qt::DisplayRole) return FromWindows1252(AcrossColumnHeader(section));
    if (role == Qt::TextAlignmentRole &&
        (section == kAcrossIdColumn || section == kAcrossVariantsColumn)) {
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
  }
  const std::filesystem::path& name = session_.across()->File(file).name;
  switch (role) {
    case Qt::DisplayRole:
      return FromPath(name.filename());
    case Qt::ToolTipRole:
      return FromPath(name);
    default:
      return {};
  }
}

// Rows are read-only: no cell can be edited in place.
Qt::ItemFlags AcrossMatrixModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace quillet
