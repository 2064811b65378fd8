// The reader's fields: hyperlinks become anchors on the field's result.
#include "rtfreader.h"

#include <QRegularExpression>

namespace rtf {

void Reader::finishField()
{
    static const QRegularExpression link(
        QStringLiteral(R"re(^\s*HYPERLINK\s+(?:\\l\s+)?"?([^"\s]*)"?(?:\s+\\l\s+"([^"]*)")?)re"));
    const auto m = link.match(m_fieldInstruction);
    if (!m.hasMatch())
        return;
    QString target = m.captured(1);
    if (!m.captured(2).isEmpty())
        target += QLatin1Char('#') + m.captured(2);
    else if (m_fieldInstruction.contains(QLatin1String("\\l")) && !target.startsWith('#'))
        target.prepend(QLatin1Char('#'));
    m_hrefs.append(target);
    top().chr.href = int(m_hrefs.size() - 1);
}

} // namespace rtf
