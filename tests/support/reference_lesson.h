#pragma once

#include "support/composition.h"

#include <QPointF>

// A small reference of the lesson, written apart from the program: the figure, where P
// stands and the drag under way, with what the steps and the blackboard's pointer do to
// them. The random lessons on the window and on the model alone both check the program
// against it, each adding what it follows besides.
namespace LessonTest {

struct ReferenceLesson
{
    Composition columns {};
    // Half-centimetre steps P has moved out, 0 to 20.
    int step = 0;
    int dragKind = 0;
    bool lifted = false;
    int from = 0;

    double distance() const { return step / 2.0; }
    double px() const { return 300 - 10 * step; }
};

// Each returns whether P moved.
inline bool stepOut(ReferenceLesson &r)
{
    if (r.step == 20)
        return false;
    ++r.step;
    return true;
}

inline bool stepIn(ReferenceLesson &r)
{
    if (r.step == 0)
        return false;
    --r.step;
    return true;
}

// The blackboard as a pointer meets it, strict bounds: the tray's outline cells are 40 px
// wide from x = 350, 400 and 450, above y = 150; the columns are 40 px wide from x = 300,
// between the envelope's lines at y = 180 and 300.
inline int trayKindAt(QPointF at)
{
    if (!(at.y() < 150))
        return 0;
    for (int kind = 1; kind <= 3; ++kind) {
        if (300 + 50 * kind < at.x() && at.x() < 340 + 50 * kind)
            return kind;
    }
    return 0;
}

inline int columnAt(QPointF at)
{
    if (!(180 < at.y() && at.y() < 300))
        return -1;
    for (int i = 0; i < 5; ++i) {
        if (300 + 40 * i < at.x() && at.x() < 340 + 40 * i)
            return i;
    }
    return -1;
}

// A piece picked up from the tray (kind 0: nothing there), or lifted out of a column
// (an empty one, or none, lifts nothing).
inline void pickUp(ReferenceLesson &r, int kind)
{
    if (kind == 0)
        return;
    r.dragKind = kind;
    r.lifted = false;
}

inline void liftFrom(ReferenceLesson &r, int column)
{
    if (column < 0 || column > 4 || r.columns[column] == 0)
        return;
    r.dragKind = r.columns[column];
    r.lifted = true;
    r.from = column;
}

// Where a piece is let go: above the envelope a lifted piece is taken out; in the
// envelope's band it goes into the column there, if any; elsewhere nothing changes. Returns
// whether the lesson went back to its start, as every drop above or into the envelope does.
enum class Drop { AboveEnvelope, InEnvelope, Elsewhere };

inline bool drop(ReferenceLesson &r, Drop where, int column = -1)
{
    if (r.dragKind == 0)
        return false;
    const int kind = r.dragKind;
    r.dragKind = 0;
    if (where == Drop::Elsewhere)
        return false;
    if (where == Drop::AboveEnvelope && r.lifted)
        r.columns[r.from] = 0;
    if (where == Drop::InEnvelope && column >= 0)
        r.columns[column] = kind;
    r.step = 0;
    return true;
}

// A press and a release at blackboard points.
inline void press(ReferenceLesson &r, QPointF at)
{
    if (at.y() < 150)
        pickUp(r, trayKindAt(at));
    else
        liftFrom(r, columnAt(at));
}

inline bool release(ReferenceLesson &r, QPointF at)
{
    const Drop where = at.y() < 180 ? Drop::AboveEnvelope : at.y() > 180 && at.y() < 300 ? Drop::InEnvelope : Drop::Elsewhere;
    return drop(r, where, columnAt(at));
}

} // namespace LessonTest
