#include "view/user_dialogs.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

#include "objects/message_text.h"
#include "view/print_preview.h"

namespace quillet {
namespace {

// Work shorter than this shows no dialog.
constexpr qint64 kShowProgressAfterMs = 300;
// How often the window gets to repaint and the Cancel button to be pressed.
constexpr qint64 kProgressIntervalMs = 40;

class QtWorkProgress final : public WorkProgress {
 public:
  QtWorkProgress(QWidget* parent, QString text) : dialog_(parent), text_(std::move(text)) {
    // Nothing else may be used while the work runs: it reads what the window shows.
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setMinimumDuration(static_cast<int>(kShowProgressAfterMs));
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setCancelButtonText("Cancel");
    started_.start();
    last_.start();
  }

  bool Advance(int done, int total) override {
    if (last_.elapsed() < kProgressIntervalMs) return !dialog_.wasCanceled();
    last_.restart();
    if (!dialog_.isVisible() && started_.elapsed() >= kShowProgressAfterMs) dialog_.show();
    if (dialog_.isVisible()) {
      dialog_.setMaximum(total);
      dialog_.setValue(done);
      dialog_.setLabelText(text_.arg(done).arg(total));
      QCoreApplication::processEvents();
    } else {
      // Until the dialog blocks the other windows, they only repaint.
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return !dialog_.wasCanceled();
  }

 private:
  QProgressDialog dialog_;
  QString text_;
  QElapsedTimer started_;
  QElapsedTimer last_;
};

}  // namespace

QString ShownInMessage(const QString& text) {
  return QString::fromStdString(EscapeControls(text.toStdString()));
}

void QtUserDialogs::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
  box.exec();
}

bool QtUserDialogs::Ask(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::Yes | QMessageBox::No,
                  parent);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString QtUserDialogs::GetOpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& initial_name) {
  return QFileDialog::getOpenFileName(parent, title, initial_name, QtFileFilter(filter));
}

QStringList QtUserDialogs::GetOpenFileNames(QWidget* parent, const QString& title,
                                            const QString& filter, const QString& initial_name) {
  return QFileDialog::getOpenFileNames(parent, title, initial_name, QtFileFilter(filter));
}

UserDialogs::SaveChoice QtUserDialogs::GetSaveFileName(QWidget* parent, const QString& title,
                                                       const QString& filter,
                                                       const QString& initial_name) {
  const QString qt_filter = QtFileFilter(filter);
  QString selected = qt_filter.section(";;", 0, 0);
  const QString name = QFileDialog::getSaveFileName(parent, title, initial_name, qt_filter,
                                                    &selected, QFileDialog::DontConfirmOverwrite);
  return {name, static_cast<int>(qt_filter.split(";;").indexOf(selected))};
}

void SetClipboard(const QList<QPair<QString, QByteArray>>& forms) {
  auto* data = new QMimeData;
  for (const auto& [type, bytes] : forms) {
    // Plain text goes in through Qt's own text, which every platform's clipboard converts.
    if (type == "text/plain") {
      data->setText(QString::fromUtf8(bytes));
    } else {
      data->setData(type, bytes);
    }
  }
  QGuiApplication::clipboard()->setMimeData(data);  // the clipboard takes it
}

bool QtUserDialogs::ChoosePrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

void QtUserDialogs::ShowPrintPreview(QWidget* parent, const Printout& printout,
                                     const std::function<bool(QWidget*)>& print) {
  PrintPreview preview(printout, print, parent);
  preview.exec();
}

std::unique_ptr<WorkProgress> QtUserDialogs::StartProgress(QWidget* parent, const QString& text) {
  return std::make_unique<QtWorkProgress>(parent, text);
}

void QtUserDialogs::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    // The description often names its patterns already; Qt shows the patterns itself.
    description.remove(QRegularExpression(R"(\s*\([^)]*\)\s*$)"));
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      if (pattern == "*.*") pattern = "*";
    }
    entries << QString("%1 (%2)").arg(description, patterns.join(' '));
  }
  return entries.join(";;");
}

}  // namespace quillet
