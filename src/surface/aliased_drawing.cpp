#include "surface/aliased_drawing.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

std::optional<QRectF> levelLineRect(QPointF from, QPointF to, int width)
{
    if (from.x() != to.x() && from.y() != to.y())
        return std::nullopt;
    width = qMax(1, width);
    auto snap = [](double v) { return std::floor(v + 0.5); };
    const double x1 = snap(qMin(from.x(), to.x())), x2 = snap(qMax(from.x(), to.x()));
    const double y1 = snap(qMin(from.y(), to.y())), y2 = snap(qMax(from.y(), to.y()));
    const int before = width / 2, after = width - before;
    return QRectF(QPointF(x1 - before, y1 - before), QPointF(x2 + after, y2 + after));
}

void drawAliasedLine(QPainter &painter, QPointF from, QPointF to, QColor color, int width)
{
    // Drawn as the rectangle it covers, the same line covers the same logical pixels at
    // any zoom.
    if (const auto covered = levelLineRect(from, to, width)) {
        painter.fillRect(*covered, color);
        return;
    }
    width = qMax(1, width);
    QPen pen(color);
    pen.setWidth(width);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.drawLine(from, to);
    painter.restore();
}

QRect filledPixels(const QImage &image, QRectF logical)
{
    // Every device pixel whose centre lies inside: the same as an aliased fill.
    const qreal ratio = image.devicePixelRatio();
    auto device = [ratio](double v) { return int(std::ceil(v * ratio - 0.5)); };
    const int left = qMax(0, device(logical.left())), right = qMin(image.width(), device(logical.right()));
    const int top = qMax(0, device(logical.top())), bottom = qMin(image.height(), device(logical.bottom()));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void fillDevice(QImage &image, QRect r, QRgb value)
{
    r &= image.rect();
    if (r.isEmpty())
        return;
    // A wide rectangle's first row by hand, the others copied from it.
    uchar *const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    QRgb *const first = reinterpret_cast<QRgb *>(bits + r.top() * stride) + r.left();
    if (r.width() < 16) {
        // An upright line: down the rows, a few pixels each.
        uchar *row = reinterpret_cast<uchar *>(first);
        for (int y = r.top(); y <= r.bottom(); ++y, row += stride)
            std::fill_n(reinterpret_cast<QRgb *>(row), r.width(), value);
        return;
    }
    std::fill(first, first + r.width(), value);
    for (int y = r.top() + 1; y <= r.bottom(); ++y)
        std::memcpy(reinterpret_cast<QRgb *>(bits + y * stride) + r.left(), first, size_t(r.width()) * sizeof(QRgb));
}

void beginOnLayer(QPainter &painter, QImage &image)
{
    painter.begin(&image);
    // Qt 6.4's QPainter applies an image's pixel ratio only from 1 up, Qt 6.8's any ratio: a
    // layer shown smaller than the layout (a whole window fitted to a small screen) is scaled
    // here by what the painter left out, as the direct fills scale themselves.
    const qreal ratio = image.devicePixelRatio(), applied = painter.deviceTransform().m11();
    if (!qFuzzyCompare(ratio, applied))
        painter.scale(ratio / applied, ratio / applied);
}
