#pragma once

#include "activedocument.h"
#include "mainform.h"

#include <QMainWindow>

class CommonDialog;
class Form1;
class ImageList;
class QAction;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolBar;
class RichTextBox;
class Toolbar;
class ToolbarButton;
class frmDocument;

// The main window: a multiple-document frame. The handlers are its members, defined in
// app/; where the behaviour belongs to a subsystem, the handler calls that subsystem's
// function. app/frmmainconnections.cpp connects them all.
class frmMain : public QMainWindow, public MainForm
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // The active document window, looked up afresh; nullptr when none is open.
    frmDocument *activeDocument() const;
    QList<frmDocument *> documents() const;
    void showSelectionState(const RichTextBox &rtfText) override;

    // Document windows made so far; never decreased.
    qint32 documentCount = 0;

    // Makes, numbers, shows and captions a document window (public for the tests).
    void CreateDocumentWindow();

    // Placement in twips, screen coordinates, outer frame.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    int WindowState() const;       // 0 normal, 1 minimised, 2 maximised

    // Lifecycle (app/frmmain.cpp).
    void MDIForm_Load();
    void MDIForm_Unload(int &Cancel);
    void mnuFileExit_Click();
    // View and window commands (app/viewcommands.cpp).
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuOptionsPage_Click();
    void mnuWindowNewWindow_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowArrangeIcons_Click();
    void mnuAcercade_Click();
    void Arrange(int code);        // 0 cascade, 1 tile horizontal, 2 tile vertical, 3 icons
    // File commands (app/documenthandlers.cpp, calling documents/filecommands.cpp).
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    // Printing (app/documenthandlers.cpp, calling documents/printcommands.cpp).
    void mnuFilePrint_Click();
    void mnuFilePageSetup_Click();
    // Editing (app/editinghandlers.cpp, calling the commands of editing/).
    void tbToolBar_ButtonClick(ToolbarButton *button);
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    void Command15_Click();
    void Command16_Click();
    void Command18_Click();
    void Command19_Click();
    void Command20_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The widgets, each named (objectName too) as the design names it; tests find them
    // with findChild by that name.
    QMdiArea *mdiArea = nullptr;

    // Menus and their items.
    QMenu *mnuFile = nullptr, *mnuEdit = nullptr, *mnuView = nullptr, *mnuWindow = nullptr,
          *mnuHelp = nullptr;
    QAction *mnuFileNew = nullptr, *mnuFileOpen = nullptr, *mnuFileClose = nullptr,
            *mnuFileBar0 = nullptr, *mnuFileSave = nullptr, *mnuFileSaveAs = nullptr,
            *mnuFileBar1 = nullptr, *mnuFilePageSetup = nullptr, *mnuFilePrint = nullptr,
            *mnuFileBar4 = nullptr, *mnuFileBar5 = nullptr, *mnuFileExit = nullptr;
    QAction *mnuFileMRU[4] = {};   // indices 1 to 3; always hidden
    QAction *mnuEditCut = nullptr, *mnuEditCopy = nullptr, *mnuEditPaste = nullptr;
    QAction *mnuViewToolbar = nullptr, *mnuViewStatusBar = nullptr;
    QAction *mnuOptionsPage = nullptr, *mnuWindowNewWindow = nullptr, *mnuWindowBar0 = nullptr,
            *mnuWindowCascade = nullptr, *mnuWindowTileHorizontal = nullptr,
            *mnuWindowTileVertical = nullptr, *mnuWindowArrangeIcons = nullptr;
    QAction *mnuAcercade = nullptr;

    // Bars and panel.
    Toolbar *tbToolBar = nullptr;
    ImageList *imlToolbarIcons = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QPushButton *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
                *Command5 = nullptr, *Command6 = nullptr, *Command7 = nullptr,
                *Command8 = nullptr, *Command9 = nullptr, *Command10 = nullptr,
                *Command11 = nullptr, *Command12 = nullptr, *Command13 = nullptr,
                *Command16 = nullptr, *Command18 = nullptr;
    QDockWidget *propiedades = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr;
    QPushButton *Command14 = nullptr, *Command15 = nullptr, *Command19 = nullptr,
                *Command20 = nullptr;
    QStatusBar *sbStatusBar = nullptr;

    // The three dialog controls.
    CommonDialog *dlgCommonDialog = nullptr;
    CommonDialog *colores = nullptr;
    CommonDialog *dialog = nullptr;

    ActiveDocument activeDocumentLookup() const;
    void buildMenus();
    void buildToolbar();
    void buildQuickStrip();
    void buildPanel();
    void buildStatusBar();
    void connectHandlers();
    void connectMenus();
    void connectButtons();
    void rebuildWindowList();      // the document entries below the Window menu's items
    void tileNonMinimised(bool stacked);
    void lineUpMinimised();
    QList<QAction *> windowListActions;
    bool loaded = false;
    qint16 indentValue = 0;        // the last indent an indent button converted
};
