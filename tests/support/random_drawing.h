#pragma once

#include "support/lesson_test.h"
#include "surface/drawing_layer.h"

#include <QRandomGenerator>
#include <functional>
#include <vector>

namespace LessonTest {

// Random drawing calls of the kinds the views make, on a layer of 200 x 150 logical pixels.
// They come from a few lines, texts and fill seeds, so that the same call comes again
// often, over itself or over others: the calls a layer leaves undone as changing nothing,
// those it drops for a later copy, and fills that read what lies below. Figures are cleared
// now and then and filled, as on the blackboard; axes are the same lines and texts drawn
// over and over, as on the graph, which drops so many calls that the layer clears them out.
class RandomDrawing
{
public:
    struct Call
    {
        QString what;
        std::function<void(DrawingLayer &)> apply;
    };

    enum class Mix { Figures, Axes };

    RandomDrawing(quint32 seed, Mix mix)
        : m_random(seed)
        , m_mix(mix)
    {
        auto coordinate = [&](int most) { return m_random.bounded(most) + (m_random.bounded(4) == 0 ? 0.5 : 0.0); };
        for (int i = 0; i < 10; ++i) {
            const QPointF from(coordinate(200), coordinate(150));
            QPointF to(coordinate(200), coordinate(150));
            if (i % 3 == 0)
                to.setY(from.y()); // level
            else if (i % 3 == 1)
                to.setX(from.x()); // upright
            m_lines.push_back({ from, to });
        }
    }

    Call next()
    {
        const QColor inks[] = { Black, Yellow, White, Grey };
        const QColor ink = inks[m_random.bounded(3)];
        // Of a hundred calls, how many clear, change the back colour, fill and print; the
        // rest draw lines.
        const int shares[4] = { m_mix == Mix::Figures ? 1 : 0, m_mix == Mix::Figures ? 1 : 0,
                                m_mix == Mix::Figures ? 7 : 1, 18 };
        int kind = m_random.bounded(100);
        if ((kind -= shares[0]) < 0)
            return { QStringLiteral("cls"), [](DrawingLayer &layer) { layer.cls(); } };
        if ((kind -= shares[1]) < 0) {
            const QColor back = m_random.bounded(2) ? Green : PanelBack;
            return { QStringLiteral("back colour %1").arg(colourName(back)),
                     [back](DrawingLayer &layer) { layer.setBackColor(back); } };
        }
        if ((kind -= shares[2]) < 0) {
            const QColor fill = inks[1 + m_random.bounded(3)];
            const QPointF seed(15 + 50 * m_random.bounded(4), 20 + 40 * m_random.bounded(3));
            const QColor border = inks[m_random.bounded(2)];
            return { QStringLiteral("fill at %1, %2 in %3 up to %4").arg(seed.x()).arg(seed.y()).arg(colourName(fill), colourName(border)),
                     [=](DrawingLayer &layer) {
                         layer.setFillColor(fill);
                         layer.floodFill(seed, border);
                     } };
        }
        if ((kind -= shares[3]) < 0) {
            const QString texts[] = { QStringLiteral("0"), QStringLiteral(" 12 "), QStringLiteral("(cm  )") };
            const QString text = texts[m_random.bounded(3)];
            const QPointF at(10 + 60 * m_random.bounded(3), 10 + 45 * m_random.bounded(3));
            const bool bold = m_random.bounded(2);
            return { QStringLiteral("\"%1\" at %2, %3").arg(text).arg(at.x()).arg(at.y()),
                     [=](DrawingLayer &layer) {
                         layer.setFont(Fonts::layoutFont(bold ? 14.25 : 9, bold));
                         layer.setForeColor(ink);
                         layer.moveTo(at);
                         layer.print(text);
                     } };
        }
        const auto &line = m_lines[m_random.bounded(int(m_lines.size()))];
        const QPointF from = line.first, to = line.second;
        // A slanted line at least as thick as two logical pixels, as the graph's: below full
        // size Qt fades a slanted line thinner than a device pixel into what lies below, which
        // the layer does not allow for, and no view draws one.
        const bool slanted = from.x() != to.x() && from.y() != to.y();
        const int width = (slanted ? 2 : 1) + m_random.bounded(2);
        return { QStringLiteral("line %1, %2 to %3, %4, width %5, %6")
                     .arg(from.x()).arg(from.y()).arg(to.x()).arg(to.y()).arg(width).arg(colourName(ink)),
                 [=](DrawingLayer &layer) {
                     layer.setDrawWidth(width);
                     layer.line(from, to, ink);
                 } };
    }

private:
    QRandomGenerator m_random;
    Mix m_mix;
    std::vector<std::pair<QPointF, QPointF>> m_lines;
};

} // namespace LessonTest
