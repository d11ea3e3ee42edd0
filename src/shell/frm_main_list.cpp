// The main window's list: the view, the bars above it, sorting, filtering and the comparisons
// it shows.
#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/text_codec.h"
#include "shell/frm_main.h"
#include "shell/twips.h"
#include "shell/window_placement.h"
#include "view/list_actions.h"
#include "view/list_bars.h"
#include "view/object_list_model.h"
#include "view/object_list_view.h"
#include "view/trimmed_text_delegate.h"

namespace quillet {

void FrmMain::BuildList() {
  model_ = new ObjectListModel(list_, file_icons_, this);
  lvMain_ = new ObjectListView(this);
  lvMain_->setObjectName("lvMain");
  lvMain_->setModel(model_);
  lvMain_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lvMain_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvMain_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvMain_->setIconSize(QSize(16, 16));
  // The default column widths were made for a small sans-serif font; in Arial's metrics at
  // 7.5 points a ten-digit number and a date fit them.
  QFont list_font = lvMain_->font();
  list_font.setFamilies({"Arial", "Liberation Sans"});
  list_font.setPointSizeF(7.5);
  lvMain_->setFont(list_font);
  lvMain_->setItemDelegate(new TrimmedTextDelegate(lvMain_));
  QHeaderView* header = lvMain_->header();
  header->setMinimumSectionSize(0);  // Modified and Compiled start at width 0
  header->setStretchLastSection(false);
  header->setSectionsMovable(false);
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(false);
  connect(header, &QHeaderView::sectionClicked, this,
          [this](int section) { lvMain_ColumnClick(ColumnAt(section)); });
  // A rebuilt list is in listing order again, whatever the last sort was.
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    if (!sorting_) lvMain_->header()->setSortIndicatorShown(false);
  });
  const double dpi = LogicalDpi();
  const int widest = DesktopSize().width();
  for (int column = 0; column < kColumnCount; ++column) {
    const int width = TwipsToPixels(settings_.column_widths[column], dpi);
    lvMain_->setColumnWidth(column, std::clamp(width, 0, widest));
  }
  actions_ = new ListActions(*lvMain_, list_, [this](const std::vector<int>& rows) {
    SaveObjectList(AskSaveFileName(), &rows);
  });

  // Above the list: the notice of a changed file, the filter, the keyed comparison's statuses.
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  reload_bar_ = new ReloadBar(central);
  filter_bar_ = new FilterBar(central);
  view_bar_ = new ViewBar(central);
  layout->addWidget(reload_bar_);
  layout->addWidget(filter_bar_);
  layout->addWidget(view_bar_);
  layout->addWidget(lvMain_, 1);
  setCentralWidget(central);
  connect(reload_bar_, &ReloadBar::ReloadClicked, this, &FrmMain::Reload);
  connect(filter_bar_, &FilterBar::TextChanged, this, &FrmMain::SetFilterText);
  connect(filter_bar_, &FilterBar::Closed, this, [this] { lvMain_->setFocus(); });
  connect(view_bar_, &ViewBar::ListedChanged, this, &FrmMain::KeyedChoiceChanged);
}

void FrmMain::OpenFilter() { filter_bar_->Open(); }

void FrmMain::SetFilterText(const QString& text) {
  Result<RowQuery> parse = ParseRowQuery(text.toStdString());
  // A filter that cannot be read says why; the last good one stays in force meanwhile.
  filter_bar_->ShowError(QString::fromStdString(parse.error()));
  if (!parse.ok()) return;
  list_.SetQuery(std::move(*parse));
  SetPanelText(Panel::kCount, ListCountText(list_));
}

void FrmMain::ShowComparison(CompareMode mode, const CompareCriteria& criteria) {
  criteria_ = criteria;
  compared_ = mode;
  keyed_counts_ = RunComparison(ws_, mode, criteria, keyed_choice_);
  UpdateBars();
}

void FrmMain::KeyedChoiceChanged(unsigned listed) {
  if (compared_ == CompareMode::kUpgrade) {
    keyed_choice_.upgrade = UpgradeResults::FromBits(listed);
    ShowComparison(CompareMode::kUpgrade, criteria_);
  } else {
    keyed_choice_.changes = ChangeStatuses::FromBits(listed);
    ShowComparison(CompareMode::kChanges, criteria_);
  }
}

void FrmMain::UpdateBars() {
  const quillet::ListView view = list_.view();
  if (!HasStatus(view)) {
    view_bar_->hide();
    return;
  }
  const unsigned listed = view == quillet::ListView::kChanges ? keyed_choice_.changes.Bits()
                                                              : keyed_choice_.upgrade.Bits();
  QSignalBlocker quiet(view_bar_);
  view_bar_->Show(view, keyed_counts_, listed);
  // The status column fits its texts.
  lvMain_->resizeColumnToContents(ColumnIndex(Column::kStatus));
}

void FrmMain::lvMain_ColumnClick(Column column) {
  const bool ascending = column != last_sort_column_;
  last_sort_column_ = ascending ? std::optional(column) : std::nullopt;
  const Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
  sorting_ = true;
  model_->sort(ColumnIndex(column), order);
  sorting_ = false;
  QHeaderView* header = lvMain_->header();
  header->setSortIndicator(ColumnIndex(column), order);
  header->setSortIndicatorShown(true);
}

}  // namespace quillet
