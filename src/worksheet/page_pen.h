#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;
class QPolygonF;

// The inks of the printed pages: black, and the greys of grids and fills, light on toner.
namespace PageInk {
inline const QColor Black(0, 0, 0);
inline const QColor Grid(160, 160, 160);
inline const QColor PaleFill(232, 232, 232);
} // namespace PageInk

// Draws an A4 page in points (1/72 inch, from the paper's top left corner) on a painter whose
// device may have any resolution. Everything is mapped to device coordinates here rather than
// by the painter's transform, so that text is laid out at the device's own resolution and
// keeps its spacing on paper.
class PagePen
{
public:
    // The paper fills the target, in the painter's device coordinates: white, drawn on
    // smoothly, and the painter as it was once the pen goes.
    PagePen(QPainter &painter, QRectF target);
    ~PagePen();
    PagePen(const PagePen &) = delete;
    PagePen &operator=(const PagePen &) = delete;

    // A4 portrait.
    static QSizeF paperSize() { return QSizeF(595.276, 841.89); }

    QPointF at(QPointF page) const { return m_origin + page * m_scale; }
    QRectF at(QRectF page) const { return QRectF(at(page.topLeft()), page.size() * m_scale); }

    QFont font(double points, bool bold = false) const;

    void line(QPointF from, QPointF to, double width, QColor colour = PageInk::Black, Qt::PenStyle style = Qt::SolidLine);
    void polyline(const QPolygonF &points, double width);
    void box(QRectF r, double width, QBrush fill = Qt::NoBrush);
    void dot(QPointF centre, double radius);

    // Text aligned in a box of the page.
    void text(QRectF box, int flags, const QString &text, double points, bool bold = false);
    // Text from a point on its baseline.
    void textAt(QPointF baseline, const QString &text, double points, bool bold = false);

    double width(const QString &text, double points, bool bold = false) const;
    // The text cut with an ellipsis to the width, in points.
    QString elided(const QString &text, double width, double points, bool bold = false) const;

private:
    QPen pen(double width, QColor colour, Qt::PenStyle style) const;

    QPainter &m_painter;
    QPointF m_origin;
    double m_scale;
    double m_dpi;
};
