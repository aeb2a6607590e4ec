#include "surface/control_host.h"

#include <QPaintEvent>
#include <QPainter>

ControlHost::ControlHost(QWidget *parent)
    : QWidget(parent)
    , m_backColor(Qt::white)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ControlHost::setBackColor(QColor color)
{
    m_backColor = color;
    update();
}

void ControlHost::drawAliasedLine(QPainter &painter, QPointF from, QPointF to, QColor color, int width)
{
    QPen pen(color);
    pen.setWidth(qMax(1, width));
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.drawLine(from, to);
    painter.restore();
}

void ControlHost::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), m_backColor);
    paintLayer(painter);
    painter.setClipRect(contentRect(), Qt::IntersectClip);
    painter.translate(contentOffset());
    for (const auto &control : m_controls) {
        if (control->isVisible())
            control->paint(painter);
    }
}

void ControlHost::paintLayer(QPainter &)
{
}
