#pragma once

#include <QTextFormat>

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
