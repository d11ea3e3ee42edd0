#include "shell/list_bars.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "runtime/text_codec.h"

namespace quillet {
namespace {

QHBoxLayout* BarLayout(QWidget* bar) {
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(6, 3, 6, 3);
  layout->setSpacing(6);
  return layout;
}

}  // namespace

FilterBar::FilterBar(QWidget* parent)
    : QWidget(parent), field_(new QLineEdit(this)), error_(new QLabel(this)) {
  setObjectName("filterBar");
  field_->setObjectName("filterField");
  field_->setPlaceholderText("Filter: id:50000..99999  type:Codeunit  tag:CUST*  name:post  -WORD");
  field_->setClearButtonEnabled(true);
  field_->installEventFilter(this);
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
  layout->addWidget(field_, 2);
  layout->addWidget(error_, 1);
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
  auto* layout = BarLayout(this);
  layout->addWidget(title_);
  toggles_layout_ = new QHBoxLayout;
  toggles_layout_->setSpacing(4);
  layout->addLayout(toggles_layout_);
  layout->addStretch(1);
  hide();
}

void ViewBar::Show(ListView view, const std::vector<long long>& counts, unsigned listed) {
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
    toggle->setText(QString("%1 %2").arg(FromWindows1252(StatusText(view, status))).arg(count));
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
