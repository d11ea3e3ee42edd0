#include "view/list_actions.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <algorithm>

#include "desktop/text_codec.h"
#include "output/list_formats.h"
#include "view/object_list_view.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr int kShownWidth = 60;  // pixels: a hidden column shown again, before it is fitted

QByteArray Bytes(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ListActions::ListActions(ObjectListView& view, const ObjectList& list,
                         std::function<void(const std::vector<int>&)> save_rows)
    : QObject(&view), view_(view), list_(list), save_rows_(std::move(save_rows)) {
  copy_ = new QAction("Copy", &view);
  copy_->setShortcut(QKeySequence::Copy);
  copy_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  copy_ids_ = new QAction("Copy IDs as filter", &view);
  save_selection_ = new QAction("Save selection as...", &view);
  select_all_ = new QAction("Select all", &view);
  select_all_->setShortcut(QKeySequence::SelectAll);
  select_all_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  view.addAction(copy_);
  view.addAction(select_all_);
  connect(copy_, &QAction::triggered, this, &ListActions::Copy);
  connect(copy_ids_, &QAction::triggered, this, &ListActions::CopyIdsAsFilter);
  connect(save_selection_, &QAction::triggered, this, [this] { save_rows_(SelectedRows()); });
  connect(select_all_, &QAction::triggered, &view, &QAbstractItemView::selectAll);

  view.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&view, &QAbstractItemView::customContextMenuRequested, this, &ListActions::ShowRowMenu);
  view.header()->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view.header(), &QHeaderView::customContextMenuRequested, this,
          &ListActions::ShowHeaderMenu);
}

std::vector<int> ListActions::SelectedRows() const {
  std::vector<int> rows;
  if (view_.selectionModel() == nullptr) return rows;
  for (const QModelIndex& index : view_.selectionModel()->selectedRows()) {
    rows.push_back(index.row() + 1);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

void ListActions::Copy() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return;
  ListContext context;
  context.view = list_.view();
  SetClipboard({{"text/plain", Bytes(FormatListRows(ListFormat::kTsv, context, list_, rows))},
                {"text/csv", Bytes(FormatListRows(ListFormat::kCsv, context, list_, rows))}});
}

void ListActions::CopyIdsAsFilter() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return;
  SetClipboard({{"text/plain", Bytes(FormatListRows(ListFormat::kIds, {}, list_, rows))}});
}

QMenu* ListActions::RowMenu() {
  auto* menu = new QMenu(&view_);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const bool selected = !SelectedRows().empty();
  for (QAction* action : {copy_, copy_ids_, save_selection_}) {
    action->setEnabled(selected);
    menu->addAction(action);
  }
  menu->addSeparator();
  menu->addAction(select_all_);
  return menu;
}

QMenu* ListActions::HeaderMenu(int section) {
  auto* menu = new QMenu(&view_);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QHeaderView* header = view_.header();
  // A column is hidden by its width, as Modified and Compiled start: dragging its edge shows it
  // as well as this menu does.
  for (int column = 0; column < header->count(); ++column) {
    const QString title = view_.model()->headerData(column, Qt::Horizontal).toString();
    QAction* toggle = menu->addAction(title);
    toggle->setCheckable(true);
    toggle->setChecked(header->sectionSize(column) > 0);
    connect(toggle, &QAction::toggled, this, [this, column](bool shown) {
      view_.setColumnWidth(column, 0);
      if (shown) {
        view_.resizeColumnToContents(column);
        if (view_.columnWidth(column) == 0) view_.setColumnWidth(column, kShownWidth);
      }
    });
  }
  menu->addSeparator();
  QAction* fit = menu->addAction("Fit column to contents");
  fit->setEnabled(section >= 0);
  connect(fit, &QAction::triggered, this,
          [this, section] { view_.resizeColumnToContents(section); });
  return menu;
}

void ListActions::ShowRowMenu(const QPoint& at) {
  RowMenu()->popup(view_.viewport()->mapToGlobal(at));
}

void ListActions::ShowHeaderMenu(const QPoint& at) {
  HeaderMenu(view_.header()->logicalIndexAt(at))->popup(view_.header()->mapToGlobal(at));
}

}  // namespace quillet
