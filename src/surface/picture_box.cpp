#include "surface/picture_box.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

namespace {

// Posted at the first touch of the layer after the screen was last told: it runs before
// the repaint Qt posts at a lower priority, so that repaint already covers what changed.
const QEvent::Type DamageEvent = QEvent::Type(QEvent::registerEventType());

} // namespace

PictureBox::PictureBox(QWidget *parent)
    : ControlHost(parent)
{
    setAttribute(Qt::WA_StaticContents);
    m_drawing.setViewer(this);
}

QRect PictureBox::contentRect() const
{
    return QRect(QPoint(), logicalSize()).adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
}

void PictureBox::fitLayer()
{
    if (!m_drawing.resize(contentSize().expandedTo(QSize(1, 1)), devicePixelRatioF() * zoom()))
        return;
    m_damage.showAfresh(m_drawing.image());
    update();
}

void PictureBox::layerTouched(QRect device)
{
    m_damage.touch(device);
    if (!m_damagePosted) {
        m_damagePosted = true;
        QCoreApplication::postEvent(this, new QEvent(DamageEvent));
    }
}

void PictureBox::flushDamage()
{
    const std::vector<QRect> damage = m_damage.takeDamage(m_drawing.image());
    if (damage.empty())
        return;
    // Where the paint puts the layer's pixels: one to one on the screen's, from a whole
    // widget pixel (see paintLayer).
    const qreal ratio = devicePixelRatioF();
    const QPointF corner = QPointF(origin()) + QPointF(contentOffset()) * zoom();
    const QPointF shownAt(std::round(corner.x()), std::round(corner.y()));
    const int margin = qFuzzyCompare(ratio, std::round(ratio)) ? 0 : 1;
    QRegion region;
    for (const QRect &r : damage)
        region += QRectF(shownAt + QPointF(r.topLeft()) / ratio, QSizeF(r.size()) / ratio)
                      .toAlignedRect()
                      .adjusted(-margin, -margin, margin, margin);
    updateArea(region);
}

bool PictureBox::event(QEvent *event)
{
    if (event->type() == DamageEvent) {
        m_damagePosted = false;
        flushDamage();
        return true;
    }
    return ControlHost::event(event);
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    // Whatever changed is asked for before this paint: a paint that comes first (a grab,
    // an expose) must not leave the screen's copy behind the screen.
    flushDamage();
    ControlHost::paintEvent(event);
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    ControlHost::resizeEvent(event);
    fitLayer();
}

void PictureBox::zoomChanged()
{
    fitLayer();
}

void PictureBox::changeEvent(QEvent *event)
{
    // Moved to a screen of another pixel ratio: draw everything again at its resolution.
    if (event->type() == QEvent::ScreenChangeInternal)
        fitLayer();
    ControlHost::changeEvent(event);
}

void PictureBox::setBackColor(QColor color)
{
    ControlHost::setBackColor(color);
    m_drawing.setBackColor(color);
}

void PictureBox::paintLayer(QPainter &painter)
{
    const QRectF outer(0, 0, logicalSize().width(), logicalSize().height());
    // Sunken border: dark above and left, light below and right.
    auto edge = [&](QRectF r, QColor topLeft, QColor bottomRight) {
        const double w = r.width(), h = r.height();
        painter.fillRect(QRectF(r.left(), r.top(), w, 1), topLeft);
        painter.fillRect(QRectF(r.left(), r.top(), 1, h), topLeft);
        painter.fillRect(QRectF(r.left(), r.bottom() - 1, w, 1), bottomRight);
        painter.fillRect(QRectF(r.right() - 1, r.top(), 1, h), bottomRight);
    };
    edge(outer, QColor(128, 128, 128), QColor(255, 255, 255));
    edge(outer.adjusted(1, 1, -1, -1), QColor(64, 64, 64), QColor(212, 208, 200));

    // The screen's pixel ratio may have changed under the window (a browser's zoom), with
    // no event to say so: the layer is drawn again at the new one.
    fitLayer();
    // Painted into a picture of another resolution than the screen's (a picture saved at
    // twice the size): the kept calls are drawn again at that resolution, so the picture
    // is as sharp as the window would be at that zoom instead of a stretched copy.
    const QImage layer = m_drawing.layerAt(painter.deviceTransform().m11());
    // Drawn at a whole widget pixel, so that its pixels land one to one on the screen's.
    const QPointF corner = painter.transform().map(QPointF(contentOffset()));
    painter.save();
    painter.resetTransform();
    const QSizeF shown = layer.deviceIndependentSize() * zoom();
    painter.drawImage(QRectF(QPointF(std::round(corner.x()), std::round(corner.y())), shown), layer);
    painter.restore();
}

void PictureBox::dispatchMouse(const MouseHandler &handler, QMouseEvent *event, Qt::MouseButtons buttons)
{
    if (!handler) {
        event->ignore();
        return;
    }
    int16_t button = 0;
    if (buttons & Qt::LeftButton)
        button |= 1;
    if (buttons & Qt::RightButton)
        button |= 2;
    if (buttons & Qt::MiddleButton)
        button |= 4;
    int16_t shift = 0;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    const QPointF at = toContent(event->position());
    handler(button, shift, float(at.x()), float(at.y()));
    event->accept();
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    dispatchMouse(onMouseDown, event, event->button());
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    dispatchMouse(onMouseMove, event, event->buttons());
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    dispatchMouse(onMouseUp, event, event->button());
}
