#include "worksheet/page_figure.h"

#include "worksheet/page_pen.h"

#include <QPolygonF>

namespace PageFigure {

void draw(PagePen &pen, const AreaFunction::Columns &columns, QPointF a)
{
    constexpr double cm = 72 / 2.54;
    const QPointF b(a.x(), a.y() + AreaFunction::EnvelopeHeight * cm);
    const QPointF c(a.x() + AreaFunction::Length * cm, b.y()), d(c.x(), a.y());
    auto piece = [&](size_t i) {
        const double height = heightOf(columns[i]);
        return QRectF(b.x() + AreaFunction::ColumnWidth * cm * double(i), b.y() - height * cm,
                      AreaFunction::ColumnWidth * cm, height * cm);
    };

    // The pieces, pale so that the squares show through and the sheet prints light.
    for (size_t i = 0; i < columns.size(); ++i) {
        if (heightOf(columns[i]) > 0)
            pen.box(piece(i), 0, PageInk::PaleFill);
    }
    // 1 cm squares to count by, the 2 cm columns a little stronger.
    for (int i = 1; i < AreaFunction::Length; ++i) {
        const bool column = i % int(AreaFunction::ColumnWidth) == 0;
        pen.line(QPointF(b.x() + i * cm, a.y()), QPointF(b.x() + i * cm, b.y()), column ? 0.6 : 0.4,
                 column ? QColor(110, 110, 110) : PageInk::Grid, column ? Qt::DashLine : Qt::DotLine);
    }
    for (int j = 1; j < AreaFunction::EnvelopeHeight; ++j)
        pen.line(QPointF(a.x(), b.y() - j * cm), QPointF(d.x(), b.y() - j * cm), 0.4, PageInk::Grid, Qt::DotLine);
    for (size_t i = 0; i < columns.size(); ++i) {
        if (heightOf(columns[i]) > 0)
            pen.box(piece(i), 1.2);
    }

    // The envelope with its flap open at AB, where the figure comes out.
    pen.polyline(QPolygonF({ a, d, c, b, a }), 1.4);
    pen.polyline(QPolygonF({ a, a + QPointF(-cm, 0.75 * cm), b + QPointF(-cm, -0.75 * cm), b }), 0.8);

    const double arrowY = a.y() + 3 * cm;
    const QPointF tip(b.x() - 3.6 * cm, arrowY), tail(b.x() - 1.4 * cm, arrowY);
    pen.line(tail, tip, 1.2);
    pen.polyline(QPolygonF({ tip + QPointF(7, -4.5), tip, tip + QPointF(7, 4.5) }), 1.2);
    pen.text(QRectF(tip.x(), arrowY - 22, tail.x() - tip.x(), 16), Qt::AlignCenter, QStringLiteral("引き出す"), 10);

    pen.textAt(a + QPointF(-6, -6), QStringLiteral("A"), 12);
    pen.textAt(d + QPointF(-2, -6), QStringLiteral("D"), 12);
    pen.textAt(b + QPointF(3, 15), QStringLiteral("B"), 12);
    pen.textAt(c + QPointF(-4, 15), QStringLiteral("C"), 12);
    pen.dot(b, 2.4);
    pen.textAt(b + QPointF(-13, 15), QStringLiteral("P"), 12);
    pen.text(QRectF(b.x(), b.y() + 4, c.x() - b.x(), 18), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("10cm"), 11);
    pen.text(QRectF(c.x() + 5, a.y(), 40, c.y() - a.y()), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("6cm"), 11);
}

} // namespace PageFigure
