#include "clipboard.h"

#include "failures.h"
#include "richtextbox.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

QClipboard &systemClipboard()
{
    QClipboard *board = QGuiApplication::clipboard();
    if (!board)
        throw RuntimeFailure(RuntimeFailure::ClipboardUnavailable,
                             QStringLiteral("No se puede abrir el Portapapeles."));
    return *board;
}

// Copy as the first step of Cut and Copy: reading the selection comes first, so with
// no document the clipboard is never touched.
bool copySelection(const ActiveDocument &active)
{
    bool copied = false;
    ignoreFailure([&] {
        const QString text = activeText(active).SelText();
        systemClipboard().setText(text, QClipboard::Clipboard);
        copied = true;
    });
    return copied;
}

} // namespace

namespace clipboard {

void copy(const ActiveDocument &active) { copySelection(active); }

// The selection is removed only once it is safely on the clipboard, so a clipboard
// that cannot be reached never costs the user the cut text.
void cut(const ActiveDocument &active)
{
    if (!copySelection(active))
        return;
    ignoreFailure([&] { activeText(active).setSelText(QString()); });
}

void paste(const ActiveDocument &active)
{
    QString text;
    bool read = false;
    ignoreFailure([&] {
        text = systemClipboard().text(QClipboard::Clipboard);
        read = true;
    });
    // A clipboard without text leaves the selection alone rather than deleting it.
    if (!read || text.isEmpty())
        return;
    ignoreFailure([&] { activeText(active).setSelText(text); });
}

} // namespace clipboard
