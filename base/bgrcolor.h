#pragma once

#include <QtGlobal>

class QColor;

// Colours as the controls and the dialog control hold them: 32-bit 0x00BBGGRR integers.
QColor colorFromBgr(qint32 bgr);
qint32 bgrFromColor(const QColor &color);
