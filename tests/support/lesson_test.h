#pragma once

#include "app/form1.h"
#include "support/closed_form.h"
#include "support/composition.h"
#include "surface/controls.h"
#include "surface/fonts.h"
#include "surface/picture_box.h"

#include <QApplication>
#include <QStandardPaths>
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
        /* What the program keeps between runs goes to a test folder, not the user's. */          \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        Fonts::install();                                                                          \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

namespace LessonTest {

const QColor Green(0, 128, 0);
const QColor White(255, 255, 255);
const QColor Grey(192, 192, 192);
const QColor Black(0, 0, 0);
const QColor Yellow(255, 255, 0);
const QColor DarkYellow(128, 128, 0);
const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);
const QColor PanelBack(255, 255, 192);

// The window as the tests reach into it: its controls found by the names the window makes
// them with (a widget's object name, a light control's name on its host), as a user's tools
// find them, and kept under those names. Its drawing routines for the board and its outlines
// are its own, on the same board, lesson and controls, and draw exactly what the window's do.
class TestForm : public Form1
{
public:
    using Form1::Form1;

    template<typename T>
    T *widget(const QString &name) const
    {
        T *found = findChild<T *>(name);
        if (!found)
            qFatal("the window has no %s", qPrintable(name));
        return found;
    }
    template<typename T>
    static T *control(const ControlHost *host, const QString &name)
    {
        T *found = host->control<T>(name);
        if (!found)
            qFatal("%s holds no %s", qPrintable(host->objectName()), qPrintable(name));
        return found;
    }
    // An array's controls, "Label4(0)" on; an index the window leaves out stays empty.
    template<typename T, size_t N>
    static std::array<T *, N> controls(const ControlHost *host, const char *array, std::initializer_list<size_t> missing = {})
    {
        std::array<T *, N> found {};
        for (size_t i = 0; i < N; ++i) {
            if (std::find(missing.begin(), missing.end(), i) == missing.end())
                found[i] = control<T>(host, QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(i));
        }
        return found;
    }
    template<typename T>
    T &part() const
    {
        T *found = findChild<T *>(QString(), Qt::FindDirectChildrenOnly);
        if (!found)
            qFatal("the window has no %s", T::staticMetaObject.className());
        return *found;
    }

    Lesson &lesson = part<Lesson>();

    PictureBox *kokuban = widget<PictureBox>(QStringLiteral("kokuban"));
    PictureBox *gamen = widget<PictureBox>(QStringLiteral("gamen"));
    PictureBox *hyo = widget<PictureBox>(QStringLiteral("hyo"));
    PictureBox *Picture1 = widget<PictureBox>(QStringLiteral("Picture1"));

    CommandButton *Command1 = widget<CommandButton>(QStringLiteral("Command1"));
    CommandButton *end = widget<CommandButton>(QStringLiteral("end"));
    CommandButton *jidou = widget<CommandButton>(QStringLiteral("jidou"));
    CommandButton *tomeru = widget<CommandButton>(QStringLiteral("tomeru"));
    CommandButton *susumu = widget<CommandButton>(QStringLiteral("susumu"));
    CommandButton *modoru = widget<CommandButton>(QStringLiteral("modoru"));
    CommandButton *Command2 = widget<CommandButton>(QStringLiteral("Command2"));

    QCheckBox *Check1 = widget<QCheckBox>(QStringLiteral("Check1"));
    QCheckBox *Check3 = widget<QCheckBox>(QStringLiteral("Check3"));
    QCheckBox *Check2 = widget<QCheckBox>(QStringLiteral("Check2"));
    QCheckBox *Check5 = widget<QCheckBox>(QStringLiteral("Check5"));
    QCheckBox *Check6 = widget<QCheckBox>(QStringLiteral("Check6"));
    QCheckBox *Check7 = widget<QCheckBox>(QStringLiteral("Check7"));
    QComboBox *Combo1 = widget<QComboBox>(QStringLiteral("Combo1"));
    LabelControl *Label6 = control<LabelControl>(this, QStringLiteral("Label6"));
    LabelControl *Label3 = control<LabelControl>(this, QStringLiteral("Label3"));
    LabelControl *Label8 = control<LabelControl>(this, QStringLiteral("Label8"));

    LineControl *Line3 = control<LineControl>(hyo, QStringLiteral("Line3"));
    LineControl *Line2 = control<LineControl>(hyo, QStringLiteral("Line2"));
    LabelControl *Label5 = control<LabelControl>(hyo, QStringLiteral("Label5"));
    LabelControl *Label7 = control<LabelControl>(hyo, QStringLiteral("Label7"));

