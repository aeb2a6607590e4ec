#pragma once

#include "area/area_function.h"

#include <QPointF>

class PagePen;

// The figure as composed in the envelope ABCD, at its true size on paper: each piece outlined
// on a pale fill, 1 cm squares to count by, the envelope's flap open at AB with the arrow of
// the pull, and the letters A, B, C, D and P. The worksheet and the practice's result show it.
namespace PageFigure {

// Draws it with the envelope's corner A at a point of the page. The flap and the arrow reach
// 3.6 cm left of A, the letters above it about 17 points up, and the width written beneath
// the envelope 22 points down.
void draw(PagePen &pen, const AreaFunction::Columns &columns, QPointF a);

} // namespace PageFigure
