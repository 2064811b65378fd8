#include "frmdocument.h"
#include "frmmain.h"
#include "failures.h"
#include "richtextbox.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

RichTextBox &activeText(const frmMain &w)
{
    frmDocument *doc = w.activeDocument();
    if (!doc || !doc->rtfText)
        throw RuntimeFailure(RuntimeFailure::NoObject,
                             QStringLiteral("No hay ningún documento abierto."));
    return *doc->rtfText;
}

QClipboard &clipboard()
{
    QClipboard *board = QGuiApplication::clipboard();
    if (!board)
        throw RuntimeFailure(521, QStringLiteral("No se puede abrir el Portapapeles."));
    return *board;
}

// Copy as the first step of Cut and Copy: reading the selection comes first, so with
// no document the clipboard is never touched.
bool copySelection(const frmMain &w)
{
    bool copied = false;
    ignoreFailure([&] {
        const QString text = activeText(w).SelText();
        clipboard().setText(text, QClipboard::Clipboard);
        copied = true;
    });
    return copied;
}

} // namespace

void frmMain::mnuEditCopy_Click() { copySelection(*this); }

// The selection is removed only once it is safely on the clipboard, so a clipboard
// that cannot be reached never costs the user the cut text.
void frmMain::mnuEditCut_Click()
{
    if (!copySelection(*this))
        return;
    ignoreFailure([&] { activeText(*this).setSelText(QString()); });
}

void frmMain::mnuEditPaste_Click()
{
    QString text;
    bool read = false;
    ignoreFailure([&] {
        text = clipboard().text(QClipboard::Clipboard);
        read = true;
    });
    // A clipboard without text leaves the selection alone rather than deleting it.
    if (!read || text.isEmpty())
        return;
    ignoreFailure([&] { activeText(*this).setSelText(text); });
}
