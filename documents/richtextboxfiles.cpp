#include "richtextbox.h"

#include "commondialog.h"
#include "rtfcodec.h"
#include "runtimefailure.h"

#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <memory>

void RichTextBox::LoadFile(const QString &path)
{
    // Read into a fresh document so that a failed load leaves the text as it was.
    auto fresh = std::make_unique<QTextDocument>();
    fresh->setDefaultFont(document()->defaultFont());
    rtf::readFile(path, fresh.get());
    QTextDocument *old = document();
    const bool ownsOld = old->parent() == this;
    fresh->setParent(this);
    relayout([this, &fresh] { setDocument(fresh.release()); });
    if (ownsOld)
        delete old;
    watchDocument();
    resetWrapFloor();
    // The content under the caret is new even when the caret's position is not.
    lastAnchor = lastPosition = -1;
    noteCursorMove();
}

void RichTextBox::SaveFile(const QString &path)
{
    rtf::writeFile(path, document());
}

void RichTextBox::SelPrint(qint32 hDC)
{
    QPrinter *printer = printerForHandle(hDC);
    if (!printer)
        throw RuntimeFailure(RuntimeFailure::Printing, QStringLiteral("Error de impresora"));
    const QTextCursor cursor = textCursor();
    std::unique_ptr<QTextDocument> selection;
    const QTextDocument *source = document();
    if (cursor.hasSelection()) {
        selection = std::make_unique<QTextDocument>();
        selection->setDefaultFont(document()->defaultFont());
        QTextCursor(selection.get()).insertFragment(cursor.selection());
    } else {
        // The page height the control keeps for the screen is not the printer's page.
        selection.reset(document()->clone());
        selection->setPageSize(QSizeF());
    }
    source = selection.get();
    // What is printed depends on the selection alone, not on a range left in the printer.
    const QPrinter::PrintRange range = printer->printRange();
    const QPageRanges pages = printer->pageRanges();
    printer->setPrintRange(QPrinter::AllPages);
    printer->setPageRanges(QPageRanges());
    source->print(printer);
    printer->setPrintRange(range);
    printer->setPageRanges(pages);
    if (printer->printerState() == QPrinter::Error || printer->printerState() == QPrinter::Aborted)
        throw RuntimeFailure(RuntimeFailure::Printing, QStringLiteral("Error de impresora"));
}
