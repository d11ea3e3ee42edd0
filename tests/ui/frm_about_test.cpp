#include "view/frm_about.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include "shell/frm_main.h"
#include "ui_support.h"

namespace quillet {
namespace {

using test::TestProgram;

QLabel* Label(QWidget* about, const char* name) {
  QLabel* label = about->findChild<QLabel*>(name);
  EXPECT_NE(label, nullptr) << name;
  return label;
}

QColor Background(const QLabel* label) { return label->palette().color(QPalette::Window); }

void Send(QWidget* widget, QEvent::Type type, Qt::MouseButton button = Qt::NoButton) {
  const QPointF inside(2, 2);
  QMouseEvent event(type, inside, widget->mapToGlobal(inside), button, button, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &event);
}

TEST(FrmAbout, ShowsTheBuildNumberCopyrightAndLicence) {
  EXPECT_EQ(BuildNumber("1.0.0.59"), "59");
  EXPECT_EQ(BuildNumber("2.3"), "3");
  EXPECT_EQ(BuildNumber("7"), "7");

  TestProgram t;
  QPointer<FrmAbout> about = ShowAboutBox(&t.main(), t.dialogs);
  ASSERT_TRUE(about);
  EXPECT_TRUE(about->isVisible());
  EXPECT_FALSE(about->isModal());
  const QString copyright = Label(about, "lblCopyright")->text();
  EXPECT_TRUE(copyright.contains("Quillet")) << copyright.toStdString();
  EXPECT_TRUE(copyright.contains("Build " + QString(QUILLET_VERSION).section('.', -1)))
      << copyright.toStdString();
  EXPECT_TRUE(copyright.contains("Copyright")) << copyright.toStdString();
  EXPECT_FALSE(Label(about, "lblShareware")->text().isEmpty());
  EXPECT_FALSE(Label(about, "imgLogo")->pixmap().isNull());
  EXPECT_FALSE(Label(about, "imgTop")->pixmap().isNull());
  for (const char* name : {"lblWWW", "lblEmail"}) {
    const QLabel* link = Label(about, name);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 204)) << name;
    EXPECT_TRUE(link->font().underline()) << name;
    EXPECT_EQ(link->width(), link->sizeHint().width()) << name;  // the rectangle is the link
    EXPECT_EQ(Background(link), about->palette().color(QPalette::Window)) << name;
  }
  // The client area: fr2's left margin again right of and below fr2.
  const QWidget* fr2 = about->findChild<QWidget*>("fr2");
  ASSERT_NE(fr2, nullptr);
  const int margin = fr2->x();
  EXPECT_GT(margin, 0);
  EXPECT_EQ(about->width(), fr2->width() + 2 * margin);
  EXPECT_EQ(about->height(), fr2->y() + fr2->height() + margin);

  // Each "Info" gets a box of its own; the close box deletes it.
  QPointer<FrmAbout> second = ShowAboutBox(&t.main(), t.dialogs);
  EXPECT_NE(second, about);
  about->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(about);
  EXPECT_TRUE(second);
}

TEST(FrmAbout, LinksOpenThroughTheDesktop) {
  TestProgram t;
  FrmAbout* about = ShowAboutBox(&t.main(), t.dialogs);
  Send(Label(about, "lblWWW"), QEvent::MouseButtonPress, Qt::LeftButton);
  Send(Label(about, "lblEmail"), QEvent::MouseButtonPress, Qt::LeftButton);
  ASSERT_EQ(t.dialogs.opened.size(), 2);
  EXPECT_EQ(t.dialogs.opened[0], QUrl(Label(about, "lblWWW")->text()));
  EXPECT_EQ(t.dialogs.opened[0].scheme(), "https");
  EXPECT_EQ(t.dialogs.opened[1].toString(),
            "mailto:" + Label(about, "lblEmail")->text() + "?subject=Quillet");
}

TEST(FrmAbout, TheHighlightFollowsThePointer) {
  TestProgram t;
  FrmAbout* about = ShowAboutBox(&t.main(), t.dialogs);
  QLabel* web = Label(about, "lblWWW");
  QLabel* mail = Label(about, "lblEmail");
  const QColor plain = about->palette().color(QPalette::Window);
  const QColor highlight(192, 192, 255);
  const QRect area(web->mapToGlobal(QPoint(0, 0)), web->size());

  QCursor::setPos(area.center());
  Send(web, QEvent::MouseMove);
  EXPECT_EQ(Background(web), highlight);
  EXPECT_EQ(Background(mail), plain);
  about->tmrHyperlinks_Timer();
  EXPECT_EQ(Background(web), highlight);
  // The far edges still count as the link.
  QCursor::setPos(area.left() + area.width(), area.top() + area.height());
  about->tmrHyperlinks_Timer();
  EXPECT_EQ(Background(web), highlight);

  // Off the link, the highlight stays until the timer's next tick.
  QCursor::setPos(area.left() - 1, area.top());
  EXPECT_EQ(Background(web), highlight);
  const QTimer* timer = about->findChild<QTimer*>("tmrHyperlinks");
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  QEventLoop loop;
  QTimer::singleShot(timer->interval() * 2, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(Background(web), plain);

  Send(mail, QEvent::MouseMove);
  EXPECT_EQ(Background(mail), highlight);
}

}  // namespace
}  // namespace quillet
