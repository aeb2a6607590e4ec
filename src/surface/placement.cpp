#include "surface/placement.h"

#include "surface/control_host.h"

#include <cmath>

QRect Placement::scaled(QRect logical, double zoom)
{
    // Both corners are rounded, so neighbouring controls stay neighbours.
    const int left = int(std::lround(logical.left() * zoom));
    const int top = int(std::lround(logical.top() * zoom));
    const int right = int(std::lround((logical.left() + logical.width()) * zoom));
    const int bottom = int(std::lround((logical.top() + logical.height()) * zoom));
    return QRect(left, top, right - left, bottom - top);
}

Placement::Entry &Placement::entry(QWidget *widget)
{
    for (Entry &e : m_entries) {
        if (e.widget == widget)
            return e;
    }
    m_entries.push_back({ widget, std::nullopt, std::nullopt });
    return m_entries.back();
}

void Placement::place(QWidget *widget, QRect logical)
{
    Entry &e = entry(widget);
    e.rect = logical;
    applyTo(e);
}

void Placement::setFont(QWidget *widget, const QFont &font)
{
    Entry &e = entry(widget);
    e.font = font;
    applyTo(e);
}

void Placement::applyTo(Entry &e)
{
    QWidget *widget = e.widget;
    if (!widget)
        return;
    if (e.font) {
        QFont font = *e.font;
        font.setPointSizeF(e.font->pointSizeF() * m_zoom);
        widget->setFont(font);
    }
    if (e.rect) {
        QRect r = scaled(*e.rect, m_zoom);
        if (widget->parentWidget() == m_root)
            r.translate(m_origin);
        if (auto *host = dynamic_cast<ControlHost *>(widget)) {
            host->setLogicalSize(e.rect->size());
            host->setZoom(m_zoom);
        }
        widget->setGeometry(r);
    }
}

void Placement::apply(double zoom, QPoint origin)
{
    m_zoom = zoom;
    m_origin = origin;
    for (Entry &e : m_entries)
        applyTo(e);
}
