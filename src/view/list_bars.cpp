#include "view/list_bars.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

#include "desktop/text_codec.h"
#include "view/number_text.h"

namespace quillet {
namespace {

// Lays its widgets out in a row, and in more rows where the bar is too narrow for one: a keyed
// view's toggles must all stay readable at the window's first width.
class FlowLayout final : public QLayout {
 public:
  explicit FlowLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(6, 3, 6, 3);
    setSpacing(4);
  }
  ~FlowLayout() override {
    while (QLayoutItem* item = takeAt(0)) delete item;
  }

  void addItem(QLayoutItem* item) override { items_.append(item); }
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override { return items_.value(index); }
  QLayoutItem* takeAt(int index) override {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
  }
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return Arrange(QRect(0, 0, width, 0), false); }
  void setGeometry(const QRect& rect) override {
    QLayout::setGeometry(rect);
    Arrange(rect, true);
  }
  QSize sizeHint() const override { return minimumSize(); }
  QSize minimumSize() const override {
    QSize size;
    for (const QLayoutItem* item : items_) size = size.expandedTo(item->minimumSize());
    const QMargins margins = contentsMargins();
    return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
  }

 private:
  // Places the items (when `place`) and gives the height they take.
  int Arrange(const QRect& rect, bool place) const {
    const QMargins margins = contentsMargins();
    const QRect area = rect.adjusted(margins.left(), margins.top(), -margins.right(), 0);
    int x = area.x(), y = area.y(), line_height = 0;
    for (QLayoutItem* item : items_) {
      if (item->isEmpty()) continue;
      const QSize size = item->sizeHint();
      if (x > area.x() && x + size.width() > area.right() + 1) {
        x = area.x();
        y += line_height + spacing();
        line_height = 0;
      }
      if (place) item->setGeometry(QRect(QPoint(x, y), size));
      x += size.width() + spacing();
      line_height = std::max(line_height, size.height());
    }
    return y + line_height - rect.y() + margins.bottom();
  }

  QList<QLayoutItem*> items_;
};

// A line of text that takes the room it is given and shows as much of its text as fits, so a
// long reason never squeezes the field beside it; the whole text is its tool tip.
class FittedLabel final : public QLabel {
 public:
  explicit FittedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect room = contentsRect();
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
  }
};

// The toggles of a keyed view: pressed ones stand out in the selection's colours, the others
// plain, so which statuses are listed reads at a glance, in any style. Not bold: a font that
// changes with the state is not measured, and the text would be cut.
constexpr const char* kToggleStyle =
    "QToolButton { border: 1px solid palette(mid); border-radius: 3px; padding: 2px 6px;"
    " background: palette(window); color: palette(window-text); }"
    "QToolButton:checked { background: palette(highlight); color: palette(highlighted-text);"
    " border-color: palette(highlight); }";

QHBoxLayout* BarLayout(QWidget* bar) {
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(6, 3, 6, 3);
  layout->setSpacing(6);
  return layout;
}

}  // namespace

FilterBar::FilterBar(QWidget* parent)
    : QWidget(parent), field_(new QLineEdit(this)), error_(new FittedLabel(this)) {
  setObjectName("filterBar");
  field_->setObjectName("filterField");
  field_->setPlaceholderText("Filter: id:50000..99999  type:Codeunit  tag:CUST*  name:post  -WORD");
  field_->setClearButtonEnabled(true);
  field_->installEventFilter(this);
  // Room for a filter of a few words, whatever the reason beside it says.
  field_->setMinimumWidth(field_->fontMetrics().averageCharWidth() * 32);
  error_->setObjectName("filterError");
  QPalette palette = error_->palette();
  palette.setColor(QPalette::WindowText, QColor(176, 0, 32));
  error_->setPalette(palette);
  auto* close = new QToolButton(this);
  close->setText("\u00d7");
  close->setToolTip("Close the filter (Esc)");
  close->setAutoRaise(true);
  auto* layout = BarLayout(this);
  layout->addWidget(new QLabel("Filter:", this));
  layout->addWidget(field_, 3);
  layout->addWidget(error_, 2);
  layout->addWidget(close);
  connect(field_, &QLineEdit::textChanged, this, &FilterBar::TextChanged);
  connect(close, &QToolButton::clicked, this, &FilterBar::Close);
  hide();
}

