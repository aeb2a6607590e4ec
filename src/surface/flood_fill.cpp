#include "surface/flood_fill.h"

#include <algorithm>
#include <cstdint>
#include <vector>

int floodFillToBorder(QImage &image, QPoint seed, QRgb border, QRgb fill)
{
    const int width = image.width();
    const int height = image.height();
    if (!QRect(0, 0, width, height).contains(seed))
        return 0;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image.convertTo(QImage::Format_RGB32);

    // The fill colour may equal colours already in the region, so visited pixels are
    // tracked apart from the image: in a buffer kept between fills and cleared again run
    // by run afterwards, so a small fill on a large image costs only its own pixels.
    thread_local std::vector<uint8_t> visited;
    const size_t pixels = size_t(width) * size_t(height);
    if (visited.size() < pixels)
        visited.resize(pixels, 0);
    struct Run
    {
        int y, left, right;
    };
    std::vector<Run> runs;
    uchar *const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    auto at = [&](int x, int y) { return reinterpret_cast<QRgb *>(bits + y * stride) + x; };
    const QRgb borderRgb = border & RGB_MASK;
    auto open = [&](int x, int y) {
        return !visited[size_t(y) * width + x] && (*at(x, y) & RGB_MASK) != borderRgb;
    };
    fill |= ~RGB_MASK;

    if (!open(seed.x(), seed.y()))
        return 0;

    int painted = 0;
    std::vector<QPoint> stack { seed };
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        const int y = p.y();
        if (!open(p.x(), y))
            continue;
        int left = p.x();
        while (left > 0 && open(left - 1, y))
            --left;
        int right = p.x();
        while (right + 1 < width && open(right + 1, y))
            ++right;
        for (int x = left; x <= right; ++x) {
            visited[size_t(y) * width + x] = 1;
            *at(x, y) = fill;
        }
        painted += right - left + 1;
        runs.push_back({ y, left, right });
        for (int ny : { y - 1, y + 1 }) {
            if (ny < 0 || ny >= height)
                continue;
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool o = open(x, ny);
                if (o && !inRun)
                    stack.emplace_back(x, ny);
                inRun = o;
            }
        }
    }
    for (const Run &run : runs)
        std::fill_n(visited.begin() + qsizetype(size_t(run.y) * width + run.left), run.right - run.left + 1, 0);
    return painted;
}
