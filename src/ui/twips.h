#pragma once

#include <QRect>
#include <QtMath>

// The layout is designed in twips (1440 per inch) and converted where it meets a
// widget, with the screen's logical DPI: 15 twips per pixel at 96 DPI.
inline constexpr int kTwipsPerInch = 1440;

inline int twipsToPixels(int twips, qreal logicalDpi)
{
    return qRound(twips * logicalDpi / kTwipsPerInch);
}

inline int pixelsToTwips(int pixels, qreal logicalDpi)
{
    return qRound(pixels * kTwipsPerInch / logicalDpi);
}

// A design rectangle (Left, Top, Width, Height in twips) in pixels. Both edges
// are converted, so neighbouring controls stay flush after rounding.
inline QRect twipsToPixels(const QRect &twips, qreal dpiX, qreal dpiY)
{
    const int left = twipsToPixels(twips.x(), dpiX);
    const int top = twipsToPixels(twips.y(), dpiY);
    const int right = twipsToPixels(twips.x() + twips.width(), dpiX);
    const int bottom = twipsToPixels(twips.y() + twips.height(), dpiY);
    return QRect(left, top, right - left, bottom - top);
}
