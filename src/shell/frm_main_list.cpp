// The main window's list: the view, the bars above it, sorting, filtering and the comparisons
// it shows.
#include <QHeaderView>
#include <QScopedValueRollback>
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
  model_ = new ObjectListModel(session_.list(), file_icons_, this);
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
  // The status stands first after the file's marker, where it is read before the object. The
  // header keeps its sections over a rebuild and drops the last ones where the columns grow
  // fewer, so the status goes back to its own place first, or the widths of the object's columns
  // would shift onto their neighbours.
  constexpr int status = ColumnIndex(Column::kStatus);
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    QHeaderView* shown = lvMain_->header();
    if (status < shown->count() && shown->visualIndex(status) != status) {
      shown->moveSection(shown->visualIndex(status), status);
    }
  });
  // A rebuilt list is in listing order again, whatever the last sort was.
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    QHeaderView* shown = lvMain_->header();
    if (status < shown->count()) shown->moveSection(shown->visualIndex(status), 1);
    if (!sorting_) shown->setSortIndicatorShown(false);
  });
  const double dpi = LogicalDpi();
  const int widest = DesktopSize().width();
  for (int column = 0; column < kColumnCount; ++column) {
    const int width = TwipsToPixels(settings_.column_widths[column], dpi);
    lvMain_->setColumnWidth(column, std::clamp(width, 0, widest));
  }
  actions_ = new ListActions(*lvMain_, session_.list(), [this](const std::vector<int>& rows) {
    SaveObjectList(AskSaveFileName(), &rows);
  });

  // Above the list: the notice of a changed file, the filter, the keyed comparison's statuses.
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  reload_bar_ = new ReloadBar(central);
  reload_bar_->setObjectName("reloadBar");
  reload_bar_->hide();
  filter_bar_ = new FilterBar(central);
  filter_bar_->setObjectName("filterBar");
  view_bar_ = new ViewBar(central);
  view_bar_->setObjectName("viewBar");
  layout->addWidget(reload_bar_);
  layout->addWidget(filter_bar_);
  layout->addWidget(view_bar_);
  layout->addWidget(lvMain_, 1);
  BuildAcross(*layout);
  setCentralWidget(central);
  connect(reload_bar_, &ReloadBar::ReloadClicked, this, &FrmMain::Reload);
  connect(filter_bar_, &FilterBar::TextChanged, this, &FrmMain::SetFilterText);
  // A filter is found on a thread of its own; the list shows it here, on the window's thread.
  // The window outlives the session's filter thread, and a call still on its way when the
  // window goes goes with it.
  session_.SetFilterFound([this] {
    QMetaObject::invokeMethod(
        this, [this] { ShowFoundFilter(); }, Qt::QueuedConnection);
  });
  connect(filter_bar_, &FilterBar::Closed, this, [this] { lvMain_->setFocus(); });
  connect(view_bar_, &ViewBar::ListedChanged, this, [this](unsigned listed) {
    session_.SetListed(listed);
    Draw();
  });
}

void FrmMain::OpenFilter() { filter_bar_->Open(); }

void FrmMain::SetFilterText(const QString& text) {
  // Only reading the text happens here; the rows it leaves are found on another thread, and
  // the list shows the last filter found until then, so typing never waits for the list.
  Status set = Ok();
  {
    const QScopedValueRollback keep_order(sorting_, true);  // a filter keeps the rows' order
    set = session_.StartFilter(text.toStdString());
  }
  // A filter that cannot be read says why; the words before it stay in force meanwhile.
  filter_bar_->ShowError(QString::fromStdString(set.error()));
  if (!session_.FilterPending()) DrawFilterCounts();
}

void FrmMain::ShowFoundFilter() {
  bool shown = false;
  {
    const QScopedValueRollback keep_order(sorting_, true);
    shown = session_.FinishFilter();
  }
  if (shown) DrawFilterCounts();
}

void FrmMain::DrawFilterCounts() {
  PaintPanel(Panel::kCount, CountText(ShownCount()));
  DrawBars();
}

void FrmMain::ShowComparison(CompareMode mode, const CompareCriteria& criteria) {
  session_.Compare(mode, criteria);
  Draw();
}

void FrmMain::DrawBars() {
  reload_bar_->setVisible(session_.ChangedOnDisk());
  const ListView view = session_.list().view();
  if (!HasStatus(view)) {
    view_bar_->hide();
    return;
  }
  const KeyedChoice& listed = session_.listed();
  QSignalBlocker quiet(view_bar_);
  // Under a filter the counts say how much of each status it leaves.
  const std::vector<long long> shown = session_.ShownKeyedCounts();
  view_bar_->Show(view, session_.keyed_counts(),
                  view == ListView::kChanges ? listed.changes.Bits() : listed.upgrade.Bits(),
                  session_.list().Filtered() ? &shown : nullptr);
  // The status column fits its texts.
  lvMain_->resizeColumnToContents(ColumnIndex(Column::kStatus));
}

void FrmMain::lvMain_ColumnClick(Column column) {
  sorting_ = true;
  const Qt::SortOrder order = session_.SortBy(column) ? Qt::AscendingOrder : Qt::DescendingOrder;
  sorting_ = false;
  QHeaderView* header = lvMain_->header();
  header->setSortIndicator(ColumnIndex(column), order);
  header->setSortIndicatorShown(true);
}

}  // namespace quillet
