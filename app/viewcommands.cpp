#include "frmmain.h"

#include "documentplacement.h"
#include "form1.h"
#include "frmdocument.h"
#include "toolbar.h"

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>

void frmMain::mnuViewToolbar_Click()
{
    mnuViewToolbar->setChecked(!mnuViewToolbar->isChecked());
    tbToolBar->setVisible(mnuViewToolbar->isChecked());
}

void frmMain::mnuViewStatusBar_Click()
{
    mnuViewStatusBar->setChecked(!mnuViewStatusBar->isChecked());
    sbStatusBar->setVisible(mnuViewStatusBar->isChecked());
}

void frmMain::mnuOptionsPage_Click()
{
    propiedades->setVisible(!propiedades->isVisible());
}

void frmMain::mnuWindowNewWindow_Click() { CreateDocumentWindow(); }
void frmMain::mnuWindowCascade_Click() { Arrange(0); }
void frmMain::mnuWindowTileHorizontal_Click() { Arrange(1); }
void frmMain::mnuWindowTileVertical_Click() { Arrange(2); }
void frmMain::mnuWindowArrangeIcons_Click() { Arrange(3); }

void frmMain::mnuAcercade_Click()
{
    Form1 *about = Form1::instance();
    about->show();
    about->raise();
    about->activateWindow();
}

void frmMain::Arrange(int code)
{
    switch (code) {
    case 0:
        placement::cascade(mdiArea);
        break;
    case 1:
        tileNonMinimised(true);
        break;
    case 2:
        tileNonMinimised(false);
        break;
    case 3:
        lineUpMinimised();
        break;
    default:
        break;
    }
}

namespace {
QList<QMdiSubWindow *> arrangeable(QMdiArea *area, bool minimised)
{
    QList<QMdiSubWindow *> result;
    for (QMdiSubWindow *sub : area->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isVisible() && sub->isMinimized() == minimised)
            result.append(sub);
    }
    return result;
}
} // namespace

// QMdiArea::tileSubWindows lays out a grid; the two tile commands want one column
// (stacked) or one row (side by side), leaving the minimised windows' row free.
void frmMain::tileNonMinimised(bool stacked)
{
    const QList<QMdiSubWindow *> windows = arrangeable(mdiArea, false);
    if (windows.isEmpty())
        return;
    QRect area = mdiArea->viewport()->rect();
    int iconRow = 0;
    for (QMdiSubWindow *icon : arrangeable(mdiArea, true))
        iconRow = std::max(iconRow, icon->height());
    area.setBottom(std::max(area.top(), area.bottom() - iconRow));
    const int n = int(windows.size());
    const int extent = stacked ? area.height() : area.width();
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = windows[i];
        if (sub->isMaximized())
            sub->showNormal();
        const int from = extent * i / n;
        const int to = extent * (i + 1) / n;
        if (stacked)
            sub->setGeometry(area.left(), area.top() + from, area.width(), to - from);
        else
            sub->setGeometry(area.left() + from, area.top(), to - from, area.height());
    }
}

void frmMain::lineUpMinimised()
{
    const QRect area = mdiArea->viewport()->rect();
    int x = area.left();
    int bottom = area.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow *icon : arrangeable(mdiArea, true)) {
        const QSize size = icon->size();
        if (x > area.left() && x + size.width() > area.right() + 1) {
            x = area.left();
            bottom -= rowHeight;
            rowHeight = 0;
        }
        icon->move(x, bottom - size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
}

void frmMain::rebuildWindowList()
{
    for (QAction *old : std::as_const(windowListActions)) {
        mnuWindow->removeAction(old);
        delete old;
    }
    windowListActions.clear();
    const QList<frmDocument *> docs = documents();
    if (docs.isEmpty())
        return;
    windowListActions.append(mnuWindow->addSeparator());
    frmDocument *active = activeDocument();
    int number = 0;
    for (frmDocument *doc : docs) {
        ++number;
        const QString prefix = number < 10 ? QStringLiteral("&%1 ").arg(number)
                                           : QStringLiteral("%1 ").arg(number);
        QAction *entry = mnuWindow->addAction(prefix + doc->Caption());
        entry->setObjectName(QStringLiteral("mnuWindowList%1").arg(number));
        entry->setCheckable(true);
        entry->setChecked(doc == active);
        QPointer<QMdiSubWindow> target = doc;
        connect(entry, &QAction::triggered, this, [this, target] {
            if (target)
                mdiArea->setActiveSubWindow(target);
        });
        windowListActions.append(entry);
    }
}
