#include "view/print_preview.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "view/printout_painter.h"

namespace quillet {

// The pages as a strip that scrolls, each page drawn from its laid-out lines when it is on
// screen. Scale is in pixels per point.
class PreviewPages final : public QAbstractScrollArea {
 public:
  PreviewPages(const Printout& printout, std::function<void(int)> page_shown, QWidget* parent)
      : QAbstractScrollArea(parent), printout_(printout), page_shown_(std::move(page_shown)) {
    setObjectName("previewPages");
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    SetScale(1.0);
  }

  int PageCount() const { return printout_.PageCount(); }
  std::size_t HeldPages() const { return held_.size(); }
  void Release() { held_.clear(); }

  // The page at the top of the view, or the next one once less than half of it shows.
  int CurrentPage() const {
    return std::clamp((verticalScrollBar()->value() + Stride() / 2) / Stride(), 0, PageCount() - 1);
  }

  void ShowPage(int index) {
    verticalScrollBar()->setValue(std::clamp(index, 0, PageCount() - 1) * Stride());
  }

  // Zoom by `factor`, or fit the page's width to the view (0).
  void Zoom(double factor) {
    const int page = CurrentPage();
    fit_width_ = factor == 0;
    SetScale(fit_width_ ? FitWidthScale() : scale_ * factor);
    ShowPage(page);
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QAbstractScrollArea::resizeEvent(event);
    const int page = CurrentPage();
    if (fit_width_) SetScale(FitWidthScale());
    UpdateBars();
    ShowPage(page);
  }

  void scrollContentsBy(int, int) override {
    viewport()->update();
    page_shown_(CurrentPage());
  }

  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Home) return ShowPage(0);
    if (event->key() == Qt::Key_End) return ShowPage(PageCount() - 1);
    QAbstractScrollArea::keyPressEvent(event);
  }

  void paintEvent(QPaintEvent*) override {
    QPainter painter(viewport());
    const int top = verticalScrollBar()->value();
    const int first = std::max(0, (top - kGap) / Stride());
    int last = first;
    const QSize page = PageSize();
    const int left = page.width() + 2 * kGap <= viewport()->width()
                         ? (viewport()->width() - page.width()) / 2
                         : kGap - horizontalScrollBar()->value();
    const PrintPaper& paper = printout_.paper();
    for (int index = first; index < PageCount(); ++index) {
      const int y = kGap + index * Stride() - top;
      if (y >= viewport()->height()) break;
      last = index;
      const QRect sheet(QPoint(left, y), page);
      painter.fillRect(sheet.translated(3, 3), palette().shadow());
      painter.fillRect(sheet, Qt::white);
      painter.save();
      painter.setClipRect(sheet);
      painter.setPen(Qt::black);
      drawer_->Draw(painter, QPointF(left + paper.left * scale_, y + paper.top * scale_),
                    Held(index));
      painter.restore();
    }
    // Only the pages around the view stay laid out.
    std::erase_if(held_, [&](const auto& entry) {
      return entry.first < first - kSpare || entry.first > last + kSpare;
    });
  }

 private:
  static constexpr int kGap = 16;   // pixels around and between pages
  static constexpr int kSpare = 2;  // pages held before and after the view

  QSize PageSize() const {
    return QSize(std::max(1, qRound(printout_.paper().width * scale_)),
                 std::max(1, qRound(printout_.paper().height * scale_)));
  }
  int Stride() const { return PageSize().height() + kGap; }

  double FitWidthScale() const {
    return (viewport()->width() - 2 * kGap) / std::max(1.0, printout_.paper().width);
  }

  void SetScale(double scale) {
    // Every page's place must stay within the scroll bar's range.
    const double largest =
        (INT_MAX / 2.0 / std::max(1, PageCount()) - kGap) / std::max(1.0, printout_.paper().height);
    scale_ = std::clamp(scale, 0.1, std::min(8.0, largest));
    drawer_ = std::make_unique<PrintedLineDrawer>(scale_, scale_);
    UpdateBars();
    viewport()->update();
  }

  void UpdateBars() {
    const QSize page = PageSize();
    const int height = PageCount() * Stride() + kGap;
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(std::max(1, Stride() / 20));
    horizontalScrollBar()->setRange(0, std::max(0, page.width() + 2 * kGap - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(std::max(1, page.width() / 20));
  }

  const std::vector<PrintedLine>& Held(int index) {
    auto found = held_.find(index);
    if (found == held_.end()) found = held_.emplace(index, printout_.Page(index)).first;
    return found->second;
  }

  const Printout& printout_;
  std::function<void(int)> page_shown_;
  double scale_ = 1.0;
  bool fit_width_ = true;
  std::unique_ptr<PrintedLineDrawer> drawer_;
  std::map<int, std::vector<PrintedLine>> held_;
};

PrintPreview::PrintPreview(const Printout& printout, std::function<bool(QWidget*)> print,
                           QWidget* parent)
    : QDialog(parent), print_(std::move(print)) {
  setWindowTitle("Print preview");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* tools = new QToolBar(this);
  tools->setObjectName("previewTools");
  layout->addWidget(tools);
  pages_ = new PreviewPages(
      printout, [this](int index) { PageShown(index); }, this);
  layout->addWidget(pages_, 1);

  QAction* print_action = tools->addAction("Print...", this, [this] {
    if (print_ && print_(this)) accept();
  });
  print_action->setShortcut(QKeySequence::Print);
  tools->addSeparator();
  tools->addAction("Zoom out", this, [this] { pages_->Zoom(1 / 1.25); })
      ->setShortcut(QKeySequence::ZoomOut);
  tools->addAction("Zoom in", this, [this] { pages_->Zoom(1.25); })
      ->setShortcut(QKeySequence::ZoomIn);
  tools->addAction("Fit width", this, [this] { pages_->Zoom(0); });
  tools->addSeparator();
  page_box_ = new QSpinBox(tools);
  page_box_->setObjectName("previewPage");
  page_box_->setRange(1, std::max(1, printout.PageCount()));
  page_box_->setAccessibleName("Page");
  tools->addWidget(new QLabel("Page ", tools));
  tools->addWidget(page_box_);
  tools->addWidget(new QLabel(QString(" of %1 ").arg(printout.PageCount()), tools));
  connect(page_box_, &QSpinBox::valueChanged, this, [this](int page) { ShowPage(page - 1); });
  tools->addSeparator();
  tools->addAction("Close", this, &QDialog::reject);

  // A page at its full width and most of its height, as far as the screen has room.
  QSize size(720, 900);
  if (const QScreen* screen = parent != nullptr ? parent->screen() : this->screen()) {
    size = size.boundedTo(screen->availableGeometry().size() * 0.9);
  }
  resize(size);
  pages_->setFocus();
}

PrintPreview::~PrintPreview() = default;

int PrintPreview::PageCount() const { return pages_->PageCount(); }
int PrintPreview::CurrentPage() const { return pages_->CurrentPage(); }
void PrintPreview::ShowPage(int index) { pages_->ShowPage(index); }
std::size_t PrintPreview::HeldPages() const { return pages_->HeldPages(); }

void PrintPreview::hideEvent(QHideEvent* event) {
  pages_->Release();
  QDialog::hideEvent(event);
}

void PrintPreview::PageShown(int index) {
  if (page_box_ == nullptr) return;  // not built yet
  const QSignalBlocker quiet(page_box_);
  page_box_->setValue(index + 1);
}

}  // namespace quillet
