#pragma once

#include "area/area_function.h"

#include <array>
#include <cstdint>

class LabelControl;
class LineControl;

// The yellow outlines of the three piece kinds in the tray, with their size labels. Each
// moves so that its cell (a column wide and as high as the tallest piece, the piece
// standing on its bottom) has its upper left corner at a reference point; a dragged one
// follows the pointer.
class PieceOutlines
{
public:
    using Outline = std::array<LineControl *, 4>;

    // The controls themselves belong to the blackboard; these are the window's arrays of them.
    PieceOutlines(const Outline &line6, const Outline &line7, const Outline &line9,
                  const std::array<LabelControl *, 6> &sizeLabels)
        : line6(line6), line7(line7), line9(line9), sizeLabels(sizeLabels)
    {
    }

    // The lowest, middle and tallest kind. Return false, moving nothing, when a coordinate would leave the
    // 16-bit range.
    bool PlaceLine6Outline(int16_t x, int16_t y);
    bool PlaceLine7Outline(int16_t x, int16_t y);
    bool PlaceLine9Outline(int16_t x, int16_t y);

    // All three outlines back at their places in the tray, their size labels shown.
    void sendHome();
    // The outline of the kind being dragged centred on the pointer (blackboard pixels),
    // its size labels hidden until it goes home.
    void follow(PieceKind kind, double x, double y);

    // Top offset of each kind's outline within its cell.
    static int topOffset(PieceKind kind);

private:
    bool place(const Outline &lines, int16_t x, int16_t y, int top);
    bool place(PieceKind kind, int16_t x, int16_t y);

    const Outline &line6;
    const Outline &line7;
    const Outline &line9;
    const std::array<LabelControl *, 6> &sizeLabels;
};
