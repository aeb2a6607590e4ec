#pragma once

#include "app/form1.h"
#include "support/closed_form.h"
#include "surface/controls.h"
#include "surface/fonts.h"
#include "surface/picture_box.h"

#include <QApplication>
#include <QColor>
#include <QPoint>
#include <QStringList>
#include <QTest>
#include <algorithm>
#include <array>
#include <initializer_list>
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

// The kinds of piece in the five columns, 0 for an empty one.
using Composition = std::array<double, 5>;

const QColor Green(0, 128, 0);
const QColor White(255, 255, 255);
const QColor Grey(192, 192, 192);
const QColor Black(0, 0, 0);
const QColor Yellow(255, 255, 0);
const QColor DarkYellow(128, 128, 0);
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);
const QColor PanelBack(255, 255, 192);

// Board points are drawing coordinates; events and grabs are in the widget's, inside the border.
const QPoint Border(PictureBox::BorderWidth, PictureBox::BorderWidth);

// All digits, so that a value read back equal is equal.
inline QString number(double v)
{
    return QString::number(v, 'g', 17);
}

inline QString colourName(QColor c)
{
    return QStringLiteral("(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

inline QString compositionText(const Composition &columns)
{
    QStringList parts;
    for (double kind : columns)
        parts << QString::number(kind);
    return parts.join(QLatin1Char(','));
}

// The distance box's text for x: a blank, then x with one decimal.
inline QString distanceText(double x)
{
    return QStringLiteral(" %1").arg(x, 0, 'f', 1);
}

inline void stepForward(Form1 &form, int steps)
{
    for (int i = 0; i < steps; ++i)
        form.susumu_Click();
}

// The given values of a lesson, then its columns, as one line of text, so that a lesson
// before and after can be compared in one QCOMPARE.
inline QString describeScene(const Lesson &lesson, std::initializer_list<double> values)
{
    QStringList parts;
    for (double v : values)
        parts << number(v);
    for (double kind : lesson.columns())
        parts << number(kind);
    return parts.join(QLatin1Char(' '));
}

// The whole scene, the area out of the envelope and the state of automatic play.
inline QString describeScene(const Lesson &lesson)
{
    const SceneState &s = lesson.scene();
    return describeScene(lesson, { s.PointAX, s.PointAY, s.PointBX, s.PointBY, s.PointCX, s.PointCY, s.PointDX,
                                   double(s.PointDY), s.PointPX, double(s.BaseLineY), s.DragKind, s.DragFrom,
                                   lesson.y(), double(lesson.runState()) });
}

// A line control's ends as "(x1,y1)-(x2,y2)".
inline QString describeLine(const LineControl *line)
{
    return QStringLiteral("(%1,%2)-(%3,%4)").arg(number(line->x1()), number(line->y1()), number(line->x2()), number(line->y2()));
}

// A rectangle filled in one colour from one corner to the other (whole pixels), drawn as
// the thick level line that covers just it; the layer's line width stays as it was.
inline void solidRect(DrawingLayer &layer, QPointF from, QPointF to, QColor color)
{
    const QRectF r = QRectF(from, to).normalized();
    const bool level = r.width() >= r.height();
    const int thickness = int(level ? r.height() : r.width());
    const int before = thickness / 2, after = thickness - before;
    const QPointF start = r.topLeft() + QPointF(before, before);
    const int width = layer.drawWidth();
    layer.setDrawWidth(thickness);
    layer.line(start, level ? QPointF(r.right() - after, start.y()) : QPointF(start.x(), r.bottom() - after), color);
    layer.setDrawWidth(width);
}

inline double distanceOf(const SceneState &s)
{
    return (300 - s.PointPX) / 20;
}

// A pair the table shows that is not the area's at its x, or one beyond P.
inline QString tableMismatch(const Form1 &form)
{
    for (const auto &[x, y] : form.table.shownPairs()) {
        if (y != trueArea(form.lesson.columns(), x) || x > form.lesson.distance())
            return QStringLiteral("the table shows y = %1 at x = %2 with P at %3").arg(y).arg(x).arg(form.lesson.distance());
    }
    return {};
}

// The y the table shows in its last column: 0 while only its starting column is written.
inline double tableY(const Form1 &form)
{
    const auto &pairs = form.table.shownPairs();
    return pairs.empty() ? 0 : pairs.rbegin()->second;
}

// Automatic play runs from timers, so a click on 自    動 returns at once: this lets the
// window handle its events until the run is over.
inline bool waitForRunEnd(Form1 &form)
{
    while (form.lesson.isPlaying())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return true;
}

// A window as the program shows it.
inline std::unique_ptr<Form1> makeForm()
{
    auto form = std::make_unique<Form1>();
    form->show();
    return form;
}

} // namespace LessonTest