    LineControl *Line1 = control<LineControl>(kokuban, QStringLiteral("Line1"));
    LabelControl *Label1 = control<LabelControl>(kokuban, QStringLiteral("Label1"));
    std::array<LineControl *, 2> Line4 = controls<LineControl, 2>(kokuban, "Line4", { 0 });
    QCheckBox *Check4 = widget<QCheckBox>(QStringLiteral("Check4"));
    QLineEdit *Text1 = widget<QLineEdit>(QStringLiteral("Text1"));
    LabelControl *Label2 = control<LabelControl>(kokuban, QStringLiteral("Label2"));
    std::array<LabelControl *, 6> Label9 = controls<LabelControl, 6>(kokuban, "Label9");
    std::array<LabelControl *, 9> Label4 = controls<LabelControl, 9>(kokuban, "Label4", { 7 });
    ShapeControl *Shape1 = control<ShapeControl>(kokuban, QStringLiteral("Shape1"));
    std::array<LineControl *, 8> Line5 = controls<LineControl, 8>(kokuban, "Line5");
    std::array<LineControl *, 4> Line6 = controls<LineControl, 4>(kokuban, "Line6");
    std::array<LineControl *, 4> Line7 = controls<LineControl, 4>(kokuban, "Line7");
    std::array<LineControl *, 4> Line9 = controls<LineControl, 4>(kokuban, "Line9");

    FigureRenderer figure { kokuban->drawing(), lesson };
    PieceOutlines outlines { Line6, Line7, Line9, Label9 };
    TablePanel &table = part<TablePanel>();
    GraphPanel &graph = part<GraphPanel>();
    PredictionLayer *prediction = control<PredictionLayer>(gamen, QStringLiteral("prediction"));
    ExpressionList &expressions = part<ExpressionList>();
    WindowZoom &windowZoom = part<WindowZoom>();
    LessonCommands &commands = part<LessonCommands>();
};

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
    for (int kind : columns)
        parts << QString::number(kind);
    return parts.join(QLatin1Char(','));
}

inline QString compositionText(const AreaFunction::Columns &columns)
{
    return compositionText(Composition::of(columns));
}

// Where P stands on the blackboard: B is at x = 300, and P moves 20 px a centimetre.
inline double pointPX(const SceneState &scene)
{
    return 300 - 10 * scene.step;
}
inline double pointPX(const Lesson &lesson)
{
    return pointPX(lesson.scene());
}

// The distance box's text for x: a blank, then x with one decimal.
inline QString distanceText(double x)
{
    return QStringLiteral(" %1").arg(x, 0, 'f', 1);
}

inline void stepForward(TestForm &form, int steps)
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
    for (PieceKind kind : lesson.columns())
        parts << number(kindNumber(kind));
    return parts.join(QLatin1Char(' '));
}

// The whole scene, the area out of the envelope and the state of automatic play.
inline QString describeScene(const Lesson &lesson)
{
    const SceneState &s = lesson.scene();
    return describeScene(lesson, { pointPX(lesson), kindNumber(s.DragKind), double(s.DragFrom), lesson.y(),
                                   double(lesson.runState()) });
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
    return s.step / 2.0;
}

// A pair the table shows that is not the area's at its x, or one beyond P.
inline QString tableMismatch(const TestForm &form)
{
    for (const auto &[x, y] : form.table.shownPairs()) {
        if (y != trueArea(form.lesson.columns(), x) || x > form.lesson.distance())
            return QStringLiteral("the table shows y = %1 at x = %2 with P at %3").arg(y).arg(x).arg(form.lesson.distance());
    }
    return {};
}

// The y the table shows in its last column: 0 while only its starting column is written.
inline double tableY(const TestForm &form)
{
    const auto &pairs = form.table.shownPairs();
    return pairs.empty() ? 0 : pairs.rbegin()->second;
}

// Automatic play runs from timers, so a click on 自    動 returns at once: this lets the
// window handle its events until the run is over.
inline bool waitForRunEnd(TestForm &form)
{
    while (form.lesson.isPlaying())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return true;
}

// A window as the program shows it.
inline std::unique_ptr<TestForm> makeForm()
{
    auto form = std::make_unique<TestForm>();
    form->show();
    return form;
}

} // namespace LessonTest
