#pragma once

#include <cstdint>

class Form1;

// Draws the figure on the blackboard for one position of its row of columns: each piece
// white where it is out of the envelope, light grey where it is still inside. Also the
// grid of 1-cm squares and its switch 方眼.
class FigureRenderer
{
public:
    explicit FigureRenderer(Form1 &form) : form(form) {}

    // left: x of column 0's left edge.
    void RedrawFigure(int16_t left);
    void FillPiece1(int16_t left);
    void FillPiece2(int16_t left);
    void FillPiece3(int16_t left);
    void DrawGrid();
    void Check1_Click();

    // Where the envelope's mouth AB stands; left of it is out of the envelope.
    static constexpr int EdgeX = 300;
    static constexpr int BaseY = 300;

private:
    void fillPiece(int16_t left, int top, int seedY);
    void drawEdgeAB();

    Form1 &form;
};