void FilterBar::Open() {
  show();
  field_->setFocus();
  field_->selectAll();
}

QString FilterBar::Text() const { return field_->text(); }

void FilterBar::ShowError(const QString& error) {
  error_->setText(error);
  error_->setToolTip(error);
}

bool FilterBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    Close();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void FilterBar::Close() {
  field_->clear();  // the list shows every row again
  hide();
  emit Closed();
}

ViewBar::ViewBar(QWidget* parent) : QWidget(parent), title_(new QLabel(this)) {
  setObjectName("viewBar");
  setStyleSheet(kToggleStyle);
  toggles_layout_ = new FlowLayout(this);
  // As tall as a toggle, so the title stands level with them.
  title_->setMinimumHeight(QToolButton().sizeHint().height());
  title_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  toggles_layout_->addWidget(title_);
  hide();
}

void ViewBar::Show(ListView view, const std::vector<long long>& counts, unsigned listed,
                   const std::vector<long long>* shown) {
  title_->setText(view == ListView::kUpgrade ? "Upgrade analysis:" : "Changes:");
  const std::vector<int> statuses = StatusDisplayOrder(view);
  if (view != view_) {
    // The toggle being clicked may be what asks for this: the old ones go once it is done.
    for (const auto& [status, toggle] : toggles_) toggle->deleteLater();
    toggles_.clear();
    for (const int status : statuses) {
      auto* toggle = new QToolButton(this);
      toggle->setObjectName(QString("show_%1").arg(FromWindows1252(StatusName(view, status))));
      toggle->setCheckable(true);
      toggle->setToolTip("List the objects of this status");
      toggles_layout_->addWidget(toggle);
      toggles_.emplace_back(status, toggle);
      connect(toggle, &QToolButton::toggled, this, [this] { emit ListedChanged(Listed()); });
    }
    view_ = view;
  }
  for (const auto& [status, toggle] : toggles_) {
    const auto at = static_cast<std::size_t>(status);
    const long long count = at < counts.size() ? counts[at] : 0;
    QString text = FromWindows1252(StatusText(view, status)) + " ";
    // A status not listed has nothing the filter could leave: its count stays whole.
    if (shown != nullptr && ((listed >> status) & 1u) != 0) {
      text += GroupedNumber(at < shown->size() ? (*shown)[at] : 0) + " of ";
    }
    toggle->setText(text + GroupedNumber(count));
    const QSignalBlocker quiet(toggle);
    toggle->setChecked((listed >> status) & 1u);
  }
  show();
}

QString ViewBar::CountsText() const {
  QStringList texts;
  for (const auto& [status, toggle] : toggles_) texts << toggle->text();
  return texts.join(" \u00b7 ");
}

unsigned ViewBar::Listed() const {
  unsigned listed = 0;
  for (const auto& [status, toggle] : toggles_) {
    if (toggle->isChecked()) listed |= 1u << status;
  }
  return listed;
}

ReloadBar::ReloadBar(QWidget* parent) : QWidget(parent) {
  setObjectName("reloadBar");
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(255, 243, 205));
  setPalette(palette);
  auto* reload = new QPushButton("Reload", this);
  reload->setObjectName("reloadButton");
  auto* dismiss = new QToolButton(this);
  dismiss->setText("\u00d7");
  dismiss->setAutoRaise(true);
  dismiss->setToolTip("Keep the list as it is");
  auto* layout = BarLayout(this);
  layout->addWidget(new QLabel("A loaded file changed on disk.", this));
  layout->addWidget(reload);
  layout->addStretch(1);
  layout->addWidget(dismiss);
  connect(reload, &QPushButton::clicked, this, &ReloadBar::ReloadClicked);
  connect(dismiss, &QToolButton::clicked, this, &QWidget::hide);
  hide();
}

}  // namespace quillet
