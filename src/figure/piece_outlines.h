#pragma once

#include <array>
#include <cstdint>

class Form1;
class LineControl;

// Moves the yellow outline of a piece kind so that its cell (40 × 120 px, the piece
// standing on its bottom) has its upper left corner at the reference point.
class PieceOutlines
{
public:
    explicit PieceOutlines(Form1 &form) : form(form) {}

    // Kinds 1, 2 and 3. Return false, moving nothing, when a coordinate would leave the
    // 16-bit range.
    bool PlaceLine6Outline(int16_t x, int16_t y);
    bool PlaceLine7Outline(int16_t x, int16_t y);
    bool PlaceLine9Outline(int16_t x, int16_t y);

    // All three outlines back at their places in the tray, their size labels shown.
    void sendHome();

    // Top offset of each kind's outline within its cell.
    static int topOffset(int kind);

private:
    bool place(const std::array<LineControl *, 4> &lines, int16_t x, int16_t y, int top);

    Form1 &form;
};
