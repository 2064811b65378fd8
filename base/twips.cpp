#include "twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

double twipsPerScreenPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int twipsToScreenPixels(double twips)
{
    return int(std::lround(twips / twipsPerScreenPixel()));
}

double screenPixelsToTwips(double pixels)
{
    return pixels * twipsPerScreenPixel();
}
