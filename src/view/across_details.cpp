#include "view/across_details.h"

#include <QBrush>
#include <QFont>
#include <QHeaderView>
#include <array>

#include "desktop/text_codec.h"
#include "list/across_variants.h"
#include "list/columns.h"
#include "objects/text.h"
#include "view/across_cell_delegate.h"
#include "view/across_matrix_model.h"
#include "view/across_palette.h"
#include "view/object_list_model.h"

namespace quillet {
namespace {

// The fields shown after the file and its letter.
constexpr std::array<Field, 5> kShownFields = {Field::kName, Field::kVersion, Field::kDate,
                                               Field::kTime, Field::kBlobSize};
constexpr int kFirstFieldColumn = 2;

}  // namespace

void AcrossDetailsModel::Show(const AcrossMatrix* matrix, int row) {
  beginResetModel();
  matrix_ = matrix != nullptr && row >= 0 && row < matrix->RowCount() ? matrix : nullptr;
  cells_.clear();
  a_ = {};
  if (matrix_ != nullptr) {
    const AcrossRow& shown = matrix_->Row(row);
    cells_.assign(shown.cells.begin(), shown.cells.end());
    a_ = cells_[static_cast<std::size_t>(shown.first)].record;
    counted_ = CountedChangeFields(matrix_->criteria());
  }
  endResetModel();
}

FieldMask AcrossDetailsModel::Marked(int file) const {
  if (file < 0 || file >= static_cast<int>(cells_.size())) return 0;
  const AcrossCell& cell = cells_[static_cast<std::size_t>(file)];
  if (!cell.HasObject() || cell.variant == 0) return 0;
  return DifferingFields(a_, cell.record, counted_);
}

int AcrossDetailsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(cells_.size());
}

int AcrossDetailsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kFirstFieldColumn + static_cast<int>(kShownFields.size());
}

QVariant AcrossDetailsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const int file = index.row();
  const AcrossCell& cell = cells_[static_cast<std::size_t>(file)];
  const int column = index.column();
  if (column == kFileColumn) {
    if (role == Qt::DisplayRole) return FromPath(matrix_->File(file).name.filename());
    if (role == Qt::ToolTipRole) return FromPath(matrix_->File(file).name);
    return {};
  }
  if (column == kVariantColumn) {
    switch (role) {
      case AcrossMatrixModel::kVariantRole:
        return cell.HasObject() ? cell.variant : -1;
      case Qt::DisplayRole:
        return cell.HasObject() ? QString::fromStdString(VariantLetters(cell.variant)) : QString();
      case Qt::BackgroundRole:
        return QBrush(cell.HasObject() ? PaintOf(cell.variant).background : NoObjectColour());
      case Qt::ForegroundRole:
        return cell.HasObject() ? QBrush(PaintOf(cell.variant).letter) : QVariant();
      case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignCenter);
      default:
        return {};
    }
  }
  if (!cell.HasObject()) return {};
  const Field field = kShownFields[static_cast<std::size_t>(column - kFirstFieldColumn)];
  const bool marked = (Marked(file) & FieldBit(field)) != 0;
  switch (role) {
    case Qt::DisplayRole:
      return FromWindows1252(
          TrimBlanks(cell.record.substr(static_cast<std::size_t>(FieldOffset(field)),
                                        static_cast<std::size_t>(FieldWidth(field)))));
    case Qt::BackgroundRole:
      return marked ? QBrush(ObjectListModel::kChangedTint) : QVariant();
    case Qt::FontRole: {
      if (!marked) return {};
      QFont bold;
      bold.setBold(true);
      return bold;
    }
    case Qt::TextAlignmentRole: {
      const bool right = Info(ColumnOf(field)).right_aligned;
      return QVariant::fromValue((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
      return {};
  }
}

QVariant AcrossDetailsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= columnCount()) {
    return {};
  }
  if (section == kFileColumn) return FromWindows1252(Info(Column::kFile).header);
  if (section == kVariantColumn) return QString("Variant");
  return FromWindows1252(
      Info(ColumnOf(kShownFields[static_cast<std::size_t>(section - kFirstFieldColumn)])).header);
}

AcrossDetailsView::AcrossDetailsView(QWidget* parent)
    : QTableView(parent), model_(new AcrossDetailsModel(this)) {
  setObjectName("acrossDetails");
  setModel(model_);
  setItemDelegate(new AcrossCellDelegate(this));
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  // The name takes the room left, so that a marked size is not a bar across the pane.
  horizontalHeader()->setSectionResizeMode(kFirstFieldColumn, QHeaderView::Stretch);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Each reset shows another object: its columns fit what it holds.
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    if (model_->rowCount() > 0) resizeColumnsToContents();
  });
}

}  // namespace quillet
