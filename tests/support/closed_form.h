#pragma once

#include <algorithm>
#include <array>

namespace LessonTest {

// The area out of the envelope, in cm², straight from the composition: each column's
// height times the part of [2i, 2i + 2] that lies in [0, x].
inline double trueArea(const std::array<double, 5> &composition, double x)
{
    double area = 0;
    for (int i = 0; i < 5; ++i) {
        const double overlap = std::clamp(x - 2.0 * i, 0.0, 2.0);
        area += 2 * composition[i] * overlap;
    }
    return area;
}

} // namespace LessonTest
