#pragma once

#include <QString>
#include <array>
#include <vector>

// The area y (cm²) of the figure that has come out of the envelope, as a function of the
// distance x (cm) P has moved: the mathematics every view of the lesson shares (the
// running values, the expressions on the graph, the worksheet). Nothing here draws.
namespace AreaFunction {

// The piece kind in each of the five columns, 0 for an empty one; a column of kind k is
// 2k cm high, so it adds 2k cm² per cm while it crosses the envelope's mouth.
using Columns = std::array<double, 5>;

constexpr double ColumnWidth = 2;
constexpr double Length = 10;

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
