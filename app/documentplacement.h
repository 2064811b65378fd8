#pragma once

#include <QList>
#include <QRect>
#include <QSize>

class QMdiArea;
class QMdiSubWindow;

// Where document windows go inside the frame's workspace: a new window opens wholly
// inside it, one cascade step below and right of the last one, and a cascade keeps every
// window large enough to work in. Rectangles are in the workspace's pixel coordinates.
namespace placement {

// Smallest size a cascade gives a window, however many windows share the workspace.
constexpr QSize minimumCascadeSize(150, 100);

// The rectangle for a new window of outer size `design`, one `step` on from `previous`
// (the last window placed, or an empty rect when there is none); it starts over at the
// workspace's corner when the step would carry it past an edge, and shrinks to the
// workspace when the workspace is the smaller.
QRect nextWindowRect(const QRect &workspace, const QRect &previous, QSize design, int step);

// The rectangles for cascaded windows of the current outer `sizes`, bottom to top, each
// `step` below and right of the one before. Each keeps its size, grown to at least
// `design`, as far as the workspace less the offsets leaves room; never smaller than
// minimumCascadeSize: where the offsets would leave less, the cascade starts again at the
// top left.
QList<QRect> cascadeRects(const QRect &workspace, const QList<QSize> &sizes, QSize design,
                          int step);

// Places `window`, just added to `area` and not yet shown, by nextWindowRect after the
// last window created before it that is shown in its normal state.
void placeNewWindow(QMdiArea *area, QMdiSubWindow *window);

// Cascades the area's windows that are neither hidden nor minimised, in their stacking
// order, by cascadeRects; maximised ones are restored first.
void cascade(QMdiArea *area);

} // namespace placement
