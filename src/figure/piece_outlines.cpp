#include "figure/piece_outlines.h"

#include "lesson/numeric.h"
#include "surface/controls.h"

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
    return place(line6, x, y, topOffset(1));
}

bool PieceOutlines::PlaceLine7Outline(int16_t x, int16_t y)
{
    return place(line7, x, y, topOffset(2));
}

bool PieceOutlines::PlaceLine9Outline(int16_t x, int16_t y)
{
    return place(line9, x, y, topOffset(3));
}

void PieceOutlines::sendHome()
{
    PlaceLine6Outline(350, 5);
    sizeLabels[0]->setVisible(true);
    sizeLabels[1]->setVisible(true);
    PlaceLine7Outline(400, 5);
    sizeLabels[2]->setVisible(true);
    sizeLabels[3]->setVisible(true);
    PlaceLine9Outline(450, 5);
    sizeLabels[4]->setVisible(true);
    sizeLabels[5]->setVisible(true);
}

void PieceOutlines::follow(int kind, double x, double y)
{
    // The outline is centred on the pointer: its cell is 40 px wide and its piece stands
    // on the cell's bottom, 120 px below the reference point.
    const double centreOffset = 120 - (120 - topOffset(kind)) / 2.0;
    const auto refX = Numeric::toInt16(x - 20);
    const auto refY = Numeric::toInt16(y - centreOffset);
    if (refX && refY) {
        switch (kind) {
        case 1: PlaceLine6Outline(*refX, *refY); break;
        case 2: PlaceLine7Outline(*refX, *refY); break;
        case 3: PlaceLine9Outline(*refX, *refY); break;
        }
    }
    const int firstLabel = 2 * (kind - 1);
    sizeLabels[firstLabel]->setVisible(false);
    sizeLabels[firstLabel + 1]->setVisible(false);
}

bool PieceOutlines::place(const Outline &lines, int16_t x, int16_t y, int top)
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
