#include "view/user_dialogs.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

#include "objects/message_text.h"

namespace quillet {

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

void QtUserDialogs::ShowPrintPreview(QWidget* parent, QPrinter& printer,
                                     const std::function<void(QPrinter*)>& paint) {
  QPrintPreviewDialog preview(&printer, parent);
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&paint](QPrinter* target) { paint(target); });
  preview.exec();
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
