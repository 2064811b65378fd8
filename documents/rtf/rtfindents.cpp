#include "rtfindents.h"

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
    return out;
}

} // namespace rtf
