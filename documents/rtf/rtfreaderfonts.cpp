// The reader's font table: each entry's number, character set and name.
#include "rtfreader.h"
#include "rtfunits.h"

namespace rtf {

bool Reader::applyFontTableOp(Op op, int value)
{
    if (op == Op::Font) { commitFont(); m_fontNumber = value; }
    else if (op == Op::FontCharset) m_fontCharset = value;
    else if (op == Op::FontCodePage) m_fontCodePage = value;
    else return false;
    return true;
}

void Reader::decodeFontBytes()
{
    const int codePage = m_fontCodePage ? m_fontCodePage : codePageForCharset(m_fontCharset);
    CodePage *cp = CodePage::get(codePage ? codePage : m_docCodePage);
    cp->append(m_fontText, m_fontName);
    m_fontName.clear();
}

void Reader::commitFont()
{
    if (m_fontName.isEmpty() && m_fontText.isEmpty() && m_fontCharset < 0 && m_fontCodePage == 0)
        return;
    Font f;
    f.codePage = m_fontCodePage ? m_fontCodePage : codePageForCharset(m_fontCharset);
    decodeFontBytes();
    // Formats take the list as it is, which saves making one for each. The name is kept
    // in a string of its own size; the one decoded into keeps its room for the next.
    if (QString family = fontTableName(m_fontText); !family.isEmpty()) {
        family.squeeze();
        f.families = QStringList{family};
    }
    m_fontText.resize(0);
    m_fonts.insert(m_fontNumber, f);
    m_fontCharset = -1;
    m_fontCodePage = 0;
    // Formats made before this font was known would name no family.
    m_formatIndex.clear();
    m_runFormat = -1;
    m_cpCached = nullptr;
}

} // namespace rtf
