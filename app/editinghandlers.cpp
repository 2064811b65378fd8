#include "frmmain.h"

#include "clipboard.h"
#include "colorcommands.h"
#include "fontcommand.h"
#include "paragraph.h"
#include "quickformat.h"
#include "toolbardispatch.h"

#include <QLineEdit>

// The handlers of the toolbar, the Edit menu, the quick strip and the panel; the behaviour
// is the editing commands' own.

void frmMain::tbToolBar_ButtonClick(ToolbarButton *button)
{
    toolbardispatch::buttonClick(button, activeDocumentLookup(), {
        [this] { CreateDocumentWindow(); },
        [this] { mnuFileOpen_Click(); },
        [this] { mnuFileSave_Click(); },
        [this] { mnuFilePrint_Click(); },
        [this] { mnuEditCut_Click(); },
        [this] { mnuEditCopy_Click(); },
        [this] { mnuEditPaste_Click(); },
    });
}

void frmMain::mnuEditCut_Click() { clipboard::cut(activeDocumentLookup()); }
void frmMain::mnuEditCopy_Click() { clipboard::copy(activeDocumentLookup()); }
void frmMain::mnuEditPaste_Click() { clipboard::paste(activeDocumentLookup()); }

void frmMain::Command2_Click() { quickformat::apply(activeDocumentLookup(), "Command2"); }
void frmMain::Command3_Click() { quickformat::apply(activeDocumentLookup(), "Command3"); }
void frmMain::Command4_Click() { quickformat::apply(activeDocumentLookup(), "Command4"); }
void frmMain::Command5_Click() { quickformat::apply(activeDocumentLookup(), "Command5"); }
void frmMain::Command6_Click() { quickformat::apply(activeDocumentLookup(), "Command6"); }
void frmMain::Command7_Click() { quickformat::apply(activeDocumentLookup(), "Command7"); }
void frmMain::Command8_Click() { quickformat::apply(activeDocumentLookup(), "Command8"); }
void frmMain::Command9_Click() { quickformat::apply(activeDocumentLookup(), "Command9"); }
void frmMain::Command10_Click() { quickformat::apply(activeDocumentLookup(), "Command10"); }
void frmMain::Command11_Click() { quickformat::apply(activeDocumentLookup(), "Command11"); }
void frmMain::Command12_Click() { quickformat::apply(activeDocumentLookup(), "Command12"); }
void frmMain::Command13_Click() { quickformat::apply(activeDocumentLookup(), "Command13"); }

void frmMain::Command14_Click()
{
    paragraph::applyIndent(activeDocumentLookup(), Text1->text(), "SelRightIndent",
                           indentValue, this);
}

void frmMain::Command15_Click()
{
    paragraph::applyIndent(activeDocumentLookup(), Text2->text(), "SelIndent", indentValue, this);
}

void frmMain::Command16_Click() { paragraph::toggleBullet(activeDocumentLookup()); }

void frmMain::Command18_Click() { fontcommand::chooseFont(activeDocumentLookup(), *dialog); }

void frmMain::Command19_Click()
{
    colorcommands::backColor(activeDocumentLookup(), *colores, this);
}

void frmMain::Command20_Click() { colorcommands::textColor(activeDocumentLookup(), *colores); }
