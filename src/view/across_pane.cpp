#include "view/across_pane.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "desktop/text_codec.h"
#include "view/across_cell_delegate.h"
#include "view/across_details.h"
#include "view/across_matrix_model.h"
#include "view/object_list_view.h"

namespace quillet {
namespace {

constexpr const char* kShowChangesText = "Show changes between these two files";
constexpr int kWidestFileColumn = 160;  // pixels: longer names are cut in the middle
constexpr int kNarrowestFileColumn = 28;

QHBoxLayout* BarLayout(QWidget* bar) {
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(6, 3, 6, 3);
  layout->setSpacing(6);
  return layout;
}

QToolButton* StatusToggle(AcrossStatus status, QWidget* parent) {
  auto* toggle = new QToolButton(parent);
  toggle->setObjectName(status == AcrossStatus::kDiffers ? "show_differs" : "show_same");
  toggle->setCheckable(true);
  toggle->setToolTip("List the rows of this status");
  return toggle;
}

}  // namespace

AcrossPane::AcrossPane(Session& session, Hooks hooks, QWidget* parent)
    : QWidget(parent),
      session_(session),
      hooks_(std::move(hooks)),
      model_(new AcrossMatrixModel(session, this)),
      title_(new QLabel(this)),
      differs_(StatusToggle(AcrossStatus::kDiffers, this)),
      same_(StatusToggle(AcrossStatus::kSame, this)),
      offer_(new QPushButton(kShowChangesText, this)),
      splitter_(new QSplitter(Qt::Vertical, this)),
      matrix_(new ObjectListView(splitter_)),
      details_(new AcrossDetailsView(splitter_)) {
  setObjectName("acrossPane");
  auto* bar = new QWidget(this);
  bar->setObjectName("acrossBar");
  QHBoxLayout* bar_layout = BarLayout(bar);
  bar_layout->addWidget(title_);
  bar_layout->addWidget(differs_);
  bar_layout->addWidget(same_);
  bar_layout->addStretch(1);
  offer_->setObjectName("showChangesBetween");
  offer_->setToolTip("Choose cells in the columns of two files");
  bar_layout->addWidget(offer_);

  matrix_->setObjectName("acrossMatrix");
  matrix_->setModel(model_);
  matrix_->setItemDelegate(new AcrossCellDelegate(matrix_));
  // Cells, not rows, are chosen: a cell picks its row for the details and its file's column.
  matrix_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  matrix_->setSelectionBehavior(QAbstractItemView::SelectItems);
  matrix_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QHeaderView* header = matrix_->header();
  header->setMinimumSectionSize(kNarrowestFileColumn);
  header->setStretchLastSection(false);
  header->setSectionsMovable(false);
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(false);
  header->setTextElideMode(Qt::ElideMiddle);
  connect(header, &QHeaderView::sectionClicked, this, &AcrossPane::SortClicked);

  splitter_->addWidget(matrix_);
  splitter_->addWidget(details_);
  splitter_->setStretchFactor(0, 3);
  splitter_->setStretchFactor(1, 1);
  splitter_->setChildrenCollapsible(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(splitter_, 1);

  const auto listed = [this] {
    AcrossStatuses statuses;
    if (differs_->isChecked()) statuses.Add(AcrossStatus::kDiffers);
    if (same_->isChecked()) statuses.Add(AcrossStatus::kSame);
    emit ListedChanged(statuses.Bits());
  };
  connect(differs_, &QToolButton::toggled, this, listed);
  connect(same_, &QToolButton::toggled, this, listed);

  // The keys are the list's: the matrix takes them itself (eventFilter), so that one key never
  // stands for two actions of the window; the menu names them.
  copy_ = new QAction("Copy\t" + QKeySequence(QKeySequence::Copy).toString(), matrix_);
  save_selection_ = new QAction("Save selection as...", matrix_);
  select_all_ =
      new QAction("Select all\t" + QKeySequence(QKeySequence::SelectAll).toString(), matrix_);
  show_changes_ = new QAction(kShowChangesText, matrix_);
  matrix_->installEventFilter(this);
  connect(copy_, &QAction::triggered, this, [this] {
    if (hooks_.copy_rows && !SelectedRows().empty()) hooks_.copy_rows(SelectedRows());
  });
  connect(save_selection_, &QAction::triggered, this, [this] {
    if (hooks_.save_rows && !SelectedRows().empty()) hooks_.save_rows(SelectedRows());
  });
  connect(select_all_, &QAction::triggered, matrix_, &QAbstractItemView::selectAll);
  const auto offer = [this] {
    const std::vector<int> files = ChosenFiles();
    if (files.size() == 2) emit ShowChangesAsked(files[0], files[1]);
  };
  connect(show_changes_, &QAction::triggered, this, offer);
  connect(offer_, &QPushButton::clicked, this, offer);
  matrix_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(matrix_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { RowMenu()->popup(matrix_->viewport()->mapToGlobal(at)); });

  connect(matrix_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &AcrossPane::UpdateOffer);
  connect(matrix_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &AcrossPane::ShowCurrentDetails);
  // The details point into the matrix's table: they go before the rows change.
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this,
          [this] { details_->details().Clear(); });
  connect(model_, &QAbstractItemModel::modelReset, this, &AcrossPane::UpdateOffer);
  UpdateOffer();
}

bool AcrossPane::eventFilter(QObject* watched, QEvent* event) {
  if (watched == matrix_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    copy_->trigger();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void AcrossPane::Draw() {
  const AcrossMatrix* matrix = session_.across();
  if (matrix == nullptr) return;
  title_->setText(QString("Across %1 files:").arg(matrix->FileCount()));
  for (const auto& [toggle, status] :
       {std::pair{differs_, AcrossStatus::kDiffers}, std::pair{same_, AcrossStatus::kSame}}) {
    toggle->setText(QString("%1 %2")
                        .arg(FromWindows1252(AcrossStatusText(status)))
                        .arg(matrix->StatusCount(status)));
    const QSignalBlocker quiet(toggle);
    toggle->setChecked(matrix->listed().Has(status));
  }
  QHeaderView* header = matrix_->header();
  if (const std::optional<int> column = matrix->sort_column()) {
    header->setSortIndicator(*column,
                             matrix->sort_ascending() ? Qt::AscendingOrder : Qt::DescendingOrder);
    header->setSortIndicatorShown(true);
  } else {
    header->setSortIndicatorShown(false);
  }
  QStringList files;
  for (int file = 0; file < matrix->FileCount(); ++file) files << FromPath(matrix->File(file).name);
  if (files != fitted_) {
    fitted_ = files;
    FitColumns();
  }
  UpdateOffer();
}

void AcrossPane::FitColumns() {
  const QFontMetrics metrics = matrix_->fontMetrics();
  const int digits = metrics.horizontalAdvance(QString(10, '0'));
  matrix_->setColumnWidth(kAcrossTypeColumn, metrics.horizontalAdvance("TableData") + 12);
  matrix_->setColumnWidth(kAcrossIdColumn, digits + 12);
  matrix_->setColumnWidth(kAcrossNameColumn, metrics.horizontalAdvance(QString(24, 'x')));
  matrix_->setColumnWidth(kAcrossVariantsColumn,
                          matrix_->header()->fontMetrics().horizontalAdvance("Variants") + 16);
  const QFontMetrics header_metrics = matrix_->header()->fontMetrics();
  for (int column = kAcrossFirstFileColumn; column < model_->columnCount(); ++column) {
    const QString name = model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    matrix_->setColumnWidth(column, std::clamp(header_metrics.horizontalAdvance(name) + 16,
                                               kNarrowestFileColumn, kWidestFileColumn));
  }
}

std::vector<int> AcrossPane::SelectedRows() const {
  std::set<int> rows;
  for (const QModelIndex& index : matrix_->selectionModel()->selectedIndexes()) {
    rows.insert(index.row());
  }
  return {rows.begin(), rows.end()};
}

std::vector<int> AcrossPane::ChosenFiles() const {
  std::set<int> files;
  for (const QModelIndex& index : matrix_->selectionModel()->selectedIndexes()) {
    if (const int file = AcrossMatrixModel::FileOf(index.column()); file >= 0) files.insert(file);
  }
  return {files.begin(), files.end()};
}

QString AcrossPane::CountsText() const { return differs_->text() + " \u00b7 " + same_->text(); }

QMenu* AcrossPane::RowMenu() {
  auto* menu = new QMenu(matrix_);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const bool selected = !SelectedRows().empty();
  for (QAction* action : {copy_, save_selection_}) {
    action->setEnabled(selected);
    menu->addAction(action);
  }
  menu->addSeparator();
  show_changes_->setEnabled(OffersChanges());
  menu->addAction(show_changes_);
  menu->addSeparator();
  menu->addAction(select_all_);
  return menu;
}

void AcrossPane::UpdateOffer() {
  const bool offered = OffersChanges();
  offer_->setEnabled(offered);
  show_changes_->setEnabled(offered);
}

void AcrossPane::ShowCurrentDetails() {
  const QModelIndex current = matrix_->currentIndex();
  details_->details().Show(session_.across(), current.isValid() ? current.row() : -1);
}

AcrossBackBar::AcrossBackBar(QWidget* parent) : QWidget(parent), back_(new QPushButton(this)) {
  setObjectName("acrossBackBar");
  back_->setObjectName("acrossBack");
  QHBoxLayout* layout = BarLayout(this);
  layout->addWidget(back_);
  layout->addStretch(1);
  connect(back_, &QPushButton::clicked, this, &AcrossBackBar::BackClicked);
  hide();
}

void AcrossBackBar::SetFileCount(int files) {
  back_->setText(QString("Back to the comparison of %1 files").arg(files));
}

}  // namespace quillet
