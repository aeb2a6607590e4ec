#include "surface/damage_tracker.h"

#include <algorithm>
#include <cstring>

namespace {

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

void DamageTracker::showAfresh(const QImage &layer)
{
    m_shown = layer.copy();
    m_touched.clear();
}

void DamageTracker::touch(QRect device)
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
}

std::vector<QRect> DamageTracker::takeDamage(const QImage &layer)
{
    if (m_touched.empty())
        return {};
    // A copy of another size cannot be compared: the layer is shown afresh as a whole.
    if (m_shown.size() != layer.size()) {
        showAfresh(layer);
        return { layer.rect() };
    }
    std::vector<QRect> damage;
    for (const QRect &r : m_touched)
        differingRects(layer, m_shown, r & layer.rect(), damage);
    m_touched.clear();
    coalesce(damage);
    return damage;
}
