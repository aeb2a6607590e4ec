#include "figure/board_markers.h"

#include "figure/board.h"
#include "surface/controls.h"

#include <QLineEdit>

void BoardMarkers::placeMarker()
{
    const double y = lesson.isOn(Lesson::Switch::Marker) ? Board::B.y() : Board::Parked;
    Line5[4]->setEnds(Board::B.x(), y, Board::pointPX(lesson.distance()), y);
}

void BoardMarkers::follow(Lesson::Change change)
{
    if (change == Lesson::Change::InitialScreen) {
        layOutEnvelope();
        return;
    }
    const double px = Board::pointPX(lesson.distance());
    Label4[8]->setLeft(px - 18);
    Shape1->setLeft(px - 4);
    Text1->setText(Lesson::distanceText(lesson.distance()));
    if (lesson.isOn(Lesson::Switch::Marker))
        placeMarker();
    // Halfway between P and B, 5 px further right after a forward step than after any other
    // move; lower while P is still near B.
    const double mid = (px + Board::B.x() + (change == Lesson::Change::StepOut ? 10 : 0)) / 2;
    Label4[6]->setLeft(mid - 22);
    Label4[6]->setTop(px > Board::B.x() - 70 ? Board::B.y() + 25 : Board::B.y());
    Label4[6]->setVisible(!lesson.atStart());
}

void BoardMarkers::layOutEnvelope()
{
    using Board::A, Board::B, Board::C, Board::D;
    Text1->setText(Lesson::distanceText(0));

    auto placeLabel = [&](int index, double left, double top) {
        Label4[index]->setLeft(left);
        Label4[index]->setTop(top);
    };
    placeLabel(0, A.x() - 8, A.y() - 35);
    placeLabel(1, B.x() + 4, B.y());
    placeLabel(2, C.x() - 8, C.y());
    placeLabel(3, D.x() - 8, D.y() - 35);
    placeLabel(4, (B.x() + C.x()) / 2 - 20, B.y() + 5);
    placeLabel(5, C.x() + 5, D.y() + 20);
    placeLabel(8, Board::StartPX - 18, B.y());
    Shape1->setLeft(B.x() - 4);
    Shape1->setTop(B.y() - 4);

    auto &line = Line5;
    // The long bottom line runs in from the board's left, where the figure comes out.
    line[0]->setEnds(Board::BandLeft, B.y(), C.x(), C.y());
    line[1]->setEnds(C.x(), C.y(), D.x(), D.y());
    line[2]->setEnds(D.x(), D.y(), A.x(), A.y());
    line[3]->setEnds(A.x(), A.y(), B.x(), B.y());
    // The red marker is parked below the board, whatever its switch, until the next step.
    line[4]->setEnds(B.x() + 10, Board::Parked, Board::StartPX, Board::Parked);
    // The envelope's flap, open at AB.
    line[5]->setEnds(A.x(), A.y(), A.x() - 20, A.y() + 15);
    line[6]->setEnds(A.x() - 20, A.y() + 15, B.x() - 20, B.y() - 15);
    line[7]->setEnds(B.x() - 20, B.y() - 15, B.x(), B.y());

    placeLabel(6, B.x(), B.y() + 30);
    Label4[6]->setVisible(false);
}
