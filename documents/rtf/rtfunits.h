#pragma once

#include <algorithm>
#include <climits>
#include <cmath>

#include <QString>
#include <QTextList>
#include <QTextListFormat>

// Lengths in the document are pixels at 96 dpi; RTF and the control speak twips.
namespace rtf {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kMaxColumnTwips = 31680;   // 22 inches, the widest page word processors offer

inline double twipsToDocPixels(double twips) { return twips / kTwipsPerPixel; }
// Saturates at half the int range, so that callers may still add a hanging indent.
inline int pixelsToTwips(double pixels)
{
    const double twips = std::round(pixels * kTwipsPerPixel);
    if (std::isnan(twips))
        return 0;
    return int(std::clamp(twips, double(INT_MIN / 2), double(INT_MAX / 2)));
}

// Disc, circle and square lists are bullets; every other style numbers its items.
inline bool isBulletStyle(int style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare;
}
inline bool isBulletList(const QTextList *list)
{
    return list && isBulletStyle(list->format().style());
}

// A family name as a font table can carry it: no control characters, no ';' (which ends
// the entry), nothing the table drops, no surrounding spaces. The reader and the writer
// both apply it, so that a name written is the name read back.
inline QString fontTableName(QString name)
{
    name.removeIf([](QChar c) {
        return c.unicode() < 0x20 || c == u';' || c == QChar(0x2028) || c == QChar(0x2029)
            || c == QChar(0xFFFC);
    });
    return name.trimmed();
}

} // namespace rtf
