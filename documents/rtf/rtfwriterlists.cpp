// The writer's lists: the list and override tables, and each item's marker text.
#include "rtfwriter.h"

#include "rtfunits.h"
#include "rtfwriterbytes.h"

#include <QTextList>

namespace rtf {

namespace {

int nfcForStyle(int style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman: return 1;
    case QTextListFormat::ListLowerRoman: return 2;
    case QTextListFormat::ListUpperAlpha: return 3;
    case QTextListFormat::ListLowerAlpha: return 4;
    case QTextListFormat::ListDecimal: return 0;
    default: return 23;
    }
}

const char *oldNumberingWord(int style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman: return "\\pnucrm";
    case QTextListFormat::ListLowerRoman: return "\\pnlcrm";
    case QTextListFormat::ListUpperAlpha: return "\\pnucltr";
    case QTextListFormat::ListLowerAlpha: return "\\pnlcltr";
    default: return "\\pndec";
    }
}

} // namespace

void Writer::writeListTables()
{
    if (m_lists.empty())
        return;
    m_out.append("{\\*\\listtable");
    for (size_t i = 0; i < m_lists.size(); ++i) {
        const int style = m_lists[i]->format().style();
        const int nfc = nfcForStyle(style);
        m_out.append("{\\list\\listtemplateid");
        appendInt(m_out, i + 1);
        for (int level = 0; level < 9; ++level) {
            word("{\\listlevel\\levelnfc", nfc);
            word("\\levelnfcn", nfc);
            m_out.append("\\leveljc0\\levelfollow0\\levelstartat1");
            if (nfc == 23) {
                m_out.append("{\\leveltext\\'01\\u8226 ?;}{\\levelnumbers;}");
            } else {
                m_out.append("{\\leveltext\\'02\\'0");
                appendInt(m_out, level);
                m_out.append(".;}{\\levelnumbers\\'01;}");
            }
            word("\\fi", -kListHangTwips);
            word("\\li", (level + 1) * 720);
            m_out.append('}');
        }
        word("\\listid", int(i + 1));
        m_out.append("}\n");
    }
    m_out.append("}\n{\\*\\listoverridetable");
    for (size_t i = 0; i < m_lists.size(); ++i) {
        word("{\\listoverride\\listid", int(i + 1));
        word("\\listoverridecount0\\ls", int(i + 1));
        m_out.append('}');
    }
    m_out.append("}\n");
}

void Writer::writeListText(const QTextBlock &block, const QTextList *list)
{
    const QTextListFormat lf = list->format();
    const int level = std::clamp(lf.indent(), 1, 9);
    // Readers that know only the older numbering see \pn; the others skip it.
    if (isBulletStyle(lf.style())) {
        m_out.append("{\\*\\pn\\pnlvlblt\\pnindent360{\\pntxtb\\'95}}{\\pntext\\'95\\tab}");
    } else {
        word("{\\*\\pn\\pnlvlbody", level);
        m_out.append(oldNumberingWord(lf.style()));
        m_out.append("\\pnstart1\\pnindent360{\\pntxta.}}{\\pntext ");
        writeText(list->itemText(block));
        m_out.append("\\tab}");
    }
}

} // namespace rtf
