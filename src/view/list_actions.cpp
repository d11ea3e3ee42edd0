#include "view/list_actions.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <algorithm>

#include "desktop/text_codec.h"
#include "list/changed_fields.h"
#include "objects/code_page.h"
#include "objects/text.h"
#include "output/list_formats.h"
#include "view/object_list_model.h"
#include "view/object_list_view.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr int kShownWidth = 60;  // pixels: a hidden column shown again, before it is fitted

QByteArray Bytes(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Tabs and line ends would split a field; on the clipboard they stand as blanks.
void AppendTsvField(std::string& out, std::string_view text, bool /*raw*/) {
  for (const char c : text) {
    const char shown = c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    AppendWindows1252AsUtf8(out, {&shown, 1});
  }
}

using FieldWriter = void (*)(std::string& out, std::string_view text, bool raw);

// The rows as the list shows them: its shown columns in their order, each cell without its
// filling blanks, the file as its number, and in a keyed view the changed fields last (what the
// tints show). A header line of the column titles first.
std::string CopiedText(const ObjectList& list, const std::vector<Column>& columns,
                       const std::vector<int>& rows, char separator, std::string_view line_end,
                       FieldWriter field) {
  const bool keyed = HasStatus(list.view());
  std::string out;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) out += separator;
    out += columns[i] == Column::kStatus ? kStatusHeader : Info(columns[i]).header;
  }
  if (keyed) (out += separator) += "Changed";
  out += line_end;
  for (const int row : rows) {
    const RowView view = list.View(row);
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (i > 0) out += separator;
      if (columns[i] == Column::kFile) {
        out += static_cast<char>('0' + view.file);
      } else {
        field(out, TrimBlanks(view.Cell(columns[i])), /*raw=*/false);
      }
    }
    if (keyed) {
      out += separator;
      field(out, ChangedFieldsText(view.changed), false);
    }
    out += line_end;
  }
  return out;
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
  const auto* model = qobject_cast<const ObjectListModel*>(view_.model());
  for (const QModelIndex& index : view_.selectionModel()->selectedRows()) {
    // A placeholder row is the window's only: nothing of the list to hand on.
    const int row = model != nullptr ? model->ListRow(index.row()) : index.row() + 1;
    if (row > 0) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::vector<Column> ListActions::ShownColumns() const {
  std::vector<Column> columns;
  const QHeaderView* header = view_.header();
  for (int visual = 0; visual < header->count(); ++visual) {
    const int logical = header->logicalIndex(visual);
    // A column is hidden by its width, as Modified and Compiled start.
    if (!header->isSectionHidden(logical) && header->sectionSize(logical) > 0) {
      columns.push_back(ColumnAt(logical));
    }
  }
  return columns;
}

void ListActions::Copy() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return;
  const std::vector<Column> columns = ShownColumns();
  SetClipboard(
      {{"text/plain", Bytes(CopiedText(list_, columns, rows, '\t', "\n", AppendTsvField))},
       {"text/csv", Bytes(CopiedText(list_, columns, rows, ',', "\r\n", AppendCsvField))}});
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
