#pragma once

#include "lesson/lesson.h"

#include <array>

class LabelControl;
class LineControl;
class QLineEdit;
class ShapeControl;

// What stands on the blackboard besides the figure, placed for where P stands: the
// envelope's lines and letters, P's letter and dot, the distance box, the red marker of x
// and its "χcm" label.
class BoardMarkers
{
public:
    using Letters = std::array<LabelControl *, 9>;
    using Lines = std::array<LineControl *, 8>;

    // The controls belong to the blackboard and are made by the window, in the order they
    // are painted; these are the window's arrays of them.
    BoardMarkers(const Lesson &lesson, const Letters &Label4, const Lines &Line5, ShapeControl *const &Shape1,
                 QLineEdit *const &Text1)
        : lesson(lesson), Label4(Label4), Line5(Line5), Shape1(Shape1), Text1(Text1)
    {
    }

    // Brings them up to a change of the lesson: on the initial screen the envelope is laid
    // out afresh, P at B.
    void follow(Lesson::Change change);
    // The marker switch: the red marker from B to P, or parked out of sight.
    void placeMarker();

private:
    void layOutEnvelope();

    const Lesson &lesson;
    const Letters &Label4;
    const Lines &Line5;
    ShapeControl *const &Shape1;
    QLineEdit *const &Text1;
};
