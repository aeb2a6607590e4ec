#include "panels/graph_panel.h"

#include "lesson/numeric.h"
#include "panels/graph_axes.h"
#include "surface/drawing_layer.h"
#include "surface/palette.h"

#include <algorithm>

GraphPanel::GraphPanel(DrawingLayer &panel, const Lesson &lesson, QObject *parent)
    : QObject(parent)
    , panel(panel)
    , lesson(lesson)
{
}

QPointF GraphPanel::pointAt(double x) const
{
    return GraphAxes::toPanel(x, AreaFunction::areaAt(lesson.columns(), x));
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

    using namespace GraphAxes;
    const QColor green = Palette::color(Palette::Green);
    for (int i = 0; i <= Rows; ++i)
        panel.line(QPointF(OriginX, panelY(AreaPerSquare * i)), QPointF(PaperRight, panelY(AreaPerSquare * i)), green);
    for (int i = 0; i <= Columns; ++i)
        panel.line(QPointF(panelX(CmPerSquare * i), OriginY), QPointF(panelX(CmPerSquare * i), PaperTop), green);
    // One pixel outside the first grid lines, so the axes show two pixels thick.
    const QPointF corner(OriginX - 1, OriginY + 1);
    panel.line(corner, QPointF(PaperRight - 1, corner.y()), green);
    panel.line(corner, QPointF(corner.x(), PaperTop + 1), green);

    panel.setForeColor(Palette::color(Palette::Black));
    auto printAt = [&](double left, double top, const QString &text) {
        panel.moveTo(QPointF(left, top));
        panel.print(text);
    };
    // The scales' numbers below and left of their lines, the units at the ends.
    const double below = OriginY + 5;
    for (int i = 1; i <= int(AreaFunction::Length); ++i)
        printAt(panelX(i) - 6 - (i >= 10 ? 3 : 0), below, Numeric::numberText(i));
    printAt(PaperRight - 23, below, QStringLiteral("(cm)"));
    printAt(OriginX - 10, below, QStringLiteral("0"));
    for (int i = 1; i <= Rows; ++i)
        printAt(15 + (i < 3 ? 5 : 0), panelY(AreaPerSquare * i) - 5, Numeric::numberText(AreaPerSquare * i));
    // The raised 2 sits in the gap and reads as square centimetres.
    printAt(2, PaperTop + 3, QStringLiteral("(cm  )"));
    printAt(22, PaperTop, QStringLiteral("2"));
}

void GraphPanel::PlotGraph(Plot plot)
{
    const double x = lesson.distance();
    // Forward, the segment from the step before (at the start, a dot at the origin);
    // backward, the one from the step taken back.
    const double from = plot == Plot::Forward ? std::max(0.0, x - 0.5) : x + 0.5;
    if (lesson.isOn(Lesson::Switch::Graph)) {
        panel.setDrawWidth(3);
        panel.setForeColor(plot == Plot::Forward ? Palette::panelInk() : Palette::panelBack());
        panel.line(pointAt(from), pointAt(x));
    }
    // Over the plotted line, and over any gap an erasure left.
    DrawGraphAxes(Axes::OverDrawing);
}
