#include "surface/picture_box.h"

#include "surface/aliased_drawing.h"
#include "surface/flood_fill.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Posted at the first touch of the layer after the screen was last told: it runs before
// the repaint Qt posts at a lower priority, so that repaint already covers what changed.
const QEvent::Type DamageEvent = QEvent::Type(QEvent::registerEventType());

// Above this many touched rectangles their bounding rectangle stands for them all.
constexpr size_t MostTouched = 64;

// Whether two rectangles are better handled as their joint bounding rectangle: each
// rectangle costs the screen a fixed price besides its pixels (a clip band, a copy, a
// texture upload in the browser), so a few plain rectangles beat many exact ones.
bool cheaplyJoined(const QRect &a, const QRect &b)
{
    constexpr qint64 PricePerRect = 2048;
    auto area = [](const QRect &r) { return qint64(r.width()) * r.height(); };
    const qint64 joint = qint64(std::max(a.right(), b.right()) - std::min(a.left(), b.left()) + 1)
        * (std::max(a.bottom(), b.bottom()) - std::min(a.top(), b.top()) + 1);
    return joint <= area(a) + area(b) + PricePerRect;
}

// Fills a rectangle of device pixels; a wide one's first row by hand, the others copied
// from it.
void fillDevice(QImage &image, QRect r, QRgb value)
{
    r &= image.rect();
    if (r.isEmpty())
        return;
    uchar *const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    QRgb *const first = reinterpret_cast<QRgb *>(bits + r.top() * stride) + r.left();
    if (r.width() < 16) {
        // An upright line: down the rows, a few pixels each.
        uchar *row = reinterpret_cast<uchar *>(first);
        for (int y = r.top(); y <= r.bottom(); ++y, row += stride)
            std::fill_n(reinterpret_cast<QRgb *>(row), r.width(), value);
        return;
    }
    std::fill(first, first + r.width(), value);
    for (int y = r.top() + 1; y <= r.bottom(); ++y)
        std::memcpy(reinterpret_cast<QRgb *>(bits + y * stride) + r.left(), first, size_t(r.width()) * sizeof(QRgb));
}

quint64 word(const QRgb *p)
{
    quint64 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The first pixel from x on where the rows differ; end when none does. Eight pixels at a
// time where they agree, as most of what was touched is unchanged.
int firstDifference(const QRgb *a, const QRgb *b, int x, int end)
{
    for (; x + 8 <= end; x += 8) {
        if ((word(a + x) ^ word(b + x)) | (word(a + x + 2) ^ word(b + x + 2)) | (word(a + x + 4) ^ word(b + x + 4))
            | (word(a + x + 6) ^ word(b + x + 6)))
            break;
    }
    while (x < end && a[x] == b[x])
        ++x;
    return x;
}

// The last pixel before end where the rows differ, knowing one does at or after x.
int lastDifference(const QRgb *a, const QRgb *b, int x, int end)
{
    for (; end - 8 > x; end -= 8) {
        if ((word(a + end - 8) ^ word(b + end - 8)) | (word(a + end - 6) ^ word(b + end - 6))
            | (word(a + end - 4) ^ word(b + end - 4)) | (word(a + end - 2) ^ word(b + end - 2)))
            break;
    }
    while (a[end - 1] == b[end - 1])
        --end;
    return end - 1;
}

// The pixels of `area` where `now` differs from `shown`, as a few rectangles: on each row
// the span from its first differing pixel to its last, and the spans of neighbouring rows
// together where that costs little. `shown` then takes those pixels from `now`.
void differingRects(const QImage &now, QImage &shown, QRect area, std::vector<QRect> &found)
{
    const size_t first = found.size();
    const uchar *const nowBits = now.constBits();
    uchar *const shownBits = shown.bits();
    const qsizetype stride = now.bytesPerLine();
    QRect open;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *a = reinterpret_cast<const QRgb *>(nowBits + y * stride);
        const QRgb *b = reinterpret_cast<const QRgb *>(shownBits + y * stride);
        const int left = firstDifference(a, b, area.left(), area.right() + 1);
        if (left > area.right()) {
            if (!open.isNull())
                found.push_back(open);
            open = QRect();
            continue;
        }
        const QRect span(QPoint(left, y), QPoint(lastDifference(a, b, left, area.right() + 1), y));
        if (open.isNull()) {
            open = span;
        } else if (cheaplyJoined(open, span)) {
            open |= span;
        } else {
            found.push_back(open);
            open = span;
        }
    }
    if (!open.isNull())
        found.push_back(open);
    for (size_t i = first; i < found.size(); ++i) {
        const QRect &r = found[i];
        for (int y = r.top(); y <= r.bottom(); ++y)
            std::memcpy(shownBits + y * stride + r.left() * 4, nowBits + y * stride + r.left() * 4, size_t(r.width()) * 4);
    }
}

