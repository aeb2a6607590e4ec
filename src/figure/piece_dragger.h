#pragma once

#include <QPointF>

class Lesson;
class PieceOutlines;

// The pointer on the blackboard, turned into the lesson's drag: a press on a tray outline
// picks that kind up, one on a column's piece lifts it; while it moves, the kind's outline
// follows it; letting go tells the lesson where, in its own terms. Any button drags.
class PieceDragger
{
public:
    PieceDragger(Lesson &lesson, PieceOutlines &outlines) : lesson(lesson), outlines(outlines) {}

    // In blackboard pixels.
    void press(QPointF at);
    void move(QPointF at);
    void release(QPointF at);

private:
    Lesson &lesson;
    PieceOutlines &outlines;
};
