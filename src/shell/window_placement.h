#pragma once

#include <QRect>
#include <QSize>

namespace quillet {

// The screen's logical resolution: placement and widths are stored in twips.
double LogicalDpi();

// All screens together. Nothing stored may make the window or a column larger than this: a
// width of millions of pixels would only cost memory and scrolling.
QSize DesktopSize();

// Where a stored placement (frame position, inner size, in pixels) opens: as stored, but on a
// screen that is there and no larger than the desktop.
QRect VisiblePlacement(QRect stored);

// The placement to store at close: the frame's position and the inner size of the window in
// its normal state, whether it is maximised now or not. `frame` and `inner` are the window's
// geometry now, `normal_inner` its inner geometry in the normal state. Stored so, a window
// closed maximised opens where it was, not one title bar lower each time.
QRect NormalPlacement(bool maximized, const QRect& frame, const QRect& inner,
                      const QRect& normal_inner);

}  // namespace quillet
