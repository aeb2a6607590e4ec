#pragma once

#include <array>
#include <cstdint>

// Where everything stands on the blackboard, all 0 when the program starts. Numbers are
// blackboard pixels unless said otherwise; "number" values hold whole numbers and halves,
// so they are doubles. The lesson model owns the one copy and is its only writer.
struct SceneState
{
    // Vertices of the envelope ABCD; P starts at B and moves along BC's line.
    double PointAX = 0, PointAY = 0;
    double PointBX = 0, PointBY = 0;
    double PointCX = 0, PointCY = 0;
    double PointDX = 0;
    int16_t PointDY = 0;

    // x of point P: 300 at the start, 100 with the figure wholly out; x cm = (300 - PointPX) / 20.
    double PointPX = 0;
    int16_t BaseLineY = 0;

    // Kind (1..3) of the piece being dragged, 0 when no drag is under way.
    double DragKind = 0;
    // Piece kind held by each column, 0 = empty.
    std::array<double, 5> Slot {};
    // Column the dragged piece was lifted from; only a press on a column writes it.
    double DragFrom = 0;

    // The distance P has moved, in cm, and its half-step index 2x: where P stands is the
    // one source of x for every view (what is typed into the distance box is not).
    double distance() const { return (300 - PointPX) / 20; }
    int stepIndex() const { return int((300 - PointPX) / 10); }
};
