#include "richtextbox.h"

#include "commondialog.h"
#include "retireddocument.h"
#include "rtfcodec.h"
#include "rtflistdocument.h"
#include "runtimefailure.h"
#include "workeraside.h"

#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QThread>

#include <memory>

namespace {

// The one place where a document for a load is made; on the reading thread.
// A ListDocument, as the control's own, so that Enter at the end of a long list read from
// the file costs no more than anywhere else.
std::unique_ptr<QTextDocument> freshDocument(const QFont &font)
{
    auto doc = std::make_unique<rtf::ListDocument>();
    doc->setDefaultFont(font);
    return doc;
}

} // namespace

void RichTextBox::LoadFile(const QString &path)
{
    // Read into a fresh document so that a failed load leaves the text as it was. A large
    // file takes seconds to read: it is read on a thread of its own, while this window
    // goes on painting and answering, and comes back to this thread whole.
    const QFont font = document()->defaultFont();
    QThread *home = thread();
    std::unique_ptr<QTextDocument> fresh;
    runAside(this, [&] {
        std::unique_ptr<QTextDocument> read = freshDocument(font);
        rtf::readFile(path, read.get());
        read->moveToThread(home);
        fresh = std::move(read);
    });
    QTextDocument *old = document();
    const bool ownsOld = old->parent() == this;
    fresh->setParent(this);
    resetWrapFloor();
    relayout([this, &fresh] { setDocument(fresh.release()); });
    viewToRestore = -1;
    if (ownsOld) {
        old->setParent(nullptr);
        retireDocument(old);
    }
    watchDocument();
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
    // What is printed: the selection, or a copy of the whole text without the page height
    // the control keeps for the screen, which the printer's pages replace.
    const QTextCursor cursor = textCursor();
    std::unique_ptr<QTextDocument> printed;
    if (cursor.hasSelection()) {
        printed = std::make_unique<QTextDocument>();
        printed->setDefaultFont(document()->defaultFont());
        QTextCursor(printed.get()).insertFragment(cursor.selection());
    } else {
        printed.reset(document()->clone());
        printed->setPageSize(QSizeF());
    }
    // What is printed depends on the selection alone, not on a range left in the printer.
    const QPrinter::PrintRange range = printer->printRange();
    const QPageRanges pages = printer->pageRanges();
    printer->setPrintRange(QPrinter::AllPages);
    printer->setPageRanges(QPageRanges());
    printed->print(printer);
    printer->setPrintRange(range);
    printer->setPageRanges(pages);
    if (printer->printerState() == QPrinter::Error || printer->printerState() == QPrinter::Aborted)
        throw RuntimeFailure(RuntimeFailure::Printing, QStringLiteral("Error de impresora"));
}
