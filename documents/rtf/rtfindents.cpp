#include "rtfindents.h"

#include "rtfkept.h"
#include "rtfunits.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace rtf {

Indents paragraphIndents(const QTextBlock &block)
{
    const QTextBlockFormat f = block.blockFormat();
    const QTextList *list = block.textList();
    const double listIndent = list ? list->format().indent() * block.document()->indentWidth() : 0;
    Indents out;
    out.left = pixelsToTwips(f.leftMargin() + listIndent);
    out.right = pixelsToTwips(f.rightMargin());
    out.first = pixelsToTwips(f.textIndent()) - (list ? kListHangTwips : 0);
    // A first line the file started past the page's edge, drawn from the edge while the
    // indents are as they were read.
    if (Q_UNLIKELY(f.hasProperty(KeptFirstIndent))) {
        const int start = f.layoutDirection() == Qt::RightToLeft ? out.right : out.left;
        if (out.first == -start)
            out.first = f.intProperty(KeptFirstIndent);
    }
    return out;
}

} // namespace rtf
