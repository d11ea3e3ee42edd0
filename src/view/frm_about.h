#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QTimer;

namespace quillet {

class UserDialogs;

// The last component of a version: "1.0.0.59" gives "59".
QString BuildNumber(const QString& version);

// The About box: name, build, copyright, licence and the project's web and mail links. A new
// one for every "Info"; it deletes itself when closed.
class FrmAbout final : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kWebAddress = "https://www.quillet.example";
  static constexpr const char* kMailAddress = "support@quillet.example";
  static inline const QColor kLinkText{0, 0, 204};
  static inline const QColor kLinkHighlight{192, 192, 255};

  FrmAbout(QWidget* parent, UserDialogs& dialogs);

  void lblWWW_MouseMove();
  void lblEmail_MouseMove();
  void lblWWW_MouseDown();
  void lblEmail_MouseDown();
  // Takes the highlight from a link the pointer has left.
  void tmrHyperlinks_Timer();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void frmAbout_Load();
  void StyleLink(QLabel* label);
  void SetLinkBackground(QLabel* label, const QColor& colour);

  UserDialogs& dialogs_;
  QFrame* fr2_ = nullptr;
  QLabel* imgTop_ = nullptr;
  QLabel* imgLogo_ = nullptr;
  QLabel* lblCopyright_ = nullptr;
  QLabel* lblShareware_ = nullptr;
  QLabel* lblWWW_ = nullptr;
  QLabel* lblEmail_ = nullptr;
  QTimer* tmrHyperlinks_ = nullptr;
};

// Creates and shows a new About box over `parent`.
FrmAbout* ShowAboutBox(QWidget* parent, UserDialogs& dialogs);

}  // namespace quillet
