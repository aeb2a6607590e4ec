#include "worksheet/page_pen.h"

#include "surface/fonts.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>

PagePen::PagePen(QPainter &painter, QRectF target)
    : m_painter(painter)
    , m_origin(target.topLeft())
    , m_scale(target.width() / paperSize().width())
    , m_dpi(painter.device() ? painter.device()->logicalDpiY() : 72)
{
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_painter.fillRect(target, Qt::white);
}

PagePen::~PagePen()
{
    m_painter.restore();
}

QFont PagePen::font(double points, bool bold) const
{
    QFont face(Fonts::layoutFace());
    face.setPointSizeF(points * m_scale * 72 / m_dpi);
    face.setBold(bold);
    return face;
}

QPen PagePen::pen(double width, QColor colour, Qt::PenStyle style) const
{
    return QPen(colour, width * m_scale, style, Qt::FlatCap, Qt::MiterJoin);
}

void PagePen::line(QPointF from, QPointF to, double width, QColor colour, Qt::PenStyle style)
{
    m_painter.setPen(pen(width, colour, style));
    m_painter.drawLine(at(from), at(to));
}

void PagePen::polyline(const QPolygonF &points, double width)
{
    QPolygonF mapped;
    for (const QPointF &p : points)
        mapped << at(p);
    m_painter.setPen(pen(width, PageInk::Black, Qt::SolidLine));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPolyline(mapped);
}

void PagePen::box(QRectF r, double width, QBrush fill)
{
    m_painter.setPen(pen(width, PageInk::Black, Qt::SolidLine));
    m_painter.setBrush(fill);
    m_painter.drawRect(at(r));
}

void PagePen::dot(QPointF centre, double radius)
{
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(PageInk::Black);
    m_painter.drawEllipse(at(centre), radius * m_scale, radius * m_scale);
}

void PagePen::text(QRectF box, int flags, const QString &text, double points, bool bold)
{
    m_painter.setFont(font(points, bold));
    m_painter.setPen(PageInk::Black);
    m_painter.drawText(at(box), flags, text);
}

void PagePen::textAt(QPointF baseline, const QString &text, double points, bool bold)
{
    m_painter.setFont(font(points, bold));
    m_painter.setPen(PageInk::Black);
    m_painter.drawText(at(baseline), text);
}

double PagePen::width(const QString &text, double points, bool bold) const
{
    return QFontMetricsF(font(points, bold), m_painter.device()).horizontalAdvance(text) / m_scale;
}

QString PagePen::elided(const QString &text, double width, double points, bool bold) const
{
    return QFontMetricsF(font(points, bold), m_painter.device()).elidedText(text, Qt::ElideRight, width * m_scale);
}
