#include "surface/drawing_layer.h"

#include "surface/aliased_drawing.h"
#include "surface/flood_fill.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Whether two rectangles share a pixel; an empty one shares none.
bool meet(const QRectF &a, const QRectF &b)
{
    return a.width() > 0 && a.height() > 0 && b.width() > 0 && b.height() > 0 && a.left() < b.right()
        && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

} // namespace

DrawingLayer::DrawingLayer()
{
    m_font.setStyleStrategy(QFont::NoAntialias);
}

bool DrawingLayer::DrawCall::operator==(const DrawCall &other) const
{
    return kind == other.kind && width == other.width && a == other.a && b == other.b && color == other.color
        && border == other.border && text == other.text && font == other.font;
}

bool DrawingLayer::resize(QSize size, qreal ratio)
{
    if (!m_image.isNull() && m_image.devicePixelRatio() == ratio && m_size == size)
        return false;
    m_size = size;
    m_image = drawnAt(ratio);
    // The kept calls may have drawn anywhere.
    m_drawn = m_image.rect();
    m_clearedTo = m_backColor;
    return true;
}

void DrawingLayer::fit()
{
    if (m_viewer)
        m_viewer->fitLayer();
    if (m_image.isNull())
        resize(QSize(1, 1), 1);
}

QRect DrawingLayer::toDevice(QRectF logical) const
{
    if (logical.isEmpty())
        return {};
    const qreal ratio = m_image.devicePixelRatio();
    const QRectF device(logical.topLeft() * ratio, logical.size() * ratio);
    return device.toAlignedRect() & m_image.rect();
}

void DrawingLayer::touch(QRect device)
{
    if (m_viewer && !device.isEmpty())
        m_viewer->layerTouched(device);
}

QImage DrawingLayer::layerAt(qreal ratio) const
{
    return ratio <= 0 || qFuzzyCompare(ratio, m_image.devicePixelRatio()) ? m_image : drawnAt(ratio);
}

