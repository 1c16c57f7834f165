#pragma once
// The manual data window gives its lengths in twips (1/1440 inch) and its
// colours as 0x00BBGGRR numbers; these turn them into pixels and QColors.
#include <QColor>
#include <cmath>
#include <cstdint>

namespace avelin {

inline constexpr double kTwipsPerInch = 1440.0;

// Nearest whole pixel for a length in twips at `dpi` dots per inch.
inline int TwipsToPixels(double twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

inline double PixelsToTwips(int pixels, double dpi) {
    return pixels * kTwipsPerInch / dpi;
}

inline QColor ColourFromBgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace avelin
