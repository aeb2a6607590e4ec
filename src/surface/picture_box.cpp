#include "surface/picture_box.h"

#include "surface/flood_fill.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

PictureBox::PictureBox(QWidget *parent)
    : ControlHost(parent)
{
    setAttribute(Qt::WA_StaticContents);
    font.setStyleStrategy(QFont::NoAntialias);
}

QRect PictureBox::contentRect() const
{
    return rect().adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
}

void PictureBox::ensureLayer()
{
    const qreal ratio = devicePixelRatioF();
    const QSize wanted = contentSize().expandedTo(QSize(1, 1));
    if (!m_layer.isNull() && m_layer.devicePixelRatio() == ratio
        && m_layer.deviceIndependentSize().toSize() == wanted)
        return;
    QImage layer(wanted * ratio, QImage::Format_RGB32);
    layer.setDevicePixelRatio(ratio);
    layer.fill(backColor());
    if (!m_layer.isNull()) {
        QPainter painter(&layer);
        painter.drawImage(QPoint(0, 0), m_layer);
    }
    m_layer = std::move(layer);
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    ControlHost::resizeEvent(event);
    ensureLayer();
}

void PictureBox::changedArea(QRectF logical)
{
    const int margin = drawWidth + 2;
    update(logical.toAlignedRect().adjusted(-margin, -margin, margin, margin).translated(contentOffset()));
}

void PictureBox::cls()
{
    ensureLayer();
    m_layer.fill(backColor());
    currentX = 0;
    currentY = 0;
    update();
}

void PictureBox::line(QPointF from, QPointF to, std::optional<QColor> color)
{
    ensureLayer();
    QPainter painter(&m_layer);
    drawAliasedLine(painter, from, to, color.value_or(foreColor), drawWidth);
    currentX = to.x();
    currentY = to.y();
    changedArea(QRectF(from, to).normalized());
}

void PictureBox::lineStep(QPointF from, QPointF delta, std::optional<QColor> color)
{
    line(from, from + delta, color);
}

void PictureBox::box(QPointF from, QPointF to, std::optional<QColor> color)
{
    ensureLayer();
    const QRectF r = QRectF(from, to).normalized();
    if (fillStyle == FillStyle::Solid) {
        QPainter painter(&m_layer);
        painter.fillRect(r, fillColor);
    }
    const QColor c = color.value_or(foreColor);
    line(r.topLeft(), r.topRight(), c);
    line(r.topRight(), r.bottomRight(), c);
    line(r.bottomRight(), r.bottomLeft(), c);
    line(r.bottomLeft(), r.topLeft(), c);
    currentX = to.x();
    currentY = to.y();
}

void PictureBox::filledBox(QPointF from, QPointF to, std::optional<QColor> color)
{
    ensureLayer();
    const QRectF r = QRectF(from, to).normalized();
    {
        QPainter painter(&m_layer);
        painter.fillRect(r, color.value_or(foreColor));
    }
    currentX = to.x();
    currentY = to.y();
    changedArea(r);
}

void PictureBox::print(const QString &text)
{
    ensureLayer();
    QFont face = font;
    face.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(face, &m_layer);
    const QPointF topLeft(currentX, currentY);
    {
        QPainter painter(&m_layer);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(face);
        painter.setPen(foreColor);
        painter.drawText(topLeft + QPointF(0, metrics.ascent()), text);
    }
    changedArea(QRectF(topLeft, QSizeF(metrics.horizontalAdvance(text), metrics.height())));
    currentX = 0;
    currentY += metrics.height();
}

bool PictureBox::floodFill(QPointF seed, QColor border)
{
    ensureLayer();
    const qreal ratio = m_layer.devicePixelRatio();
    const QPoint device(int(std::floor(seed.x() * ratio)), int(std::floor(seed.y() * ratio)));
    const int painted = floodFillToBorder(m_layer, device, border.rgb(), fillColor.rgb());
    if (painted > 0)
        update();
    return painted > 0;
}

QColor PictureBox::pixel(int x, int y) const
{
    if (m_layer.isNull())
        return {};
    const qreal ratio = m_layer.devicePixelRatio();
    const QPoint device(int(x * ratio), int(y * ratio));
    if (!m_layer.rect().contains(device))
        return {};
    return QColor(m_layer.pixel(device));
}

void PictureBox::paintLayer(QPainter &painter)
{
    const QRect outer = rect();
    // Sunken border: dark above and left, light below and right.
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(outer.topLeft(), outer.topRight());
    painter.drawLine(outer.topLeft(), outer.bottomLeft());
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(outer.bottomLeft(), outer.bottomRight());
    painter.drawLine(outer.topRight(), outer.bottomRight());
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    painter.setPen(QColor(64, 64, 64));
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(QColor(212, 208, 200));
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());

    if (!m_layer.isNull())
        painter.drawImage(contentOffset(), m_layer);
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
    const QPointF at = event->position() - QPointF(contentOffset());
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
