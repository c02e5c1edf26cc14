#pragma once
// Window measures are designed in twips (1/1440 inch); widgets work in pixels. One conversion,
// through the screen's logical DPI, serves every layout.

#include <QPaintDevice>
#include <cmath>

constexpr double kTwipsPerInch = 1440.0;

inline int TwipsToPixels(double twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

inline double PixelsToTwips(double pixels, double dpi)
{
    return pixels * kTwipsPerInch / dpi;
}

// Horizontal and vertical conversions for a widget (or any paint device) on its screen.
inline int TwipsToPixelsX(const QPaintDevice& d, double twips)
{
    return TwipsToPixels(twips, d.logicalDpiX());
}
inline int TwipsToPixelsY(const QPaintDevice& d, double twips)
{
    return TwipsToPixels(twips, d.logicalDpiY());
}
inline double PixelsToTwipsX(const QPaintDevice& d, double px)
{
    return PixelsToTwips(px, d.logicalDpiX());
}
inline double PixelsToTwipsY(const QPaintDevice& d, double px)
{
    return PixelsToTwips(px, d.logicalDpiY());
}
