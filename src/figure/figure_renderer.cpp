#include "figure/figure_renderer.h"

#include "figure/board.h"
#include "lesson/numeric.h"
#include "surface/drawing_layer.h"
#include "surface/palette.h"

namespace {

// Where a piece's fills start, above BC: low in the lowest piece, which is no higher than
// that, and higher up in the others.
int seedY(PieceKind kind)
{
    return Board::EnvelopeBottom - (kind == PieceKind::Two ? 2 : 32);
}

// Left of AB a piece is out of the envelope.
constexpr int EdgeX = Board::EnvelopeLeft;

} // namespace

void FigureRenderer::follow(Lesson::Change change)
{
    switch (change) {
    case Lesson::Change::InitialScreen:
        // Only the envelope's controls and the tray: no figure, not even AB drawn.
        board.cls();
        break;
    case Lesson::Change::Dropped:
        // From the first drop on, the pieces and AB are outlined in yellow.
        board.setForeColor(Palette::color(Palette::Yellow));
        RedrawFigure(int16_t(Board::StartPX));
        // The redraw lays the grid under the pieces and, after a drop, leaves it there.
        return;
    default:
        redrawAtP();
        break;
    }
    if (lesson.isOn(Lesson::Switch::Grid))
        DrawGrid();
}

void FigureRenderer::gridSwitched(bool on)
{
    if (on)
        DrawGrid();
    else
        redrawAtP();
}

void FigureRenderer::redrawAtP()
{
    if (const auto left = Numeric::toInt16(Board::pointPX(lesson.distance())))
        RedrawFigure(*left);
}

void FigureRenderer::drawEdgeAB()
{
    board.line(Board::A, Board::B);
}

void FigureRenderer::RedrawFigure(int16_t left)
{
    board.cls();
    drawEdgeAB();
    if (lesson.isOn(Lesson::Switch::Grid)) {
        DrawGrid();
        // The grid's black lines cross AB; drawn again, AB keeps dividing a piece that
        // straddles it into its outside and inside parts for the fills below.
        drawEdgeAB();
    }
    for (int i = 0; i < AreaFunction::ColumnCount; ++i) {
        const int16_t columnLeft = int16_t(Board::columnLeft(i, left));
        switch (lesson.columns()[i]) {
        case PieceKind::Two: FillPiece1(columnLeft); break;
        case PieceKind::Four: FillPiece2(columnLeft); break;
        case PieceKind::Six: FillPiece3(columnLeft); break;
        case PieceKind::Empty: break;
        }
    }
}

void FigureRenderer::FillPiece1(int16_t left)
{
    fillPiece(left, PieceKind::Two);
}

void FigureRenderer::FillPiece2(int16_t left)
{
    fillPiece(left, PieceKind::Four);
}

void FigureRenderer::FillPiece3(int16_t left)
{
    fillPiece(left, PieceKind::Six);
}

void FigureRenderer::fillPiece(int16_t left, PieceKind kind)
{
    const int right = left + Board::ColumnWidth, top = Board::pieceTop(kind), bottom = Board::EnvelopeBottom;
    board.line(QPointF(left, bottom), QPointF(right, bottom));
    board.line(QPointF(right, bottom), QPointF(right, top));
    board.line(QPointF(right, top), QPointF(left, top));
    board.line(QPointF(left, top), QPointF(left, bottom));

    // Each fill stops at the fore colour, read again just before it.
    auto fill = [&](int paletteIndex, int seedX) {
        board.setFillColor(Palette::color(paletteIndex));
        board.floodFill(QPointF(seedX, seedY(kind)), board.foreColor());
    };
    // Seeded 5 px inside the piece's left edge for its part out of the envelope, 5 px inside
    // its right edge for the part still in.
    if (right <= EdgeX) {
        fill(Palette::White, left + 5);
    } else if (left < EdgeX) {
        fill(Palette::White, left + 5);
        fill(Palette::LightGrey, right - 5);
    } else {
        fill(Palette::LightGrey, right - 5);
    }
}

void FigureRenderer::DrawGrid()
{
    board.setDrawWidth(1);
    const QColor black = Palette::color(Palette::Black);
    const int cm = Board::PixelsPerCm, top = Board::EnvelopeTop, height = Board::EnvelopeBottom - top;
    for (int i = 0; i * cm <= height; ++i)
        board.lineStep(QPointF(Board::BandLeft, top + cm * i), QPointF(Board::GridRowLength, 0), black);
    for (int i = 0; i <= Board::GridColumns; ++i)
        board.lineStep(QPointF(Board::BandLeft + cm * i, top), QPointF(0, height), black);
    board.setDrawWidth(2);
}
