#pragma once

#include "app/fonts.h"
#include "app/form1.h"

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <array>
#include <memory>

// Test main: the fonts must be resolved before any widget exists, as the program does.
#define LESSON_TEST_MAIN(TestObject)                                                               \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        Fonts::install();                                                                          \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

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

inline double distanceOf(const SceneState &s)
{
    return (300 - s.PointPX) / 20;
}

// A window as the program shows it.
inline std::unique_ptr<Form1> makeForm()
{
    auto form = std::make_unique<Form1>();
    form->show();
    return form;
}

} // namespace LessonTest
