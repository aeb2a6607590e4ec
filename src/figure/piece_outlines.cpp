#include "figure/piece_outlines.h"

#include "figure/board.h"
#include "lesson/numeric.h"
#include "surface/controls.h"

#include <limits>

int PieceOutlines::topOffset(PieceKind kind)
{
    return Board::CellHeight - Board::pixels(heightOf(kind));
}

bool PieceOutlines::PlaceLine6Outline(int16_t x, int16_t y)
{
    return place(line6, x, y, topOffset(PieceKind::Two));
}

bool PieceOutlines::PlaceLine7Outline(int16_t x, int16_t y)
{
    return place(line7, x, y, topOffset(PieceKind::Four));
}

bool PieceOutlines::PlaceLine9Outline(int16_t x, int16_t y)
{
    return place(line9, x, y, topOffset(PieceKind::Six));
}

bool PieceOutlines::place(PieceKind kind, int16_t x, int16_t y)
{
    switch (kind) {
    case PieceKind::Two: return PlaceLine6Outline(x, y);
    case PieceKind::Four: return PlaceLine7Outline(x, y);
    case PieceKind::Six: return PlaceLine9Outline(x, y);
    case PieceKind::Empty: break;
    }
    return false;
}

namespace {

// Each kind's two size labels, in the order of the kinds.
int firstSizeLabel(PieceKind kind)
{
    return 2 * (int(kind) - 1);
}

} // namespace

void PieceOutlines::sendHome()
{
    for (PieceKind kind : PieceKinds) {
        place(kind, int16_t(Board::trayLeft(kind)), int16_t(Board::TrayTop));
        sizeLabels[firstSizeLabel(kind)]->setVisible(true);
        sizeLabels[firstSizeLabel(kind) + 1]->setVisible(true);
    }
}

void PieceOutlines::follow(PieceKind kind, double x, double y)
{
    if (kind == PieceKind::Empty)
        return;
    // The outline is centred on the pointer: its piece stands on its cell's bottom.
    const double centreOffset = Board::CellHeight - (Board::CellHeight - topOffset(kind)) / 2.0;
    const auto refX = Numeric::toInt16(x - Board::ColumnWidth / 2.0);
    const auto refY = Numeric::toInt16(y - centreOffset);
    if (refX && refY)
        place(kind, *refX, *refY);
    sizeLabels[firstSizeLabel(kind)]->setVisible(false);
    sizeLabels[firstSizeLabel(kind) + 1]->setVisible(false);
}

bool PieceOutlines::place(const Outline &lines, int16_t x, int16_t y, int top)
{
    // The sums are 16-bit quantities; rather than leave a half-moved outline, nothing is
    // moved when one of them would not fit.
    const int right = x + Board::ColumnWidth;
    const int topY = y + top;
    const int bottom = y + Board::CellHeight;
    if (right > std::numeric_limits<int16_t>::max() || bottom > std::numeric_limits<int16_t>::max())
        return false;

    // Clockwise from the upper left corner, each line starting where the one before ended.
    lines[0]->setEnds(x, topY, right, topY);
    lines[1]->setEnds(right, topY, right, bottom);
    lines[2]->setEnds(right, bottom, x, bottom);
    lines[3]->setEnds(x, bottom, x, topY);
    return true;
}
