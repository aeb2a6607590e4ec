#pragma once

#include <QString>
#include <array>
#include <vector>

// A piece is 2 cm wide and two, four or six centimetres high; an empty column holds none.
// The number of each kind (0 to 3) is its height in cm divided by 2, as the page's address
// writes it.
enum class PieceKind { Empty = 0, Two = 1, Four = 2, Six = 3 };

// The kinds of piece, from the lowest up.
constexpr std::array<PieceKind, 3> PieceKinds { PieceKind::Two, PieceKind::Four, PieceKind::Six };

// A piece's height in cm: 0 for an empty column.
constexpr int heightOf(PieceKind kind)
{
    return 2 * int(kind);
}

// The area y (cm²) of the figure that has come out of the envelope, as a function of the
// distance x (cm) P has moved: the mathematics every view of the lesson shares (the
// running values, the expressions on the graph, the worksheet). Nothing here draws.
namespace AreaFunction {

// The piece in each column of the envelope, from the left; a column adds its height in cm²
// per cm while it crosses the envelope's mouth.
constexpr int ColumnCount = 5;
using Columns = std::array<PieceKind, ColumnCount>;

// In cm: each column's width, and the whole figure's, which is as far as P goes.
constexpr double ColumnWidth = 2;
constexpr double Length = ColumnWidth * ColumnCount;
// The envelope is as high as the tallest piece.
constexpr double EnvelopeHeight = heightOf(PieceKinds.back());
// The most y can be: every column holding the tallest piece, wholly out.
constexpr double LargestArea = Length * EnvelopeHeight;
// The steepest the curve rises: while the tallest piece comes out.
constexpr double SteepestSlope = EnvelopeHeight;

// y at x: each column's height times the part of [2i, 2i + 2] that lies in [0, x].
double areaAt(const Columns &columns, double x);

// One piece of the function: y = slope·x + intercept for from ≦ x ≦ to. Its slope is the
// rate of change (変化の割合) over the domain.
struct Domain
{
    double from = 0;
    double to = 0;
    double slope = 0;
    double intercept = 0;

    bool operator==(const Domain &) const = default;
};

// The domains from x = 0 to 10, in order: a maximal run of neighbouring columns of the
// same height makes one domain, an empty column a constant one.
std::vector<Domain> domains(const Columns &columns);

// The domains P has entered at x: those whose start lies before x. None at x = 0.
std::vector<Domain> domainsEntered(const Columns &columns, double x);

// A number as pupils write it: no trailing zeros, no ".0" ("6", "13.5").
QString plain(double value);

// "y=6x", "y=4x+4", "y=x+2", "y=2x−4", "y=28", in the notation of school mathematics.
QString expressionText(double slope, double intercept);
// "0≦x≦2 のとき y=6x".
QString domainText(const Domain &domain);

} // namespace AreaFunction