QImage DrawingLayer::drawnAt(qreal ratio) const
{
    QImage image((QSizeF(m_size.expandedTo(QSize(1, 1))) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(m_backColor);
    for (const DrawCall &call : m_calls) {
        if (!call.dead)
            execute(image, call);
    }
    return image;
}

bool DrawingLayer::alreadyPainted(const DrawCall &call) const
{
    // A call that fills one rectangle would change nothing if its pixels all have its
    // colour, which can be read off the image.
    const auto covered = filledRect(call);
    if (!covered)
        return false;
    const QRect pixels = filledPixels(m_image, *covered);
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(m_image.constScanLine(y));
        if (std::any_of(row + pixels.left(), row + pixels.right() + 1, [&](QRgb p) { return p != call.ink; }))
            return false;
    }
    return true;
}

std::optional<QRectF> DrawingLayer::filledRect(const DrawCall &call)
{
    if (call.kind == DrawCall::Kind::Line)
        return levelLineRect(call.a, call.b, call.width);
    return std::nullopt;
}

QRectF DrawingLayer::reach(const DrawCall &call)
{
    if (const auto covered = filledRect(call))
        return *covered;
    if (call.kind == DrawCall::Kind::Line) {
        const int margin = call.width + 2;
        return QRectF(call.a, call.b).normalized().adjusted(-margin, -margin, margin, margin);
    }
    return {};
}

QRectF DrawingLayer::execute(QImage &image, const DrawCall &call)
{
    if (const auto covered = filledRect(call)) {
        fillDevice(image, filledPixels(image, *covered), call.color.rgb());
        return *covered;
    }
    switch (call.kind) {
    case DrawCall::Kind::Line: {
        QPainter painter;
        beginOnLayer(painter, image);
        drawAliasedLine(painter, call.a, call.b, call.color, call.width);
        return reach(call);
    }
    case DrawCall::Kind::Text: {
        const QFontMetrics metrics(call.font, &image);
        QPainter painter;
        beginOnLayer(painter, image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(call.font);
        painter.setPen(call.color);
        const QPointF baseline = call.a + QPointF(0, metrics.ascent());
        painter.drawText(baseline, call.text);
        // The ink may reach past the advance (a bold face's extra pixel, a slanted glyph).
        const QRectF advance(call.a, QSizeF(metrics.horizontalAdvance(call.text), metrics.height()));
        return advance.united(QRectF(metrics.boundingRect(call.text)).translated(baseline)).adjusted(-2, -2, 2, 2);
    }
    case DrawCall::Kind::Fill: {
        const qreal ratio = image.devicePixelRatio();
        const QPoint device(int(std::floor(call.a.x() * ratio)), int(std::floor(call.a.y() * ratio)));
        QRect filled;
        if (floodFillToBorder(image, device, call.border.rgb(), call.color.rgb(), &filled) == 0)
            return {};
        // With the border around it, which decides how far the same fill spreads.
        const qreal margin = 2 * std::max(1.0, 1 / ratio);
        return QRectF(QPointF(filled.topLeft()) / ratio, QSizeF(filled.size()) / ratio)
            .adjusted(-margin, -margin, margin, margin);
    }
    }
    return {};
}

DrawingLayer::Lookup DrawingLayer::lookUp(const DrawCall &call) const
{
    // Lines and text paint their pixels in one colour whatever lies below, so the same call
    // again changes nothing where nothing of another colour has been drawn over it since.
    // One that changed nothing covered nothing.
    auto overdraws = [&call](const DrawCall &later, const QRectF &bounds) {
        return !later.dead && !later.changedNothing && later.ink != call.ink && meet(later.bounds, bounds);
    };
    if (call.kind == DrawCall::Kind::Text) {
        // Where text reaches is known once it is measured: first its earlier copy, whose
        // reach is the same.
        size_t i = m_calls.size();
        while (i > 0 && (m_calls[i - 1].dead || !(m_calls[i - 1] == call)))
            --i;
        if (i == 0)
            return {};
        for (size_t k = i; k < m_calls.size(); ++k) {
            if (overdraws(m_calls[k], m_calls[i - 1].bounds))
                return { i - 1, false };
        }
        return { i - 1, true };
    }
    const QRectF bounds = reach(call);
    bool overdrawn = false;
    for (size_t i = m_calls.size(); i > 0; --i) {
        const DrawCall &earlier = m_calls[i - 1];
        if (earlier.dead)
            continue;
        // A copy paints where this call paints, so only a call that meets it can be one.
        const bool meets = meet(earlier.bounds, bounds);
        if ((meets || bounds.isEmpty()) && earlier == call)
            return { i - 1, !overdrawn };
        overdrawn = overdrawn || overdraws(earlier, bounds);
        // Past the last fill an earlier copy matters only for being drawn over since.
        if (overdrawn && i - 1 <= m_sinceFill)
            break;
    }
    return {};
}

bool DrawingLayer::draw(DrawCall call)
{
    if (m_image.isNull())
        fit();
    call.ink = call.color.rgb();
    const Lookup found = call.kind == DrawCall::Kind::Fill ? Lookup {} : lookUp(call);
    if (found.redundant || alreadyPainted(call)) {
        call.bounds = found.copy ? m_calls[*found.copy].bounds : reach(call);
        call.changedNothing = true;
    } else {
        call.bounds = execute(m_image, call);
        const QRect device = toDevice(call.bounds);
        touch(device);
        m_drawn |= device;
    }

    if (call.kind == DrawCall::Kind::Fill) {
        if (call.bounds.isEmpty())
            return false; // painted nothing, so nothing to draw again
        m_calls.push_back(std::move(call));
        m_sinceFill = m_calls.size();
        return true;
    }
    // Painting exactly what a later call paints again changes nothing unless a fill in
    // between read the pixels, so the earlier call is dropped: the kept calls stay few
    // however often the same axes or labels are drawn over again. Dropped calls are only
    // marked, and cleared out together once they are many.
    if (found.copy && *found.copy >= m_sinceFill) {
        // It stands for the copy from now on, also in what the copy covered.
        call.changedNothing = call.changedNothing && m_calls[*found.copy].changedNothing;
        m_calls[*found.copy].dead = true;
        if (++m_dead > 32 && m_dead * 2 > m_calls.size()) {
            size_t sinceFill = 0;
            for (size_t i = 0; i < m_sinceFill; ++i)
                sinceFill += m_calls[i].dead ? 0 : 1;
            m_calls.erase(std::remove_if(m_calls.begin(), m_calls.end(), [](const DrawCall &c) { return c.dead; }),
                          m_calls.end());
            m_sinceFill = sinceFill;
            m_dead = 0;
        }
    }
    m_calls.push_back(std::move(call));
    return true;
}

void DrawingLayer::setBackColor(QColor color)
{
    m_backColor = color;
    cls();
}

void DrawingLayer::cls()
{
    m_calls.clear();
    m_sinceFill = 0;
    m_dead = 0;
    fit();
    // Only what was drawn since the last clear differs from the back colour.
    const QRect stale = m_backColor == m_clearedTo ? m_drawn : m_image.rect();
    fillDevice(m_image, stale, m_backColor.rgb());
    touch(stale & m_image.rect());
    m_drawn = QRect();
    m_clearedTo = m_backColor;
    m_position = QPointF();
}

void DrawingLayer::line(QPointF from, QPointF to, std::optional<QColor> color)
{
    draw({ DrawCall::Kind::Line, from, to, color.value_or(m_foreColor), {}, m_drawWidth, {}, {}, {} });
    m_position = to;
}

void DrawingLayer::print(const QString &text)
{
    // The face and its line height are worked out once for each font the layer is given.
    if (!m_printFace || !(m_printFace->font == m_font)) {
        QFont face = m_font;
        face.setStyleStrategy(QFont::NoAntialias);
        m_printFace = PrintFace { m_font, face, QFontMetricsF(face).height() };
    }
    draw({ DrawCall::Kind::Text, m_position, {}, m_foreColor, {}, 0, text, m_printFace->face, {} });
    m_position = QPointF(0, m_position.y() + m_printFace->lineHeight);
}

bool DrawingLayer::floodFill(QPointF seed, QColor border)
{
    return draw({ DrawCall::Kind::Fill, seed, {}, m_fillColor, border, 0, {}, {}, {} });
}

QColor DrawingLayer::pixel(int x, int y) const
{
    if (m_image.isNull())
        return {};
    const qreal ratio = m_image.devicePixelRatio();
    const QPoint device(int(std::floor(x * ratio)), int(std::floor(y * ratio)));
    if (x < 0 || y < 0 || !m_image.rect().contains(device))
        return {};
    return QColor(m_image.pixel(device));
}
