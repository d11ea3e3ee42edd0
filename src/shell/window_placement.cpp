#include "shell/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

namespace quillet {

double LogicalDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

QSize DesktopSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableVirtualGeometry().size() : QSize(4096, 4096);
}

QRect VisiblePlacement(QRect stored) {
  stored.setSize(stored.size().boundedTo(DesktopSize()));
  // A window stored on a screen that is gone would open where nobody can see it: bring it
  // onto the primary screen, and shrink it to fit there. Every other placement stays.
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().intersects(stored)) return stored;
  }
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) {
    const QRect area = primary->availableGeometry();
    stored.setSize(stored.size().boundedTo(area.size()));
    stored.moveTopLeft(area.topLeft());
  }
  return stored;
}

QRect NormalPlacement(bool maximized, const QRect& frame, const QRect& inner,
                      const QRect& normal_inner) {
  if (!maximized) return {frame.topLeft(), inner.size()};
  // The frame around the inner area (title bar, borders) is the same in both states.
  const QPoint frame_margin = inner.topLeft() - frame.topLeft();
  return {normal_inner.topLeft() - frame_margin, normal_inner.size()};
}

}  // namespace quillet
