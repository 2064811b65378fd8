#pragma once

#include <cmath>

// Lengths in the document are pixels at 96 dpi; RTF and the control speak twips.
namespace rtf {

constexpr double kTwipsPerPixel = 15.0;

inline double twipsToPixels(double twips) { return twips / kTwipsPerPixel; }
inline int pixelsToTwips(double pixels) { return int(std::lround(pixels * kTwipsPerPixel)); }

} // namespace rtf
