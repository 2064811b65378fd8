#pragma once

#include <algorithm>
#include <climits>
#include <cmath>

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

} // namespace rtf
