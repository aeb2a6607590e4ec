#pragma once

#include "area/area_function.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>

namespace LessonTest {

// The area out of the envelope, in cm², counted as a pupil counts it on squared paper: the
// half-centimetre squares of the figure that lie left of the envelope's mouth once P has
// moved x cm. A piece 2k cm high is 4k such squares high; each strip of the figure half a
// centimetre wide belongs to the column it lies in. Only whole half centimetres, where P
// stands, are counted: a fault of the program's formula is not shared by this count.
inline double trueArea(const AreaFunction::Columns &figure, double x)
{
    const double strips = std::clamp(x, 0.0, 10.0) * 2;
    if (strips != std::floor(strips))
        qFatal("the squares are counted at whole half centimetres only, not at x = %g", x);
    int squares = 0;
    for (int strip = 0; strip < int(strips); ++strip)
        squares += 4 * int(figure[strip / 4]);
    return squares / 4.0;
}

} // namespace LessonTest
