#pragma once

#include "area/area_function.h"

#include <QPoint>
#include <QPointF>
#include <optional>

// The blackboard's geometry, in its pixels (20 to a centimetre, y growing downwards): the
// envelope and its columns, the band they stand in, the tray and where P goes. The board's
// drawing, its markers, its outlines and its hit-tests all read it here; the lesson itself
// speaks centimetres, columns and piece kinds.
namespace Board {

constexpr int PixelsPerCm = 20;

// A length of the lesson in the board's pixels.
constexpr int pixels(double centimetres)
{
    return int(centimetres * PixelsPerCm);
}

// The envelope ABCD: AB is its mouth, where the figure comes out; BC the line the pieces
// stand on and P moves along.
constexpr int ColumnWidth = pixels(AreaFunction::ColumnWidth);
constexpr int EnvelopeLeft = 300;
constexpr int EnvelopeRight = EnvelopeLeft + ColumnWidth * AreaFunction::ColumnCount;
constexpr int EnvelopeBottom = 300;
constexpr int EnvelopeTop = EnvelopeBottom - pixels(AreaFunction::EnvelopeHeight);
constexpr QPoint A(EnvelopeLeft, EnvelopeTop);
constexpr QPoint B(EnvelopeLeft, EnvelopeBottom);
constexpr QPoint C(EnvelopeRight, EnvelopeBottom);
constexpr QPoint D(EnvelopeRight, EnvelopeTop);

// The left edge of a column of the figure whose column 0 starts at `left`.
constexpr int columnLeft(int column, int left = EnvelopeLeft)
{
    return left + ColumnWidth * column;
}

// The top of a piece standing on BC.
constexpr int pieceTop(PieceKind kind)
{
    return EnvelopeBottom - pixels(heightOf(kind));
}

// The band the envelope stands in runs in from 1 cm off the board's left; the grid of 1 cm
// squares covers it.
constexpr int BandLeft = 20;
constexpr int GridRowLength = 560;
constexpr int GridColumns = 30;

// P, the figure's lower left corner, from B (x = 0) to the figure wholly out (x = 10 cm).
constexpr double pointPX(double distance)
{
    return EnvelopeLeft - PixelsPerCm * distance;
}
constexpr double StartPX = pointPX(0);
constexpr double EndPX = pointPX(AreaFunction::Length);

// Out of sight below the board, where a control is parked while it is not shown.
constexpr int Parked = 800;

// The tray along the top: each kind's outline stands in a cell as wide as a column and as
// high as the tallest piece, with the piece on the cell's bottom. The cells stand over the
// envelope, the lowest piece's first.
constexpr int TrayBottom = 150;
constexpr int TrayTop = 5;
constexpr int TrayPitch = 50;
constexpr int CellHeight = pixels(AreaFunction::EnvelopeHeight);
constexpr int trayLeft(PieceKind kind)
{
    return EnvelopeLeft + TrayPitch * int(kind);
}

// Hit-tests, with strict bounds as the board's pointer always had: the column whose inside
// holds the point, within the envelope's band; the kind whose tray cell's width holds it,
// above the tray's bottom.
std::optional<int> columnAt(QPointF at);
PieceKind trayKindAt(QPointF at);
// Above the envelope, and within its band (between its top and bottom lines).
constexpr bool aboveEnvelope(double y)
{
    return y < EnvelopeTop;
}
constexpr bool inBand(double y)
{
    return EnvelopeTop < y && y < EnvelopeBottom;
}

} // namespace Board
