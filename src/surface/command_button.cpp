#include "surface/command_button.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

CommandButton::CommandButton(const QString &caption, QColor backColor, QWidget *parent)
    : QPushButton(caption, parent)
    , m_backColor(backColor)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CommandButton::event(QEvent *event)
{
    const bool handled = QPushButton::event(event);
    // The Fusion style, polishing a button, takes away its opaque painting and makes it
    // follow the pointer. This one paints every pixel itself and looks the same under the
    // pointer: the window behind it need not paint with it, nor it when the pointer passes.
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_Hover, false);
    }
    return handled;
}

void CommandButton::mouseReleaseEvent(QMouseEvent *event)
{
    // Qt paints a released button at once, then its click changes the window, which is
    // painted at the next turn of the event loop: the button comes up in that paint. (In a
    // browser each paint costs a call into the page, and often a frame of its own.)
    setUpdatesEnabled(false);
    QMetaObject::invokeMethod(this, [this] { setUpdatesEnabled(true); }, Qt::QueuedConnection);
    QPushButton::mouseReleaseEvent(event);
}

void CommandButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatio();
    // At a fractional ratio the button's pixels fall differently from a whole pixel of
    // the window than from its own corner, so it is painted in place.
    if (ratio != std::round(ratio)) {
        paintFace(painter);
        return;
    }
    Face &face = m_faces[isDown()];
    if (face.image.isNull() || !(face.look == look())) {
        face = { look(), QImage(size() * ratio, QImage::Format_RGB32) };
        face.image.setDevicePixelRatio(ratio);
        QPainter facePainter(&face.image);
        paintFace(facePainter);
    }
    painter.drawImage(0, 0, face.image);
}

CommandButton::Look CommandButton::look() const
{
    return { size(), devicePixelRatio(), text(), font(), isEnabled(), hasFocus() };
}

void CommandButton::paintCaption(QPainter &painter, const QRect &rect, const QColor &ink) const
{
    painter.setFont(font());
    painter.setPen(ink);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void CommandButton::paintFace(QPainter &painter) const
{
    const QRect r = rect();
    const bool sunken = isDown();
    painter.fillRect(r, m_backColor);

    const QColor light(255, 255, 255), shadow(128, 128, 128), dark(0, 0, 0);
    const QRect outer = r.adjusted(0, 0, -1, -1);
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    painter.setPen(sunken ? dark : light);
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(sunken ? light : dark);
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());
    painter.setPen(shadow);
    if (sunken) {
        painter.drawLine(inner.topLeft(), inner.topRight());
        painter.drawLine(inner.topLeft(), inner.bottomLeft());
    } else {
        painter.drawLine(inner.bottomLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomRight());
    }

    QRect textRect = r;
    if (sunken)
        textRect.translate(1, 1);
    if (isEnabled()) {
        paintCaption(painter, textRect, Qt::black);
    } else {
        // Etched caption, as disabled buttons show it.
        paintCaption(painter, textRect.translated(1, 1), light);
        paintCaption(painter, textRect, shadow);
    }

    if (hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(r.adjusted(3, 3, -4, -4));
    }
}
