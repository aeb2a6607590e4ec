#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

// Paints every pixel 4-connected to the seed that is not of exactly the border colour,
// stopping at border pixels. A seed on a border pixel, or outside the image, paints
// nothing. Returns the number of pixels painted; their bounding rectangle goes to *painted.
int floodFillToBorder(QImage &image, QPoint seed, QRgb border, QRgb fill, QRect *painted = nullptr);
