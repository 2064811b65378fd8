#include "filecommands.h"

#include "commondialog.h"
#include "frmdocument.h"
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

namespace filecommands {

void open(const ActiveDocument &active, CommonDialog &dlg)
{
    const QString path = askFileName(dlg, QStringLiteral("Abrir"), true);
    if (path.isEmpty())
        return;
    frmDocument *doc = active();
    if (!doc)
        return;
    doc->rtfText->LoadFile(path);
    doc->setCaption(path);
}

void close(const ActiveDocument &active)
{
    if (frmDocument *doc = active())
        doc->rtfText->setText(QString());
}

void save(const ActiveDocument &active, CommonDialog &dlg)
{
    frmDocument *doc = active();
    if (!doc)
        return;
    QString path = doc->Caption();
    if (isUntitled(path)) {
        path = askFileName(dlg, QStringLiteral("Guardar"), false);
        if (path.isEmpty())
            return;
    }
    doc->rtfText->SaveFile(path);
}

void saveAs(const ActiveDocument &active, CommonDialog &dlg)
{
    if (!active())
        return;
    const QString path = askFileName(dlg, QStringLiteral("Guardar como"), false);
    frmDocument *doc = active();
    if (path.isEmpty() || !doc)
        return;
    doc->setCaption(path);
    doc->rtfText->SaveFile(path);
}

} // namespace filecommands
