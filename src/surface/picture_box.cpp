#include "surface/picture_box.h"

#include "surface/flood_fill.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

PictureBox::PictureBox(QWidget *parent)
    : ControlHost(parent)
{
    setAttribute(Qt::WA_StaticContents);
    font.setStyleStrategy(QFont::NoAntialias);
}

QRect PictureBox::contentRect() const
{
    return QRect(QPoint(), logicalSize()).adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
}

bool PictureBox::DrawCall::operator==(const DrawCall &other) const
{
    return kind == other.kind && a == other.a && b == other.b && width == other.width && color == other.color
        && border == other.border && text == other.text && font == other.font;
}

void PictureBox::ensureLayer()
{
    const qreal ratio = devicePixelRatioF() * zoom();
    const QSize size = contentSize().expandedTo(QSize(1, 1));
    if (!m_layer.isNull() && m_layer.devicePixelRatio() == ratio && m_layer.deviceIndependentSize().toSize() == size)
        return;
    m_layer = drawnAt(ratio);
    update();
}

QImage PictureBox::drawnAt(qreal ratio) const
{
    const QSize size = contentSize().expandedTo(QSize(1, 1));
    QImage layer((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    layer.setDevicePixelRatio(ratio);
    layer.fill(backColor());
    for (const DrawCall &call : m_calls)
        execute(layer, call);
    return layer;
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    ControlHost::resizeEvent(event);
    ensureLayer();
}

void PictureBox::zoomChanged()
{
    ensureLayer();
}

void PictureBox::changeEvent(QEvent *event)
{
    // Moved to a screen of another pixel ratio: draw everything again at its resolution.
    if (event->type() == QEvent::ScreenChangeInternal)
        ensureLayer();
    ControlHost::changeEvent(event);
}

void PictureBox::fillLayer(QImage &layer, QRectF logical, QColor color)
{
    // Straight into the image: every device pixel whose centre lies inside. The same as
    // an aliased fill, without the painter's overhead for the many small rectangles.
    const qreal ratio = layer.devicePixelRatio();
    auto device = [ratio](double v) { return int(std::ceil(v * ratio - 0.5)); };
    const int left = qMax(0, device(logical.left())), right = qMin(layer.width(), device(logical.right()));
    const int top = qMax(0, device(logical.top())), bottom = qMin(layer.height(), device(logical.bottom()));
    const QRgb value = color.rgb();
    uchar *const bits = layer.bits();
    const qsizetype stride = layer.bytesPerLine();
    for (int y = top; y < bottom; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(bits + y * stride);
        std::fill(row + left, row + qMax(left, right), value);
    }
}

namespace {

// A painter on a layer in the layout's pixels. QPainter applies an image's pixel ratio only
// from 1 up, so a layer shown smaller than the layout (a whole window fitted to a small
// screen) is scaled here, as the direct fills scale themselves.
void beginOnLayer(QPainter &painter, QImage &layer)
{
    painter.begin(&layer);
    if (const qreal ratio = layer.devicePixelRatio(); ratio < 1)
        painter.scale(ratio, ratio);
}

} // namespace

QRectF PictureBox::execute(QImage &layer, const DrawCall &call) const
{
    switch (call.kind) {
    case DrawCall::Kind::Line: {
        if (const auto covered = levelLineRect(call.a, call.b, call.width)) {
            fillLayer(layer, *covered, call.color);
            return *covered;
        }
        QPainter painter;
        beginOnLayer(painter, layer);
        drawAliasedLine(painter, call.a, call.b, call.color, call.width);
        const int margin = call.width + 2;
        return QRectF(call.a, call.b).normalized().adjusted(-margin, -margin, margin, margin);
    }
    case DrawCall::Kind::Rect: {
        const QRectF r = QRectF(call.a, call.b).normalized();
        fillLayer(layer, r, call.color);
        return r;
    }
    case DrawCall::Kind::Text: {
        const QFontMetrics metrics(call.font, &layer);
        QPainter painter;
        beginOnLayer(painter, layer);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(call.font);
        painter.setPen(call.color);
        painter.drawText(call.a + QPointF(0, metrics.ascent()), call.text);
        return QRectF(call.a, QSizeF(metrics.horizontalAdvance(call.text), metrics.height())).adjusted(-2, -2, 2, 2);
    }
    case DrawCall::Kind::Fill: {
        const qreal ratio = layer.devicePixelRatio();
        const QPoint device(int(std::floor(call.a.x() * ratio)), int(std::floor(call.a.y() * ratio)));
        if (floodFillToBorder(layer, device, call.border.rgb(), call.color.rgb()) == 0)
            return {};
        return QRectF(QPointF(), QSizeF(contentSize()));
    }
    }
    return {};
}

void PictureBox::draw(DrawCall call)
{
    ensureLayer();
    const QRectF changed = execute(m_layer, call);
    if (!changed.isEmpty())
        update(QTransform().translate(origin().x(), origin().y()).scale(zoom(), zoom())
                   .mapRect(changed.translated(contentOffset())).toAlignedRect());

    if (call.kind == DrawCall::Kind::Fill) {
        if (changed.isEmpty())
            return; // painted nothing, so nothing to draw again
        m_calls.push_back(std::move(call));
        m_sinceFill = m_calls.size();
        return;
    }
    // Painting exactly what a later call paints again changes nothing unless a fill in
    // between read the pixels, so the earlier call is dropped: the kept calls stay few
    // however often the same axes or labels are drawn over again.
    for (size_t i = m_calls.size(); i > m_sinceFill; --i) {
        if (m_calls[i - 1] == call) {
            m_calls.erase(m_calls.begin() + qsizetype(i - 1));
            break;
        }
    }
    m_calls.push_back(std::move(call));
}

void PictureBox::setBackColor(QColor color)
{
    ControlHost::setBackColor(color);
    cls();
}

void PictureBox::cls()
{
    m_calls.clear();
    m_sinceFill = 0;
    ensureLayer();
    m_layer.fill(backColor());
    currentX = 0;
    currentY = 0;
    update();
}

void PictureBox::line(QPointF from, QPointF to, std::optional<QColor> color)
{
    draw({ DrawCall::Kind::Line, from, to, color.value_or(foreColor), {}, drawWidth, {}, {} });
    currentX = to.x();
    currentY = to.y();
}

void PictureBox::lineStep(QPointF from, QPointF delta, std::optional<QColor> color)
{
    line(from, from + delta, color);
}

void PictureBox::box(QPointF from, QPointF to, std::optional<QColor> color)
{
    const QRectF r = QRectF(from, to).normalized();
    if (fillStyle == FillStyle::Solid)
        draw({ DrawCall::Kind::Rect, r.topLeft(), r.bottomRight(), fillColor, {}, 0, {}, {} });
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
    const QRectF r = QRectF(from, to).normalized();
    draw({ DrawCall::Kind::Rect, r.topLeft(), r.bottomRight(), color.value_or(foreColor), {}, 0, {}, {} });
    currentX = to.x();
    currentY = to.y();
}

void PictureBox::print(const QString &text)
{
    QFont face = font;
    face.setStyleStrategy(QFont::NoAntialias);
    const double lineHeight = QFontMetricsF(face).height();
    draw({ DrawCall::Kind::Text, QPointF(currentX, currentY), {}, foreColor, {}, 0, text, face });
    currentX = 0;
    currentY += lineHeight;
}

bool PictureBox::floodFill(QPointF seed, QColor border)
{
    const size_t before = m_calls.size();
    draw({ DrawCall::Kind::Fill, seed, {}, fillColor, border, 0, {}, {} });
    return m_calls.size() > before;
}

QColor PictureBox::pixel(int x, int y) const
{
    if (m_layer.isNull())
        return {};
    const qreal ratio = m_layer.devicePixelRatio();
    const QPoint device(int(std::floor(x * ratio)), int(std::floor(y * ratio)));
    if (x < 0 || y < 0 || !m_layer.rect().contains(device))
        return {};
    return QColor(m_layer.pixel(device));
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
    ensureLayer();
    if (m_layer.isNull())
        return;
    // Painted into a picture of another resolution than the screen's (a picture saved at
    // twice the size): the kept calls are drawn again at that resolution, so the picture
    // is as sharp as the window would be at that zoom instead of a stretched copy.
    const qreal deviceRatio = painter.deviceTransform().m11();
    QImage redrawn;
    if (deviceRatio > 0 && !qFuzzyCompare(deviceRatio, m_layer.devicePixelRatio()))
        redrawn = drawnAt(deviceRatio);
    const QImage &layer = redrawn.isNull() ? m_layer : redrawn;
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
