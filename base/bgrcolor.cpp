#include "bgrcolor.h"

#include <QColor>

QColor colorFromBgr(qint32 bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

qint32 bgrFromColor(const QColor &color)
{
    return qint32(color.red() | (color.green() << 8) | (color.blue() << 16));
}
