// The lists of ListDocument. They reach into Qt's private list of a group's blocks, which
// the exact Qt they are built against defines (the private headers check its version).
#include "rtflistdocument.h"

#include <QTextBlock>
#include <QTextList>
#include <private/qtextdocument_p.h>
#include <private/qtextobject_p.h>

namespace rtf {

namespace {

class AppendingList : public QTextList
{
public:
    using QTextList::QTextList;

protected:
    void blockInserted(const QTextBlock &block) override
    {
        auto *d = static_cast<QTextBlockGroupPrivate *>(d_ptr.data());
        if (d->blocks.isEmpty() || !(d->blocks.constLast() < block)) {
            QTextList::blockInserted(block);
            return;
        }
        // Where Qt's own insertion would put it, marked for layout as Qt marks each item.
        d->blocks.append(block);
        d->pieceTable->documentChange(block.position(), block.length());
    }
};

} // namespace

ListDocument::ListDocument(QObject *parent)
    : QTextDocument(parent)
{
}

QTextObject *ListDocument::createObject(const QTextFormat &format)
{
    if (format.isListFormat())
        return new AppendingList(this);
    return QTextDocument::createObject(format);
}

} // namespace rtf
