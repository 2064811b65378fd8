#include "frmmain.h"

#include "frmdocument.h"
#include "richtextbox.h"
#include "runhandler.h"
#include "toolbar.h"

#include <QAction>
#include <QPushButton>

namespace {
using Handler = void (frmMain::*)();

// The slot for one handler: runs it on the window, reporting a failure that ends it.
auto guarded(frmMain *window, Handler handler)
{
    return [window, handler] { runHandler(window, [window, handler] { (window->*handler)(); }); };
}
} // namespace

// Every handler the user can invoke runs through runHandler, which reports a failure that
// ends it; this is the one place where handlers are connected.
void frmMain::connectHandlers()
{
    connectMenus();
    connectButtons();
    connect(tbToolBar, &Toolbar::ButtonClick, this, [this](ToolbarButton *button) {
        runHandler(this, [this, button] { tbToolBar_ButtonClick(button); });
    });
}

void frmMain::connectMenus()
{
    const std::pair<QAction *, Handler> menuItems[] = {
        {mnuFileNew, &frmMain::mnuFileNew_Click},
        {mnuFileOpen, &frmMain::mnuFileOpen_Click},
        {mnuFileClose, &frmMain::mnuFileClose_Click},
        {mnuFileSave, &frmMain::mnuFileSave_Click},
        {mnuFileSaveAs, &frmMain::mnuFileSaveAs_Click},
        {mnuFilePageSetup, &frmMain::mnuFilePageSetup_Click},
        {mnuFilePrint, &frmMain::mnuFilePrint_Click},
        {mnuFileExit, &frmMain::mnuFileExit_Click},
        {mnuEditCut, &frmMain::mnuEditCut_Click},
        {mnuEditCopy, &frmMain::mnuEditCopy_Click},
        {mnuEditPaste, &frmMain::mnuEditPaste_Click},
        {mnuViewToolbar, &frmMain::mnuViewToolbar_Click},
        {mnuViewStatusBar, &frmMain::mnuViewStatusBar_Click},
        {mnuOptionsPage, &frmMain::mnuOptionsPage_Click},
        {mnuWindowNewWindow, &frmMain::mnuWindowNewWindow_Click},
        {mnuWindowCascade, &frmMain::mnuWindowCascade_Click},
        {mnuWindowTileHorizontal, &frmMain::mnuWindowTileHorizontal_Click},
        {mnuWindowTileVertical, &frmMain::mnuWindowTileVertical_Click},
        {mnuWindowArrangeIcons, &frmMain::mnuWindowArrangeIcons_Click},
        {mnuAcercade, &frmMain::mnuAcercade_Click},
    };
    // The View toggles flip their own check mark; undo the flip the click already made
    // before their handlers run (connections fire in the order they were made).
    for (QAction *toggle : {mnuViewToolbar, mnuViewStatusBar}) {
        connect(toggle, &QAction::triggered, this,
                [toggle] { toggle->setChecked(!toggle->isChecked()); }, Qt::DirectConnection);
    }
    for (const auto &[action, handler] : menuItems) {
        connect(action, &QAction::triggered, this, guarded(this, handler));
    }
}

void frmMain::connectButtons()
{
    const std::pair<QPushButton *, Handler> buttons[] = {
        {Command2, &frmMain::Command2_Click}, {Command3, &frmMain::Command3_Click},
        {Command4, &frmMain::Command4_Click}, {Command5, &frmMain::Command5_Click},
        {Command6, &frmMain::Command6_Click}, {Command7, &frmMain::Command7_Click},
        {Command8, &frmMain::Command8_Click}, {Command9, &frmMain::Command9_Click},
        {Command10, &frmMain::Command10_Click}, {Command11, &frmMain::Command11_Click},
        {Command12, &frmMain::Command12_Click}, {Command13, &frmMain::Command13_Click},
        {Command14, &frmMain::Command14_Click}, {Command15, &frmMain::Command15_Click},
        {Command16, &frmMain::Command16_Click}, {Command18, &frmMain::Command18_Click},
        {Command19, &frmMain::Command19_Click}, {Command20, &frmMain::Command20_Click},
    };
    // Formatting commands hand the keyboard back to the document, as the toolbar does, so
    // that typing goes on where it was.
    for (const auto &[button, handler] : buttons) {
        connect(button, &QPushButton::clicked, this, [this, run = guarded(this, handler)] {
            run();
            if (frmDocument *doc = activeDocument())
                doc->rtfText->setFocus(Qt::OtherFocusReason);
        });
    }
}
