#pragma once

// Twips and pixels at the screen's logical resolution (15 twips a pixel at 96 dpi). The
// codec has its own fixed scale (rtfunits.h); these follow the screen the windows are on.
double twipsPerScreenPixel();
int twipsToScreenPixels(double twips);
double screenPixelsToTwips(double pixels);
