#pragma once

#include "figure/board_markers.h"
#include "figure/figure_renderer.h"
#include "figure/piece_dragger.h"
#include "figure/piece_outlines.h"
#include "lesson/lesson.h"

#include <array>

class LabelControl;
class LineControl;
class PictureBox;
class Placement;
class QCheckBox;
class QLineEdit;
class ShapeControl;

// The green blackboard with everything on it, following one lesson: the tray with its
// outlines and size labels, the envelope and its letters, P, the distance box, the marker
// switch and its red line, and the figure drawn at P. It makes its controls on the picture
// box it is given, in the order they are painted, each under its name ("Label4(6)").
class Blackboard
{
public:
    Blackboard(PictureBox &board, Placement &placement, Lesson &lesson);

    // Brings the board up to a change of the lesson: the figure and the grid, then the
    // markers; on the initial screen the outlines go home.
    void follow(Lesson::Change change);

    PictureBox &box() const { return board; }
    FigureRenderer &figure() { return m_figure; }
    BoardMarkers &markers() { return m_markers; }
    PieceOutlines &outlines() { return m_outlines; }
    PieceDragger &dragger() { return m_dragger; }
    // The marker switch and the distance box, windowed controls of the board.
    QCheckBox *markerBox() const { return Check4; }
    QLineEdit *distanceBox() const { return Text1; }

private:
    void build(Placement &placement, const Lesson &lesson);

    PictureBox &board;

    // Line4 has only index 1, Label4 has no index 7.
    LineControl *Line1 = nullptr;
    LabelControl *Label1 = nullptr;
    std::array<LineControl *, 2> Line4 {};
    QCheckBox *Check4 = nullptr;
    QLineEdit *Text1 = nullptr;
    LabelControl *Label2 = nullptr;
    std::array<LabelControl *, 6> Label9 {};
    std::array<LabelControl *, 9> Label4 {};
    ShapeControl *Shape1 = nullptr;
    std::array<LineControl *, 8> Line5 {};
    std::array<LineControl *, 4> Line6 {};
    std::array<LineControl *, 4> Line7 {};
    std::array<LineControl *, 4> Line9 {};

    // They keep the arrays above, which the constructor fills.
    FigureRenderer m_figure;
    BoardMarkers m_markers;
    PieceOutlines m_outlines;
    PieceDragger m_dragger;
};
