#pragma once

#include "lesson/lesson.h"

#include <cstdint>

class DrawingLayer;

// Draws the figure on the blackboard for one position of its row of columns: each piece
// white where it is out of the envelope, light grey where it is still inside. Also the
// grid of 1-cm squares.
class FigureRenderer
{
public:
    FigureRenderer(DrawingLayer &board, const Lesson &lesson) : board(board), lesson(lesson) {}

    // Brings the blackboard's drawing up to a change of the lesson: the figure, then the
    // grid over it.
    void follow(Lesson::Change change);
    // 方眼 switched: the grid over the picture, or the figure again without it.
    void gridSwitched(bool on);

    // left: x of column 0's left edge.
    void RedrawFigure(int16_t left);
    void FillPiece1(int16_t left);
    void FillPiece2(int16_t left);
    void FillPiece3(int16_t left);
    void DrawGrid();

private:
    void fillPiece(int16_t left, PieceKind kind);
    void drawEdgeAB();
    void redrawAtP();

    DrawingLayer &board;
    const Lesson &lesson;
};
