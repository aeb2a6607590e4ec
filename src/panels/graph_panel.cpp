#include "panels/graph_panel.h"

#include "lesson/numeric.h"
#include "panels/table_panel.h"
#include "surface/drawing_layer.h"
#include "surface/palette.h"

#include <algorithm>

GraphPanel::GraphPanel(DrawingLayer &panel, const Lesson &lesson)
    : panel(panel)
    , lesson(lesson)
{
}

QPointF GraphPanel::toPanel(double x, double y)
{
    return QPointF(35 + 30 * x, 480 - 30.0 / 4 * y);
}

QPointF GraphPanel::fromPanel(QPointF point)
{
    return QPointF((point.x() - 35) / 30, (480 - point.y()) * 4 / 30.0);
}

QPointF GraphPanel::pointAt(double x) const
{
    return toPanel(x, AreaFunction::areaAt(lesson.columns(), x));
}

void GraphPanel::follow(Lesson::Change change)
{
    switch (change) {
    case Lesson::Change::StepOut:
        PlotGraph(Plot::Forward);
        break;
    case Lesson::Change::StepIn:
        PlotGraph(Plot::Backward);
        break;
    default:
        // Started over: the empty axes, and the curve's first point at the origin.
        DrawGraphAxes(Axes::ClearFirst);
        PlotGraph(Plot::Forward);
        break;
    }
}

void GraphPanel::DrawGraphAxes(Axes axes)
{
    panel.setDrawWidth(1);
    if (axes == Axes::ClearFirst)
        panel.cls();

    const QColor green = Palette::color(Palette::Green);
    for (int i = 0; i <= 15; ++i)
        panel.line(QPointF(35, 480 - 30 * i), QPointF(385, 480 - 30 * i), green);
    for (int i = 0; i <= 11; ++i)
        panel.line(QPointF(35 + 30 * i, 480), QPointF(35 + 30 * i, 5), green);
    // One pixel outside the first grid lines, so the axes show two pixels thick.
    panel.line(QPointF(34, 481), QPointF(384, 481), green);
    panel.line(QPointF(34, 481), QPointF(34, 6), green);

    panel.setForeColor(Palette::color(Palette::Black));
    auto printAt = [&](double left, double top, const QString &text) {
        panel.moveTo(QPointF(left, top));
        panel.print(text);
    };
    for (int i = 1; i <= 10; ++i)
        printAt(29 + 30 * i - (i >= 10 ? 3 : 0), 485, Numeric::numberText(i));
    printAt(362, 485, QStringLiteral("(cm)"));
    printAt(25, 485, QStringLiteral("0"));
    for (int i = 1; i <= 15; ++i)
        printAt(15 + (i < 3 ? 5 : 0), 475 - 30 * i, Numeric::numberText(4 * i));
    // The raised 2 sits in the gap and reads as square centimetres.
    printAt(2, 8, QStringLiteral("(cm  )"));
    printAt(22, 5, QStringLiteral("2"));
}

void GraphPanel::PlotGraph(Plot plot)
{
    const double x = lesson.distance();
    // Forward, the segment from the step before (at the start, a dot at the origin);
    // backward, the one from the step taken back.
    const double from = plot == Plot::Forward ? std::max(0.0, x - 0.5) : x + 0.5;
    if (lesson.isOn(Lesson::Switch::Graph)) {
        panel.setDrawWidth(3);
        panel.setForeColor(plot == Plot::Forward ? TablePanel::inkColor() : TablePanel::eraseColor());
        panel.line(pointAt(from), pointAt(x));
    }
    // Over the plotted line, and over any gap an erasure left.
    DrawGraphAxes(Axes::OverDrawing);
}
