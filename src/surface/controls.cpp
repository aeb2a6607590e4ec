#include "surface/controls.h"

#include "surface/control_host.h"

#include <QFontMetricsF>
#include <QPainter>

LightControl::LightControl(ControlHost *host)
    : m_host(host)
{
}

void LightControl::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    changed();
}

void LightControl::changed()
{
    m_host->update();
}

LineControl::LineControl(ControlHost *host, QColor color, int width)
    : LightControl(host)
    , m_color(color)
    , m_width(width)
{
}

void LineControl::setX1(double v) { m_x1 = v; changed(); }
void LineControl::setY1(double v) { m_y1 = v; changed(); }
void LineControl::setX2(double v) { m_x2 = v; changed(); }
void LineControl::setY2(double v) { m_y2 = v; changed(); }

void LineControl::setEnds(double x1, double y1, double x2, double y2)
{
    setX1(x1);
    setY1(y1);
    setX2(x2);
    setY2(y2);
}

void LineControl::paint(QPainter &painter) const
{
    ControlHost::drawAliasedLine(painter, QPointF(m_x1, m_y1), QPointF(m_x2, m_y2), m_color, m_width);
}

ShapeControl::ShapeControl(ControlHost *host, QColor color, QSizeF size)
    : LightControl(host)
    , m_size(size)
    , m_color(color)
{
}

void ShapeControl::setLeft(double v) { m_left = v; changed(); }
void ShapeControl::setTop(double v) { m_top = v; changed(); }

void ShapeControl::paint(QPainter &painter) const
{
    const double d = qMin(m_size.width(), m_size.height());
    const QRectF circle(m_left + (m_size.width() - d) / 2, m_top + (m_size.height() - d) / 2, d, d);
    painter.save();
    painter.setPen(m_color);
    painter.setBrush(m_color);
    painter.drawEllipse(circle.adjusted(0, 0, -1, -1));
    painter.restore();
}

LabelControl::LabelControl(ControlHost *host, const QString &caption, const QFont &font, QColor foreColor)
    : LightControl(host)
    , m_caption(caption)
    , m_font(font)
    , m_foreColor(foreColor)
{
}

void LabelControl::setBackColor(QColor color) { m_backColor = color; changed(); }

void LabelControl::setCaption(const QString &caption)
{
    m_caption = caption;
    m_textReady = false;
    changed();
}

void LabelControl::setFont(const QFont &font)
{
    m_font = font;
    m_textReady = false;
    changed();
}
void LabelControl::setLeft(double v) { m_left = v; changed(); }
void LabelControl::setTop(double v) { m_top = v; changed(); }
void LabelControl::setSize(QSizeF size) { m_size = size; changed(); }

QRectF LabelControl::rect() const
{
    if (!m_size.isEmpty())
        return QRectF(QPointF(m_left, m_top), m_size);
    const QFontMetricsF metrics(m_font);
    return QRectF(m_left, m_top, metrics.horizontalAdvance(m_caption), metrics.height());
}

void LabelControl::paint(QPainter &painter) const
{
    const QRectF box = rect();
    painter.save();
    if (!isTransparent())
        painter.fillRect(box, m_backColor);
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setFont(m_font);
    painter.setPen(m_foreColor);
    if (!m_textReady) {
        m_text.setText(m_caption);
        m_text.setTextFormat(Qt::PlainText);
        m_text.setPerformanceHint(QStaticText::AggressiveCaching);
        m_textReady = true;
    }
    painter.drawStaticText(box.topLeft(), m_text);
    painter.restore();
}
