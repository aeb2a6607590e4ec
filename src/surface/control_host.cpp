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

void ControlHost::setZoom(double zoom)
{
    if (zoom <= 0 || zoom == m_zoom)
        return;
    m_zoom = zoom;
    zoomChanged();
    update();
}

void ControlHost::setOrigin(QPoint origin)
{
    m_origin = origin;
    update();
}

void ControlHost::setLogicalSize(QSize size)
{
    m_logicalSize = size;
    zoomChanged();
    update();
}

QSize ControlHost::logicalSize() const
{
    if (m_logicalSize.isValid())
        return m_logicalSize;
    return QSize(qRound(width() / m_zoom), qRound(height() / m_zoom));
}

QPointF ControlHost::toContent(QPointF widgetPoint) const
{
    return (widgetPoint - QPointF(m_origin)) / m_zoom - QPointF(contentOffset());
}

QRect ControlHost::widgetRect(const QRectF &content) const
{
    if (content.isEmpty())
        return {};
    const QRectF shown(QPointF(m_origin) + (content.topLeft() + QPointF(contentOffset())) * m_zoom,
                       content.size() * m_zoom);
    // A pixel more all round for the painter's rounding at fractional zooms and ratios.
    return shown.toAlignedRect().adjusted(-1, -1, 1, 1);
}

void ControlHost::updateContent(const QRectF &content)
{
    const QRect r = widgetRect(content);
    if (!r.isEmpty())
        updateArea(r);
}

void ControlHost::updateArea(QRegion area)
{
    // Asked for here rather than by the paint (see paintEvent), so it takes no paint more.
    for (bool grown = true; grown;) {
        grown = false;
        for (const auto &control : m_controls) {
            if (!control->isVisible() || !control->dependsOnClip())
                continue;
            const QRect reach = widgetRect(control->bounds()) & rect();
            if (area.intersects(reach) && !(QRegion(reach) - area).isEmpty()) {
                area += reach;
                grown = true;
            }
        }
    }
    update(area);
}

void ControlHost::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(rect(), m_backColor);
    painter.translate(m_origin);
    painter.scale(m_zoom, m_zoom);
    paintLayer(painter);
    painter.setClipRect(contentRect(), Qt::IntersectClip);
    painter.translate(contentOffset());
    // Only the controls that reach into what is painted. One whose pixels depend on where
    // the clip starts, painted in part, is painted again where it can be seen (once), so it
    // ends as a full paint leaves it.
    const QRegion &dirty = event->region();
    QRegion whole;
    for (const auto &control : m_controls) {
        if (!control->isVisible())
            continue;
        const QRect reach = widgetRect(control->bounds());
        if (!dirty.intersects(reach))
            continue;
        if (control->dependsOnClip() && !(QRegion(reach) - dirty).isEmpty()) {
            const QRegion seen = visibleRegion() & reach;
            if (!(seen - dirty).isEmpty() && !(seen - m_askedWhole).isEmpty())
                whole += seen;
        }
        control->paint(painter);
    }
    m_askedWhole = whole;
    if (!whole.isEmpty())
        update(whole);
}

void ControlHost::paintLayer(QPainter &)
{
}
