#pragma once

#include "support/lesson_test.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <vector>

// Checks of what a picture box's drawing layer shows, pixel by pixel.

namespace LessonTest {

// Empty when the two layers are alike; otherwise how many pixels differ and where.
inline QString differences(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("sizes differ");
    int count = 0;
    QRect where;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                ++count;
                where |= QRect(x, y, 1, 1);
            }
        }
    }
    if (count == 0)
        return {};
    return QStringLiteral("%1 pixels differ within x %2..%3, y %4..%5")
        .arg(count).arg(where.left()).arg(where.right()).arg(where.top()).arg(where.bottom());
}

#define COMPARE_LAYER(actual, expected, what)                                                      \
    do {                                                                                           \
        const QString diff_ = LessonTest::differences((actual), (expected));                       \
        QVERIFY2(diff_.isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(what, diff_)));          \
    } while (false)

// Makes box a cleared copy of like's size, back colour, font and ink, to print expected
// text on by hand: the toolkit's glyphs are then the same as the program's.
inline void prepareScratch(PictureBox &box, const PictureBox &like, QColor back, const QFont &font, QColor ink)
{
    box.resize(like.size());
    box.setBackColor(back);
    box.drawing().setFont(font);
    box.drawing().setForeColor(ink);
    box.drawing().cls();
}

inline void printAt(PictureBox &box, int left, int top, const QString &text)
{
    box.drawing().moveTo(QPointF(left, top));
    box.drawing().print(text);
}

// ---- The figure on the blackboard ----

// A piece of kind k is 2k cm high and stands on the base line y = 300.
struct Piece
{
    int left;
    int top;
};

inline std::vector<Piece> piecesOf(const Composition &columns, int left)
{
    std::vector<Piece> pieces;
    for (int i = 0; i < 5; ++i) {
        const int kind = int(columns[i]);
        if (kind != 0)
            pieces.push_back({ left + 40 * i, 300 - 40 * kind });
    }
    return pieces;
}

struct Segment
{
    int x1, y1, x2, y2;
};

inline bool onGridLine(int x, int y)
{
    const bool row = y >= 180 && y <= 300 && (y - 180) % 20 == 0 && x >= 20 && x <= 580;
    const bool column = x >= 20 && x <= 620 && x % 20 == 0 && y >= 180 && y <= 300;
    return row || column;
}

// Whether the pixel just past a grid line's end is set depends on the line caps; it is
// left out of the checks.
inline bool pastGridEnd(int x, int y)
{
    const bool rowEnd = y >= 180 && y <= 300 && (y - 180) % 20 == 0 && (x == 19 || x == 581);
    const bool columnEnd = x >= 20 && x <= 620 && x % 20 == 0 && (y == 179 || y == 301);
    return rowEnd || columnEnd;
}

// What the drawing layer must show: the board green, the grid black where it is not
// covered, each piece white left of AB and light grey right of it, and the outlines (and
// AB) in the fore colour. Pixels within two of an outline belong to the 2-px line, whose
// exact rasterisation is the toolkit's; they are left out, except that each line must
// show the fore colour at its own coordinate. Empty when all is so.
inline QString checkLayer(const DrawingLayer &board, const std::vector<Piece> &pieces, bool edgeAB, QColor fore, bool grid)
{
    std::vector<Segment> lines;
    if (edgeAB)
        lines.push_back({ 300, 180, 300, 300 });
    for (const Piece &p : pieces) {
        lines.push_back({ p.left, 300, p.left + 40, 300 });
        lines.push_back({ p.left + 40, 300, p.left + 40, p.top });
        lines.push_back({ p.left + 40, p.top, p.left, p.top });
        lines.push_back({ p.left, p.top, p.left, 300 });
    }
    for (const Segment &s : lines) {
        const int x = (s.x1 + s.x2) / 2, y = (s.y1 + s.y2) / 2;
        if (board.pixel(x, y) != fore)
            return QStringLiteral("line (%1,%2)-(%3,%4) shows %5 at (%6,%7), expected the fore colour %8")
                .arg(s.x1).arg(s.y1).arg(s.x2).arg(s.y2).arg(colourName(board.pixel(x, y))).arg(x).arg(y).arg(colourName(fore));
    }

    const QSize size = board.image().deviceIndependentSize().toSize();
    const int width = size.width(), height = size.height();
    constexpr QRgb skip = 0;
    std::vector<QRgb> want(size_t(width) * size_t(height), Green.rgb());
    auto at = [&](int x, int y) -> QRgb & { return want[size_t(y) * size_t(width) + size_t(x)]; };
    if (grid) {
        for (int y = 179; y <= std::min(height - 1, 301); ++y) {
            for (int x = 19; x < width; ++x) {
                if (pastGridEnd(x, y))
                    at(x, y) = skip;
                else if (onGridLine(x, y))
                    at(x, y) = Black.rgb();
            }
        }
    }
    for (const Piece &p : pieces) {
        for (int y = p.top + 1; y < 300; ++y) {
            for (int x = p.left + 1; x < p.left + 40; ++x)
                at(x, y) = (x < 300 ? White : Grey).rgb();
        }
    }
    for (const Segment &s : lines) {
        for (int y = std::max(0, std::min(s.y1, s.y2) - 2); y <= std::min(height - 1, std::max(s.y1, s.y2) + 2); ++y) {
            for (int x = std::max(0, std::min(s.x1, s.x2) - 2); x <= std::min(width - 1, std::max(s.x1, s.x2) + 2); ++x)
                at(x, y) = skip;
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb expected = at(x, y);
            if (expected == skip)
                continue;
            const QColor got = board.pixel(x, y);
            if (got.rgb() != expected)
                return QStringLiteral("(%1,%2) is %3, expected %4").arg(x).arg(y).arg(colourName(got)).arg(colourName(QColor(expected)));
        }
    }
    return {};
}

// The figure of the composition with column 0 at left, AB drawn.
inline QString checkFigure(const PictureBox &board, const Composition &columns, int left, QColor fore, bool grid)
{
    const QString error = checkLayer(board.drawing(), piecesOf(columns, left), true, fore, grid);
    if (error.isEmpty())
        return error;
    return QStringLiteral("composition %1 at left %2: %3").arg(compositionText(columns)).arg(left).arg(error);
}

} // namespace LessonTest
