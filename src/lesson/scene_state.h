#pragma once

#include "area/area_function.h"

// Where the lesson stands, in its own units: the figure in the columns, the drag under way
// and how far P has moved. The lesson model owns the one copy and is its only writer; the
// board's view turns it into pixels.
struct SceneState
{
    // Piece held by each column, from the left.
    AreaFunction::Columns Slot {};

    // Kind of the piece being dragged; Empty when no drag is under way.
    PieceKind DragKind = PieceKind::Empty;
    // Column the dragged piece was lifted from; only lifting a piece out of a column writes it.
    int DragFrom = 0;

    // Half-centimetre steps P has moved from B, 0 to LastStep: where P stands is the one
    // source of x for every view (what is typed into the distance box is not).
    int step = 0;
    static constexpr int LastStep = int(2 * AreaFunction::Length);

    // The distance P has moved, in cm, and its half-step index 2x.
    double distance() const { return step / 2.0; }
    int stepIndex() const { return step; }
};