// Whether two rectangles share a pixel; an empty one shares none.
bool meet(const QRectF &a, const QRectF &b)
{
    return a.width() > 0 && a.height() > 0 && b.width() > 0 && b.height() > 0 && a.left() < b.right()
        && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

// Joins the rectangles that are cheaper joined, until none is.
void coalesce(std::vector<QRect> &rects)
{
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < rects.size(); ++i) {
            for (size_t j = i + 1; j < rects.size(); ++j) {
                if (cheaplyJoined(rects[i], rects[j])) {
                    rects[i] |= rects[j];
                    rects[j] = rects.back();
                    rects.pop_back();
                    merged = true;
                    j = i; // the grown rectangle may now join ones already passed
                }
            }
        }
    }
}

} // namespace

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
    return kind == other.kind && width == other.width && a == other.a && b == other.b && color == other.color
        && border == other.border && text == other.text && font == other.font;
}

void PictureBox::ensureLayer()
{
    const qreal ratio = devicePixelRatioF() * zoom();
    const QSize size = contentSize().expandedTo(QSize(1, 1));
    if (!m_layer.isNull() && m_layer.devicePixelRatio() == ratio && m_layer.deviceIndependentSize().toSize() == size)
        return;
    m_layer = drawnAt(ratio);
    // Shown afresh as a whole, and the kept calls may have drawn anywhere.
    m_shown = m_layer.copy();
    m_touched.clear();
    m_drawn = m_layer.rect();
    m_clearedTo = backColor();
    update();
}

QRect PictureBox::toDevice(QRectF logical) const
{
    if (logical.isEmpty())
        return {};
    const qreal ratio = m_layer.devicePixelRatio();
    const QRectF device(logical.topLeft() * ratio, logical.size() * ratio);
    return device.toAlignedRect() & m_layer.rect();
}

void PictureBox::touch(QRect device)
{
    if (device.isEmpty())
        return;
    // Joined with a touched rectangle it (nearly) lies in: the many lines of a grid over a
    // cleared band are compared once, with the band.
    bool joined = false;
    for (QRect &t : m_touched) {
        if (cheaplyJoined(t, device)) {
            t |= device;
            joined = true;
            break;
        }
    }
    if (!joined)
        m_touched.push_back(device);
    if (m_touched.size() > MostTouched) {
        QRect all;
        for (const QRect &r : m_touched)
            all |= r;
        m_touched.assign(1, all);
    }
    if (!m_damagePosted) {
        m_damagePosted = true;
        QCoreApplication::postEvent(this, new QEvent(DamageEvent));
    }
}

