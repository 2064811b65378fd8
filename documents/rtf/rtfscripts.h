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

} // namespace rtf
