#pragma once

#include <QRect>
#include <QSize>
#include <cmath>

// The layout is written in twips; the program works in logical pixels, 15 twips each.
// Every conversion between the two goes through here.
namespace Twips {

inline constexpr int PerPixel = 15;

inline int toPixels(int twips)
{
    return int(std::lround(double(twips) / PerPixel));
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

// A window's size is given as its outer size. The client area is that less a nominal
// frame of 8 px on the left, right and bottom and 31 px on top (border and caption), so
// the same outer size always yields the same client area whatever frame the desktop draws.
inline constexpr int FrameWidth = 16;
inline constexpr int FrameHeight = 39;

inline QSize clientSizeForOuter(int outerWidthTwips, int outerHeightTwips)
{
    return QSize(toPixels(outerWidthTwips) - FrameWidth, toPixels(outerHeightTwips) - FrameHeight);
}

} // namespace Twips
