#include "documentplacement.h"

#include "frmdocument.h"

#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace placement {

namespace {
// How many windows one run of the cascade holds before it starts again: as many as leave
// each window at least the minimum size.
int windowsPerRun(const QSize &room, int count, int step)
{
    int run = 1;
    while (run < count && room.width() - run * step >= minimumCascadeSize.width()
           && room.height() - run * step >= minimumCascadeSize.height())
        ++run;
    return run;
}
} // namespace

QRect nextWindowRect(const QRect &workspace, const QRect &previous, QSize design, int step)
{
    const QSize size = design.boundedTo(workspace.size()).expandedTo(QSize(1, 1));
    if (!previous.isEmpty()) {
        const QRect next(previous.topLeft() + QPoint(step, step), size);
        if (workspace.contains(next))
            return next;
    }
    return QRect(workspace.topLeft(), size);
}

QList<QRect> cascadeRects(const QRect &workspace, const QList<QSize> &sizes, QSize design,
                          int step)
{
    QList<QRect> rects;
    const int count = int(sizes.size());
    if (count == 0)
        return rects;
    step = std::max(step, 1);
    const int run = windowsPerRun(workspace.size(), count, step);
    const int offsets = (run - 1) * step;
    const QSize room = (workspace.size() - QSize(offsets, offsets)).expandedTo(minimumCascadeSize);
    for (int i = 0; i < count; ++i) {
        const int k = i % run;
        const QSize size = sizes[i].expandedTo(design).boundedTo(room);
        rects.append(QRect(workspace.topLeft() + QPoint(k * step, k * step), size));
    }
    return rects;
}

namespace {
QRect workspaceOf(const QMdiArea *area)
{
    return area->viewport()->rect();
}

// The window's frame and title bar around its client, as the frame draws them (a window
// gets its title bar only once it is inside the area).
QSize decorationOf(QMdiSubWindow *window)
{
    if (window->layout())
        window->layout()->activate();
    const QWidget *client = window->widget();
    return client ? window->size() - client->size() : QSize(0, 0);
}

QSize designOuterSize(QMdiSubWindow *window)
{
    return frmDocument::designClientSize() + decorationOf(window);
}

// The client's top is the title bar's height plus the frame: one step shows one title.
int cascadeStep(const QMdiSubWindow *window)
{
    const QWidget *client = window->widget();
    return std::max(client ? client->y() : 0, 8);
}

bool inNormalState(const QMdiSubWindow *window)
{
    return window->isVisible() && !window->isMinimized() && !window->isMaximized();
}
} // namespace

void placeNewWindow(QMdiArea *area, QMdiSubWindow *window)
{
    QRect previous;
    for (QMdiSubWindow *other : area->subWindowList(QMdiArea::CreationOrder)) {
        if (other != window && inNormalState(other))
            previous = other->geometry();
    }
    window->setGeometry(nextWindowRect(workspaceOf(area), previous, designOuterSize(window),
                                       cascadeStep(window)));
}

void cascade(QMdiArea *area)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : area->subWindowList(QMdiArea::StackingOrder)) {
        if (window->isVisible() && !window->isMinimized())
            windows.append(window);
    }
    if (windows.isEmpty())
        return;
    QList<QSize> sizes;
    for (QMdiSubWindow *window : std::as_const(windows)) {
        if (window->isMaximized())
            window->showNormal();
        sizes.append(window->size());
    }
    const QList<QRect> rects = cascadeRects(workspaceOf(area), sizes,
                                            designOuterSize(windows.first()),
                                            cascadeStep(windows.first()));
    for (int i = 0; i < windows.size(); ++i) {
        windows[i]->setGeometry(rects[i]);
        windows[i]->raise();
    }
}

} // namespace placement
