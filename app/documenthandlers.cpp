#include "frmmain.h"

#include "filecommands.h"
#include "printcommands.h"

// The File menu's handlers; the behaviour is the documents' own.

void frmMain::mnuFileNew_Click()
{
    CreateDocumentWindow();
}

void frmMain::mnuFileOpen_Click()
{
    if (!activeDocument())
        CreateDocumentWindow();
    filecommands::open(activeDocumentLookup(), *dlgCommonDialog);
}

void frmMain::mnuFileClose_Click() { filecommands::close(activeDocumentLookup()); }
void frmMain::mnuFileSave_Click() { filecommands::save(activeDocumentLookup(), *dlgCommonDialog); }

void frmMain::mnuFileSaveAs_Click()
{
    filecommands::saveAs(activeDocumentLookup(), *dlgCommonDialog);
}

void frmMain::mnuFilePrint_Click()
{
    printcommands::print(activeDocumentLookup(), *dlgCommonDialog);
}

void frmMain::mnuFilePageSetup_Click() { printcommands::pageSetup(*dlgCommonDialog); }
