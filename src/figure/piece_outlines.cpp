#include "figure/piece_outlines.h"

#include "app/form1.h"

#include <limits>

int PieceOutlines::topOffset(int kind)
{
    switch (kind) {
    case 1: return 80;
    case 2: return 40;
    default: return 0;
    }
}

bool PieceOutlines::PlaceLine6Outline(int16_t x, int16_t y)
{
    return place(form.Line6, x, y, topOffset(1));
}

bool PieceOutlines::PlaceLine7Outline(int16_t x, int16_t y)
{
    return place(form.Line7, x, y, topOffset(2));
}

bool PieceOutlines::PlaceLine9Outline(int16_t x, int16_t y)
{
    return place(form.Line9, x, y, topOffset(3));
}

void PieceOutlines::sendHome()
{
    PlaceLine6Outline(350, 5);
    form.Label9[0]->setVisible(true);
    form.Label9[1]->setVisible(true);
    PlaceLine7Outline(400, 5);
    form.Label9[2]->setVisible(true);
    form.Label9[3]->setVisible(true);
    PlaceLine9Outline(450, 5);
    form.Label9[4]->setVisible(true);
    form.Label9[5]->setVisible(true);
}

bool PieceOutlines::place(const std::array<LineControl *, 4> &lines, int16_t x, int16_t y, int top)
{
    // The sums are 16-bit quantities; rather than leave a half-moved outline, nothing is
    // moved when one of them would not fit.
    const int right = x + 40;
    const int topY = y + top;
    const int bottom = y + 120;
    if (right > std::numeric_limits<int16_t>::max() || bottom > std::numeric_limits<int16_t>::max())
        return false;

    // Clockwise from the upper left corner, each line starting where the one before ended.
    lines[0]->setEnds(x, topY, right, topY);
    lines[1]->setEnds(right, topY, right, bottom);
    lines[2]->setEnds(right, bottom, x, bottom);
    lines[3]->setEnds(x, bottom, x, topY);
    return true;
}
