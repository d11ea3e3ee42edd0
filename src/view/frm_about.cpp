#include "view/frm_about.h"

#include <QCursor>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "view/dialog_layout.h"
#include "view/user_dialogs.h"

namespace quillet {
namespace {

constexpr int kTextWidth = 300;
constexpr int kLogoSize = 48;
constexpr int kLogoSpacing = 12;
constexpr int kHyperlinkInterval = 250;  // ms

constexpr const char* kCopyright = "Copyright \u00a9 2026 The Quillet developers";
constexpr const char* kLicence =
    "Quillet is free of charge. You may use it as often as you like and pass it on unchanged. "
    "It comes as it is, without any warranty: you use it at your own risk.";

QLabel* NewLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  return label;
}

QPixmap TopBand(int width) {
  QPixmap band(width, 6);
  QPainter painter(&band);
  QLinearGradient gradient(0, 0, width, 0);
  gradient.setColorAt(0, FrmAbout::kLinkText);
  gradient.setColorAt(1, FrmAbout::kLinkHighlight);
  painter.fillRect(band.rect(), gradient);
  return band;
}

}  // namespace

QString BuildNumber(const QString& version) { return version.section('.', -1); }

FrmAbout::FrmAbout(QWidget* parent, UserDialogs& dialogs) : QDialog(parent), dialogs_(dialogs) {
  setObjectName("frmAbout");
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle("About Quillet");

  fr2_ = new QFrame(this);
  fr2_->setObjectName("fr2");
  fr2_->setFrameShape(QFrame::StyledPanel);
  fr2_->setFrameShadow(QFrame::Sunken);
  imgTop_ = NewLabel("imgTop", fr2_);
  imgLogo_ = NewLabel("imgLogo", fr2_);
  lblCopyright_ = NewLabel("lblCopyright", fr2_);
  lblShareware_ = NewLabel("lblShareware", fr2_);
  lblWWW_ = NewLabel("lblWWW", fr2_);
  lblEmail_ = NewLabel("lblEmail", fr2_);

  auto* texts = new QVBoxLayout;
  texts->setSpacing(8);
  texts->addWidget(lblCopyright_);
  texts->addWidget(lblShareware_);
  texts->addWidget(lblWWW_, 0, Qt::AlignLeft);
  texts->addWidget(lblEmail_, 0, Qt::AlignLeft);
  auto* row = new QHBoxLayout;
  row->setSpacing(kLogoSpacing);
  row->addWidget(imgLogo_, 0, Qt::AlignTop);
  row->addLayout(texts);
  auto* inside = new QVBoxLayout(fr2_);
  inside->addWidget(imgTop_);
  inside->addLayout(row);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fr2_);

  tmrHyperlinks_ = new QTimer(this);
  tmrHyperlinks_->setObjectName("tmrHyperlinks");
  tmrHyperlinks_->setInterval(kHyperlinkInterval);
  connect(tmrHyperlinks_, &QTimer::timeout, this, &FrmAbout::tmrHyperlinks_Timer);

  frmAbout_Load();
  tmrHyperlinks_->start();
}

void FrmAbout::frmAbout_Load() {
  imgLogo_->setPixmap(QIcon(":/icons/quillet.svg").pixmap(kLogoSize, kLogoSize));
  lblShareware_->setText(kLicence);
  lblShareware_->setWordWrap(true);
  lblShareware_->setFixedWidth(kTextWidth);
  lblWWW_->setText(kWebAddress);
  StyleLink(lblWWW_);
  lblEmail_->setText(kMailAddress);
  StyleLink(lblEmail_);
  lblCopyright_->setText(QString("Quillet\nBuild %1\n%2")
                             .arg(BuildNumber(QUILLET_VERSION), QString::fromUtf8(kCopyright)));
  QFont title = lblCopyright_->font();
  title.setBold(true);
  lblCopyright_->setFont(title);
  imgTop_->setPixmap(TopBand(kLogoSize + kLogoSpacing + kTextWidth));

  // The client area: fr2's left margin again right of and below fr2.
  FitClientArea(*this, *fr2_, *fr2_, *fr2_);
}

// The label is as wide as its text, so its rectangle is exactly the link.
void FrmAbout::StyleLink(QLabel* label) {
  QFont font = label->font();
  font.setFamilies({"MS Sans Serif", font.family()});
  font.setUnderline(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kLinkText);
  label->setPalette(palette);
  label->setAutoFillBackground(true);
  label->setFixedSize(label->sizeHint());
  label->setCursor(Qt::PointingHandCursor);
  label->setMouseTracking(true);
  label->installEventFilter(this);
  SetLinkBackground(label, this->palette().color(QPalette::Window));
}

void FrmAbout::SetLinkBackground(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  if (palette.color(QPalette::Window) == colour) return;
  palette.setColor(QPalette::Window, colour);
  label->setPalette(palette);
}

bool FrmAbout::eventFilter(QObject* watched, QEvent* event) {
  const bool web = watched == lblWWW_, mail = watched == lblEmail_;
  if (web || mail) {
    if (event->type() == QEvent::MouseMove) {
      web ? lblWWW_MouseMove() : lblEmail_MouseMove();
    } else if (event->type() == QEvent::MouseButtonPress) {
      web ? lblWWW_MouseDown() : lblEmail_MouseDown();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void FrmAbout::lblWWW_MouseMove() { SetLinkBackground(lblWWW_, kLinkHighlight); }

void FrmAbout::lblEmail_MouseMove() { SetLinkBackground(lblEmail_, kLinkHighlight); }

void FrmAbout::lblWWW_MouseDown() { dialogs_.OpenUrl(QUrl(lblWWW_->text())); }

void FrmAbout::lblEmail_MouseDown() {
  dialogs_.OpenUrl(QUrl(QString("mailto:%1?subject=Quillet").arg(kMailAddress)));
}

void FrmAbout::tmrHyperlinks_Timer() {
  const QPoint pointer = QCursor::pos();
  for (QLabel* label : {lblWWW_, lblEmail_}) {
    const QRect area(label->mapToGlobal(QPoint(0, 0)), label->size());
    // The edges count as inside.
    const bool outside = pointer.x() < area.left() || pointer.x() > area.left() + area.width() ||
                         pointer.y() < area.top() || pointer.y() > area.top() + area.height();
    if (outside) SetLinkBackground(label, palette().color(QPalette::Window));
  }
}

FrmAbout* ShowAboutBox(QWidget* parent, UserDialogs& dialogs) {
  auto* about = new FrmAbout(parent, dialogs);
  about->show();
  about->activateWindow();
  return about;
}

}  // namespace quillet
