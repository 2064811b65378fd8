#include "commondialog.h"
#include "frmdocument.h"
#include "frmmain.h"
#include "richtextbox.h"

namespace {

const QString fileFilter = QStringLiteral("Archivos de texto (*.txt)|*.txt");

// The caption is the document's only record of its file: numbered captions mean none.
bool isUntitled(const QString &caption)
{
    return caption.left(8) == QLatin1String("Document");
}

// Shows a file dialog on the shared control; an empty result means the user cancelled.
QString askFileName(CommonDialog &dlg, const QString &title, bool open)
{
    dlg.DialogTitle = title;
    dlg.CancelError = false;
    dlg.Filter = fileFilter;
    if (open)
        dlg.ShowOpen();
    else
        dlg.ShowSave();
    return dlg.FileName;
}

} // namespace

void frmMain::mnuFileNew_Click()
{
    CreateDocumentWindow();
}

void frmMain::mnuFileOpen_Click()
{
    if (!activeDocument())
        CreateDocumentWindow();
    const QString path = askFileName(*dlgCommonDialog, QStringLiteral("Abrir"), true);
    if (path.isEmpty())
        return;
    frmDocument *doc = activeDocument();
    if (!doc)
        return;
    doc->rtfText->LoadFile(path);
    doc->setCaption(path);
}

void frmMain::mnuFileClose_Click()
{
    if (frmDocument *doc = activeDocument())
        doc->rtfText->setText(QString());
}

void frmMain::mnuFileSave_Click()
{
    frmDocument *doc = activeDocument();
    if (!doc)
        return;
    QString path = doc->Caption();
    if (isUntitled(path)) {
        path = askFileName(*dlgCommonDialog, QStringLiteral("Guardar"), false);
        if (path.isEmpty())
            return;
    }
    doc->rtfText->SaveFile(path);
}

void frmMain::mnuFileSaveAs_Click()
{
    if (!activeDocument())
        return;
    const QString path = askFileName(*dlgCommonDialog, QStringLiteral("Guardar como"), false);
    frmDocument *doc = activeDocument();
    if (path.isEmpty() || !doc)
        return;
    doc->setCaption(path);
    doc->rtfText->SaveFile(path);
}
