#include "figure/figure_renderer.h"

#include "lesson/numeric.h"
#include "surface/drawing_layer.h"
#include "surface/palette.h"

namespace {

struct PieceShape
{
    int top;
    int seedY;
};

constexpr PieceShape shapes[4] = { { 0, 0 }, { 260, 298 }, { 220, 268 }, { 180, 268 } };

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
        RedrawFigure(int16_t(Lesson::StartX));
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
    if (const auto left = Numeric::toInt16(lesson.scene().PointPX))
        RedrawFigure(*left);
}

void FigureRenderer::drawEdgeAB()
{
    board.line(QPointF(EdgeX, 180), QPointF(EdgeX, BaseY));
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
    for (int i = 0; i < 5; ++i) {
        const int16_t columnLeft = int16_t(left + 40 * i);
        const double kind = lesson.columns()[i];
        if (kind == 1)
            FillPiece1(columnLeft);
        if (kind == 2)
            FillPiece2(columnLeft);
        if (kind == 3)
            FillPiece3(columnLeft);
    }
}

void FigureRenderer::FillPiece1(int16_t left)
{
    fillPiece(left, shapes[1].top, shapes[1].seedY);
}

void FigureRenderer::FillPiece2(int16_t left)
{
    fillPiece(left, shapes[2].top, shapes[2].seedY);
}

void FigureRenderer::FillPiece3(int16_t left)
{
    fillPiece(left, shapes[3].top, shapes[3].seedY);
}

void FigureRenderer::fillPiece(int16_t left, int top, int seedY)
{
    board.line(QPointF(left, BaseY), QPointF(left + 40, BaseY));
    board.line(QPointF(left + 40, BaseY), QPointF(left + 40, top));
    board.line(QPointF(left + 40, top), QPointF(left, top));
    board.line(QPointF(left, top), QPointF(left, BaseY));

    // Each fill stops at the fore colour, read again just before it.
    auto fill = [&](int paletteIndex, int seedX) {
        board.setFillColor(Palette::color(paletteIndex));
        board.floodFill(QPointF(seedX, seedY), board.foreColor());
    };
    if (left <= EdgeX - 40) {
        fill(Palette::White, left + 5);
    } else if (left < EdgeX) {
        fill(Palette::White, left + 5);
        fill(Palette::LightGrey, left + 35);
    } else {
        fill(Palette::LightGrey, left + 35);
    }
}

void FigureRenderer::DrawGrid()
{
    board.setDrawWidth(1);
    const QColor black = Palette::color(Palette::Black);
    for (int i = 0; i <= 6; ++i)
        board.lineStep(QPointF(20, 180 + 20 * i), QPointF(560, 0), black);
    for (int i = 0; i <= 30; ++i)
        board.lineStep(QPointF(20 + 20 * i, 180), QPointF(0, 120), black);
    board.setDrawWidth(2);
}
