#pragma once

#include "area/area_function.h"

#include <QPointF>

// The graph's scales on its panel: one square of the graph paper is 30 px, 1 cm across and
// 4 cm² up, with the origin near the panel's lower left corner. The curve, its axes, the
// 式 list's room, the prediction and the pointer on the graph all map through here; the
// worksheet's graph paper has the same squares.
namespace GraphAxes {

constexpr double OriginX = 35;
constexpr double OriginY = 480;
constexpr double SquarePixels = 30;
constexpr double CmPerSquare = 1;
constexpr double AreaPerSquare = 4;

// The paper: squares across and up, and where its lines end, right and at the top.
constexpr int Columns = 11;
constexpr int Rows = 15;
constexpr double PaperRight = 385;
constexpr double PaperTop = 5;

// A point (x cm, y cm²) on the panel, and a panel point as (x, y).
constexpr double panelX(double x)
{
    return OriginX + SquarePixels / CmPerSquare * x;
}
constexpr double panelY(double y)
{
    return OriginY - SquarePixels / AreaPerSquare * y;
}
constexpr QPointF toPanel(double x, double y)
{
    return QPointF(panelX(x), panelY(y));
}
constexpr QPointF fromPanel(QPointF point)
{
    return QPointF((point.x() - OriginX) * CmPerSquare / SquarePixels,
                   (OriginY - point.y()) * AreaPerSquare / SquarePixels);
}

// Where the curve can go across: from x = 0 to the figure wholly out.
constexpr double CurveLeft = panelX(0);
constexpr double CurveRight = panelX(AreaFunction::Length);

} // namespace GraphAxes
