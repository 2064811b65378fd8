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

// The script of the nearest letter before at in text, else of the nearest after it: 0 for
// none, 1 for one written left to right, 2 for a right-to-left one.
inline int scriptAround(QStringView text, qsizetype at)
{
    const auto script = [](QChar c) {
        return isRightToLeftScript(c.unicode()) ? 2 : c.isLetter() ? 1 : 0;
    };
    for (qsizetype i = at; i-- > 0;)
        if (const int s = script(text[i]))
            return s;
    for (qsizetype i = at; i < text.size(); ++i)
        if (const int s = script(text[i]))
            return s;
    return 0;
}

// Whether text at in a paragraph takes the right-to-left script's own properties.
inline bool inRightToLeftScript(QStringView paragraph, qsizetype at, QStringView text)
{
    return hasRightToLeftScript(text) || (isNeutralOnly(text) && scriptAround(paragraph, at) == 2);
}

} // namespace rtf
