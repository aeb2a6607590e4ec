#include "surface/controls.h"

#include "surface/aliased_drawing.h"
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
    m_host->updateContent(bounds());
}

void LightControl::changed(const QRectF &before)
{
    if (!m_visible)
        return;
    const QRectF after = bounds();
    m_host->updateContent(before);
    if (after != before)
        m_host->updateContent(after);
}

LineControl::LineControl(ControlHost *host, QColor color, int width)
    : LightControl(host)
    , m_color(color)
    , m_width(width)
{
}

void LineControl::setEnds(double x1, double y1, double x2, double y2)
{
    if (x1 == m_x1 && y1 == m_y1 && x2 == m_x2 && y2 == m_y2)
        return;
    const QRectF before = bounds();
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
    changed(before);
}

bool LineControl::dependsOnClip() const
{
    return !levelLineRect(QPointF(m_x1, m_y1), QPointF(m_x2, m_y2), m_width);
}

QRectF LineControl::bounds() const
{
    const QPointF from(m_x1, m_y1), to(m_x2, m_y2);
    if (const auto covered = levelLineRect(from, to, m_width))
        return *covered;
    // A slanted line's square ends reach half its width past them, diagonally.
    const int margin = qMax(1, m_width) + 2;
    return QRectF(from, to).normalized().adjusted(-margin, -margin, margin, margin);
}

void LineControl::paint(QPainter &painter) const
{
    drawAliasedLine(painter, QPointF(m_x1, m_y1), QPointF(m_x2, m_y2), m_color, m_width);
}

ShapeControl::ShapeControl(ControlHost *host, QColor color, QSizeF size)
    : LightControl(host)
    , m_size(size)
    , m_color(color)
{
}

void ShapeControl::setLeft(double v)
{
    reshape(m_left, v);
}

void ShapeControl::setTop(double v)
{
    reshape(m_top, v);
}

QRectF ShapeControl::bounds() const
{
    return QRectF(QPointF(m_left, m_top), m_size).adjusted(-1, -1, 1, 1);
}

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

void LabelControl::setBackColor(QColor color)
{
    reshape(m_backColor, color);
}

void LabelControl::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    const QRectF before = bounds();
    m_caption = caption;
    m_textReady = false;
    m_textSize = QSizeF();
    changed(before);
}

void LabelControl::setFont(const QFont &font)
{
    if (font == m_font)
        return;
    const QRectF before = bounds();
    m_font = font;
    m_textReady = false;
    m_textSize = QSizeF();
    changed(before);
}

void LabelControl::setLeft(double v)
{
    reshape(m_left, v);
}

void LabelControl::setTop(double v)
{
    reshape(m_top, v);
}

void LabelControl::setSize(QSizeF size)
{
    reshape(m_size, size);
}

QRectF LabelControl::rect() const
{
    if (!m_size.isEmpty())
        return QRectF(QPointF(m_left, m_top), m_size);
    if (!m_textSize.isValid()) {
        const QFontMetricsF metrics(m_font);
        m_textSize = QSizeF(metrics.horizontalAdvance(m_caption), metrics.height());
    }
    return QRectF(QPointF(m_left, m_top), m_textSize);
}

QRectF LabelControl::bounds() const
{
    // Everything it paints is clipped to its box.
    return rect();
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