void PictureBox::flushDamage()
{
    if (m_touched.empty())
        return;
    if (m_shown.size() != m_layer.size()) {
        m_shown = m_layer.copy();
        m_touched.clear();
        update();
        return;
    }
    std::vector<QRect> damage;
    for (const QRect &r : m_touched)
        differingRects(m_layer, m_shown, r & m_layer.rect(), damage);
    m_touched.clear();
    if (damage.empty())
        return;
    coalesce(damage);
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

QImage PictureBox::layerAt(qreal ratio) const
{
    return ratio <= 0 || qFuzzyCompare(ratio, m_layer.devicePixelRatio()) ? m_layer : drawnAt(ratio);
}

QImage PictureBox::drawnAt(qreal ratio) const
{
    const QSize size = contentSize().expandedTo(QSize(1, 1));
    QImage layer((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    layer.setDevicePixelRatio(ratio);
    layer.fill(backColor());
    for (const DrawCall &call : m_calls) {
        if (!call.dead)
            execute(layer, call);
    }
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

QRect PictureBox::filledPixels(const QImage &layer, QRectF logical)
{
    // Every device pixel whose centre lies inside: the same as an aliased fill.
    const qreal ratio = layer.devicePixelRatio();
    auto device = [ratio](double v) { return int(std::ceil(v * ratio - 0.5)); };
    const int left = qMax(0, device(logical.left())), right = qMin(layer.width(), device(logical.right()));
    const int top = qMax(0, device(logical.top())), bottom = qMin(layer.height(), device(logical.bottom()));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void PictureBox::fillLayer(QImage &layer, QRectF logical, QColor color)
{
    // Straight into the image, without the painter's overhead for the many small rectangles.
    fillDevice(layer, filledPixels(layer, logical), color.rgb());
}

bool PictureBox::alreadyPainted(const DrawCall &call) const
{
    // A call that fills one rectangle would change nothing if its pixels all have its
    // colour, which can be read off the layer.
    const auto covered = filledRect(call);
    if (!covered)
        return false;
    const QRect pixels = filledPixels(m_layer, *covered);
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(m_layer.constScanLine(y));
        if (std::any_of(row + pixels.left(), row + pixels.right() + 1, [&](QRgb p) { return p != call.ink; }))
            return false;
    }
    return true;
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

std::optional<QRectF> PictureBox::filledRect(const DrawCall &call)
{
    if (call.kind == DrawCall::Kind::Rect)
        return QRectF(call.a, call.b).normalized();
    if (call.kind == DrawCall::Kind::Line)
        return levelLineRect(call.a, call.b, call.width);
    return std::nullopt;
}

QRectF PictureBox::reach(const DrawCall &call)
{
    if (const auto covered = filledRect(call))
        return *covered;
    if (call.kind == DrawCall::Kind::Line) {
        const int margin = call.width + 2;
        return QRectF(call.a, call.b).normalized().adjusted(-margin, -margin, margin, margin);
    }
    return {};
}

QRectF PictureBox::execute(QImage &layer, const DrawCall &call) const
{
    if (const auto covered = filledRect(call)) {
        fillLayer(layer, *covered, call.color);
        return *covered;
    }
    switch (call.kind) {
    case DrawCall::Kind::Line: {
        QPainter painter;
        beginOnLayer(painter, layer);
        drawAliasedLine(painter, call.a, call.b, call.color, call.width);
        return reach(call);
    }
    case DrawCall::Kind::Rect:
        break; // filled above
    case DrawCall::Kind::Text: {
        const QFontMetrics metrics(call.font, &layer);
        QPainter painter;
        beginOnLayer(painter, layer);
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
        const qreal ratio = layer.devicePixelRatio();
        const QPoint device(int(std::floor(call.a.x() * ratio)), int(std::floor(call.a.y() * ratio)));
        QRect filled;
        if (floodFillToBorder(layer, device, call.border.rgb(), call.color.rgb(), &filled) == 0)
            return {};
        // With the border around it, which decides how far the same fill spreads.
        const qreal margin = 2 * std::max(1.0, 1 / ratio);
        return QRectF(QPointF(filled.topLeft()) / ratio, QSizeF(filled.size()) / ratio)
            .adjusted(-margin, -margin, margin, margin);
    }
    }
    return {};
}

PictureBox::Lookup PictureBox::lookUp(const DrawCall &call) const
{
    // Lines, boxes and text paint their pixels in one colour whatever lies below, so the
    // same call again changes nothing where nothing of another colour has been drawn over
    // it since.
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

bool PictureBox::draw(DrawCall call)
{
    if (m_layer.isNull())
        ensureLayer();
    call.ink = call.color.rgb();
    const Lookup found = call.kind == DrawCall::Kind::Fill ? Lookup {} : lookUp(call);
    if (found.redundant || alreadyPainted(call)) {
        call.bounds = found.copy ? m_calls[*found.copy].bounds : reach(call);
        call.changedNothing = true;
    } else {
        call.bounds = execute(m_layer, call);
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

void PictureBox::setBackColor(QColor color)
{
    ControlHost::setBackColor(color);
    cls();
}

void PictureBox::cls()
{
    m_calls.clear();
    m_sinceFill = 0;
    m_dead = 0;
    ensureLayer();
    // Only what was drawn since the last clear differs from the back colour.
    const QRect stale = backColor() == m_clearedTo ? m_drawn : m_layer.rect();
    fillDevice(m_layer, stale, backColor().rgb());
    touch(stale & m_layer.rect());
    m_drawn = QRect();
    m_clearedTo = backColor();
    currentX = 0;
    currentY = 0;
}

void PictureBox::line(QPointF from, QPointF to, std::optional<QColor> color)
{
    draw({ DrawCall::Kind::Line, from, to, color.value_or(foreColor), {}, drawWidth, {}, {}, {} });
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
        draw({ DrawCall::Kind::Rect, r.topLeft(), r.bottomRight(), fillColor, {}, 0, {}, {}, {} });
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
    draw({ DrawCall::Kind::Rect, r.topLeft(), r.bottomRight(), color.value_or(foreColor), {}, 0, {}, {}, {} });
    currentX = to.x();
    currentY = to.y();
}

void PictureBox::print(const QString &text)
{
    // The face and its line height are worked out once for each font the box is given.
    if (!m_printFace || !(m_printFace->font == font)) {
        QFont face = font;
        face.setStyleStrategy(QFont::NoAntialias);
        m_printFace = PrintFace { font, face, QFontMetricsF(face).height() };
    }
    draw({ DrawCall::Kind::Text, QPointF(currentX, currentY), {}, foreColor, {}, 0, text, m_printFace->face, {} });
    currentX = 0;
    currentY += m_printFace->lineHeight;
}

bool PictureBox::floodFill(QPointF seed, QColor border)
{
    return draw({ DrawCall::Kind::Fill, seed, {}, fillColor, border, 0, {}, {}, {} });
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
