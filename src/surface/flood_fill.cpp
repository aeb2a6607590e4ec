#include "surface/flood_fill.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

struct Run
{
    int y, left, right;
};

// The fill colour may equal colours already in the region, so a pixel's being filled is
// noted apart from its colour. In an RGB32 image the alpha byte is unused (always 0xff):
// a filled pixel is noted by its alpha 0 until the fill ends, one read per test.
class AlphaMarks
{
public:
    AlphaMarks(QRgb border, QRgb fill) : m_border(border & RGB_MASK), m_fill(fill & RGB_MASK) {}
    bool open(const QRgb *row, int, int x) const { return (row[x] >> 24) != 0 && (row[x] & RGB_MASK) != m_border; }
    void set(QRgb *row, int, int x) const { row[x] = m_fill; }
    void finish(uchar *bits, qsizetype stride, const std::vector<Run> &runs) const
    {
        for (const Run &run : runs) {
            QRgb *row = reinterpret_cast<QRgb *>(bits + run.y * stride);
            std::fill(row + run.left, row + run.right + 1, m_fill | ~RGB_MASK);
        }
    }

private:
    QRgb m_border, m_fill;
};

// Where alpha means something: in a buffer kept between fills and cleared again run by
// run afterwards, so a small fill on a large image costs only its own pixels.
class AsideMarks
{
public:
    AsideMarks(QRgb border, QRgb fill, int width, int height)
        : m_border(border & RGB_MASK), m_fill(fill | ~RGB_MASK), m_width(width)
    {
        if (visited().size() < size_t(width) * size_t(height))
            visited().resize(size_t(width) * size_t(height), 0);
    }
    bool open(const QRgb *row, int y, int x) const
    {
        return !visited()[size_t(y) * m_width + x] && (row[x] & RGB_MASK) != m_border;
    }
    void set(QRgb *row, int y, int x) const
    {
        row[x] = m_fill;
        visited()[size_t(y) * m_width + x] = 1;
    }
    void finish(uchar *, qsizetype, const std::vector<Run> &runs) const
    {
        for (const Run &run : runs)
            std::fill_n(visited().begin() + qsizetype(size_t(run.y) * m_width + run.left), run.right - run.left + 1, 0);
    }

private:
    static std::vector<uint8_t> &visited()
    {
        thread_local std::vector<uint8_t> marks;
        return marks;
    }
    QRgb m_border, m_fill;
    int m_width;
};

// A seed fill by runs (Heckbert's): each run found is filled, and only the parts of the
// rows above and below it not already known to be filled are searched again, so most
// pixels are tested once or twice.
template<typename Marks>
int fillFrom(QImage &image, QPoint seed, const Marks &marks, QRect *painted)
{
    const int width = image.width(), height = image.height();
    uchar *const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    auto row = [&](int y) { return reinterpret_cast<QRgb *>(bits + y * stride); };
    if (!marks.open(row(seed.y()), seed.y(), seed.x()))
        return 0;

    // A run of row y - dy, from left to right, already filled: row y is searched next to it.
    struct Pending
    {
        int y, left, right, dy;
    };
    std::vector<Pending> stack;
    auto push = [&](int y, int left, int right, int dy) {
        if (y + dy >= 0 && y + dy < height)
            stack.push_back({ y + dy, left, right, dy });
    };
    std::vector<Run> runs;
    push(seed.y(), seed.x(), seed.x(), 1);
    push(seed.y() + 1, seed.x(), seed.x(), -1);
    while (!stack.empty()) {
        const Pending p = stack.back();
        stack.pop_back();
        const int y = p.y, dy = p.dy;
        QRgb *const line = row(y);
        int x = p.left;
        while (x >= 0 && marks.open(line, y, x))
            marks.set(line, y, x--);
        int left = x + 1;
        bool filling = x < p.left;
        if (filling) {
            // Leaking past the run's left end: the row it came from is searched there too.
            if (left < p.left)
                push(y, left, p.left - 1, -dy);
            x = p.left + 1;
        }
        do {
            if (filling) {
                while (x < width && marks.open(line, y, x))
                    marks.set(line, y, x++);
                runs.push_back({ y, left, x - 1 });
                push(y, left, x - 1, dy);
                // And past its right end.
                if (x > p.right + 1)
                    push(y, p.right + 1, x - 1, -dy);
            }
            filling = true;
            for (++x; x <= p.right && !marks.open(line, y, x); ++x) {
            }
            left = x;
        } while (x <= p.right);
    }
    marks.finish(bits, stride, runs);
    int count = 0;
    QRect bounds;
    for (const Run &run : runs) {
        count += run.right - run.left + 1;
        bounds |= QRect(run.left, run.y, run.right - run.left + 1, 1);
    }
    if (painted)
        *painted = bounds;
    return count;
}

} // namespace

int floodFillToBorder(QImage &image, QPoint seed, QRgb border, QRgb fill, QRect *painted)
{
    if (painted)
        *painted = QRect();
    if (!QRect(0, 0, image.width(), image.height()).contains(seed))
        return 0;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32);
    if (image.format() == QImage::Format_RGB32)
        return fillFrom(image, seed, AlphaMarks(border, fill), painted);
    return fillFrom(image, seed, AsideMarks(border, fill, image.width(), image.height()), painted);
}
