#pragma once

#include <QTextFormat>
#include <QTextListFormat>

// What a list level of an RTF file says that Qt's lists cannot show: kept as properties of
// the QTextListFormat, so that the writer gives it back.
namespace rtf::listprop {

enum : int {
    Nfc = QTextFormat::UserProperty + 0x5200,  // int: \levelnfc
    LevelText,     // QString: \leveltext, level numbers as U+0000 to U+0008
    LevelNumbers,  // QByteArray: \levelnumbers, 1-based places of the level numbers
    Start,         // int: the first item's number
    BulletFont,    // QString: the family of a bullet's font
    Group,         // int: one number for the levels of one RTF list (its \ls)
    LevelLeft,     // int: the level's \li, twips
    LevelFirst,    // int: the level's \fi, twips
};

} // namespace rtf::listprop

namespace rtf {

// The style Qt draws a \levelnfc number format with: -1 for a bullet, whose look depends
// on its character, and no style for a level without numbers.
inline int styleForNfc(int nfc)
{
    switch (nfc) {
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    case 23: return -1;
    case 255: return QTextListFormat::ListStyleUndefined;
    default: return QTextListFormat::ListDecimal;
    }
}

// The \levelnfc of a style Qt draws: a bullet for the three bullet styles.
inline int nfcForStyle(int style)
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

} // namespace rtf
