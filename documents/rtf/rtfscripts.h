#pragma once

#include <QChar>
#include <QStringView>

// Right-to-left scripts: word processors give their text the associated (complex-script)
// bold, italic and size, \ab, \ai and \afs, instead of the run's own.
namespace rtf {

// Hebrew, Arabic, Syriac, Thaana, N'Ko and the scripts after them up to U+08FF, and the
// Hebrew and Arabic presentation forms.
inline bool isRightToLeftScript(char16_t c)
{
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF)
        || (c >= 0xFE70 && c <= 0xFEFE);
}

inline bool hasRightToLeftScript(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x0590 && isRightToLeftScript(c.unicode()))
            return true;
    return false;
}

// Spaces, digits and punctuation alone take the script of the text around them.
inline bool isNeutralOnly(QStringView text)
{
    for (const QChar c : text)
        if (c.isLetter() || isRightToLeftScript(c.unicode()))
            return false;
    return true;
}

// 0 for a character of no script, 1 for a letter written left to right, 2 for a right-to-left one.
inline int scriptOfChar(QChar c)
{
    return isRightToLeftScript(c.unicode()) ? 2 : c.isLetter() ? 1 : 0;
}

// The script of the nearest letter before a position in a paragraph, else of the nearest after
// it, asked for positions that never go back: the paragraph is read once, however many
// runs ask.
class ScriptsAround
{
public:
    explicit ScriptsAround(QStringView text) : m_text(text) { }

    int at(qsizetype at)
    {
        for (; m_read < at; ++m_read)
            if (const int s = scriptOfChar(m_text[m_read]))
                m_before = s;
        if (m_before)
            return m_before;
        // No letter before at: the first one after it is the first of the paragraph.
        if (m_after < 0) {
            m_after = 0;
            for (qsizetype i = at; i < m_text.size() && !m_after; ++i)
                m_after = scriptOfChar(m_text[i]);
        }
        return m_after;
    }

private:
    QStringView m_text;
    qsizetype m_read = 0;
    int m_before = 0;
    int m_after = -1;
};

// Whether text at in a paragraph takes the right-to-left script's own properties.
inline bool inRightToLeftScript(ScriptsAround &paragraph, qsizetype at, QStringView text)
{
    return hasRightToLeftScript(text) || (isNeutralOnly(text) && paragraph.at(at) == 2);
}

} // namespace rtf
