#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <optional>

class QPainter;

// Drawing that gives the same pixels wherever it is done, on drawing layers and as
// controls: aliased, in the layout's logical pixels.

// The one way lines are drawn: aliased, square ends, so the same line gives the same
// pixels wherever it is drawn.
void drawAliasedLine(QPainter &painter, QPointF from, QPointF to, QColor color, int width);
// What an upright or level line covers: w pixels thick, floor(w / 2) of them before the
// line and the rest after it, square ends. Nothing for a slanted line.
std::optional<QRectF> levelLineRect(QPointF from, QPointF to, int width);

// The device pixels of the image that an aliased fill of a logical rectangle paints.
QRect filledPixels(const QImage &image, QRectF logical);
// Fills device pixels of a 32-bit image straight, without a painter's overhead for the
// many small rectangles.
void fillDevice(QImage &image, QRect device, QRgb value);
// Begins a painter on an image in the layout's logical pixels, whatever the image's ratio.
void beginOnLayer(QPainter &painter, QImage &image);
