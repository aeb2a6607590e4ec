#include "surface/aliased_drawing.h"

#include <QPainter>
#include <cmath>

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
