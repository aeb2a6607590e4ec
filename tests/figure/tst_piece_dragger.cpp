#include "support/layer_checks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringList>
#include <QTimer>
#include <vector>

using namespace LessonTest;

namespace {

// Where a press picks up each tray outline, and the middle of each column.
const QPoint trayPoint[4] = { {}, { 370, 100 }, { 420, 100 }, { 470, 100 } };
QPoint columnPoint(int column, int y = 240)
{
    return { 320 + 40 * column, y };
}

// The values these tests compare before and after a press or a release.
QString describeDragScene(const TestForm &form)
{
    const SceneState &s = form.lesson.scene();
    return describeScene(form.lesson, { LessonTest::pointPX(form.lesson), LessonTest::kindNumber(s.DragKind),
                                        LessonTest::tableY(form), form.lesson.y(),
                                        double(form.lesson.runState()) });
}

// ---- The tray ----

QString describeOutline(const std::array<LineControl *, 4> &lines)
{
    QStringList parts;
    for (const LineControl *line : lines)
        parts << describeLine(line);
    return parts.join(QLatin1Char(' '));
}

// The outline of a kind-k piece whose lower left corner is (left, bottom): 40 px wide,
// 2k cm high, clockwise from its upper left corner.
QString outlineAround(int kind, int left, int bottom)
{
    const int right = left + 40, top = bottom - 40 * kind;
    return QStringLiteral("(%1,%2)-(%3,%2) (%3,%2)-(%3,%4) (%3,%4)-(%1,%4) (%1,%4)-(%1,%2)").arg(left).arg(top).arg(right).arg(bottom);
}

const std::array<LineControl *, 4> &outlineOf(const TestForm &form, int kind)
{
    return kind == 1 ? form.Line6 : kind == 2 ? form.Line7 : form.Line9;
}

QString outlinesAtHome(const TestForm &form)
{
    const QString homes[4] = { {}, outlineAround(1, 350, 125), outlineAround(2, 400, 125), outlineAround(3, 450, 125) };
    for (int kind = 1; kind <= 3; ++kind) {
        if (describeOutline(outlineOf(form, kind)) != homes[kind])
            return QStringLiteral("outline %1 at %2").arg(kind).arg(describeOutline(outlineOf(form, kind)));
    }
    for (int i = 0; i < 6; ++i) {
        if (!form.Label9[i]->isVisible())
            return QStringLiteral("Label9(%1) hidden").arg(i);
    }
    return {};
}

// ---- Mouse ----

// A press, move or release at a blackboard point that need not be a whole pixel.
void sendMouse(PictureBox *board, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF local = at + QPointF(Border);
    QMouseEvent event(type, local, local, board->mapToGlobal(local), button, held, modifiers);
    QCoreApplication::sendEvent(board, &event);
}

// A drag as a hand makes it: press, a few moves on the way, release.
void drag(TestForm &form, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mousePress(form.kokuban, button, modifiers, from + Border);
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(form.kokuban, from + (to - from) * i / 4 + Border);
    QTest::mouseRelease(form.kokuban, button, modifiers, to + Border);
}

void click(TestForm &form, QPoint at)
{
    QTest::mouseClick(form.kokuban, Qt::LeftButton, Qt::NoModifier, at + Border);
}

// Fills the columns by dragging outlines from the tray, empty columns left alone.
void compose(TestForm &form, const Composition &columns)
{
    for (int i = 0; i < 5; ++i) {
        if (const int kind = columns[i])
            drag(form, trayPoint[kind], columnPoint(i, 250));
    }
}

// After a release that changed the figure or could have: the composition, the scene at
// the start, the figure redrawn inside the envelope in yellow, the tray at rest.
QString droppedState(const TestForm &form, const Composition &expected)
{
    const SceneState &s = form.lesson.scene();
    if (s.Slot != expected)
        return QStringLiteral("composition %1, expected %2").arg(compositionText(s.Slot), compositionText(expected));
    if (LessonTest::pointPX(form.lesson) != 300 || form.Text1->text() != QLatin1String(" 0.0") || form.lesson.y() != 0
        || LessonTest::tableY(form) != 0)
        return QStringLiteral("scene not at the start: P %1, text '%2', y %3, table y %4")
            .arg(number(LessonTest::pointPX(form.lesson)), form.Text1->text(), number(form.lesson.y()), number(LessonTest::tableY(form)));
    if (form.Label4[6]->isVisible())
        return QStringLiteral("χcm label still shown");
    if (s.DragKind != PieceKind::Empty)
        return QStringLiteral("still dragging kind %1").arg(LessonTest::kindNumber(s.DragKind));
    if (form.kokuban->drawing().foreColor() != Yellow)
        return QStringLiteral("fore colour %1").arg(colourName(form.kokuban->drawing().foreColor()));
    const QString figure = checkFigure(*form.kokuban, expected, 300, Yellow, form.Check1->isChecked());
    if (!figure.isEmpty())
        return figure;
    return outlinesAtHome(form);
}

} // namespace

Q_DECLARE_METATYPE(Composition)

class TestPieceDragger : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        auto form = LessonTest::makeForm();
        QCOMPARE(form->kokuban->drawing().image().devicePixelRatio(), 1.0);
    }

    // Which press starts a drag. Every bound is strict; the tray has no lower bound in y
    // above 150, and a column answers over its whole height whatever its piece.
    void pressHitAreas_data()
    {
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("from");
        // Columns hold 1,2,3,1,2; DragFrom starts at 4 here, so a tray press that kept it
        // shows 4.
        QTest::newRow("kind 1 centre") << QPointF(370, 100) << 1 << 4;
        QTest::newRow("kind 1 above the square") << QPointF(370, 10) << 1 << 4;
        QTest::newRow("kind 1 above the board") << QPointF(370, -1) << 1 << 4;
        QTest::newRow("kind 1 just above 150") << QPointF(370, 149.5) << 1 << 4;
        QTest::newRow("y 150") << QPointF(370, 150) << 0 << 4;
        QTest::newRow("y 165") << QPointF(370, 165) << 0 << 4;
        QTest::newRow("y 180 in column 0") << QPointF(320, 180) << 0 << 4;
        QTest::newRow("x 350") << QPointF(350, 100) << 0 << 4;
        QTest::newRow("x 350.5") << QPointF(350.5, 100) << 1 << 4;
        QTest::newRow("x 389.5") << QPointF(389.5, 100) << 1 << 4;
        QTest::newRow("x 390") << QPointF(390, 100) << 0 << 4;
        QTest::newRow("gap 395") << QPointF(395, 100) << 0 << 4;
        QTest::newRow("x 400") << QPointF(400, 100) << 0 << 4;
        QTest::newRow("x 400.5") << QPointF(400.5, 100) << 2 << 4;
        QTest::newRow("kind 2 above its top") << QPointF(420, 20) << 2 << 4;
        QTest::newRow("x 439.5") << QPointF(439.5, 149) << 2 << 4;
        QTest::newRow("x 440") << QPointF(440, 100) << 0 << 4;
        QTest::newRow("gap 445") << QPointF(445, 100) << 0 << 4;
        QTest::newRow("x 450") << QPointF(450, 100) << 0 << 4;
        QTest::newRow("x 450.5") << QPointF(450.5, 60) << 3 << 4;
        QTest::newRow("x 489.5") << QPointF(489.5, 140) << 3 << 4;
        QTest::newRow("x 490") << QPointF(490, 100) << 0 << 4;
        QTest::newRow("right of the tray") << QPointF(520, 100) << 0 << 4;
        QTest::newRow("left of the tray") << QPointF(300, 100) << 0 << 4;
        QTest::newRow("x 300 in the band") << QPointF(300, 240) << 0 << 4;
        QTest::newRow("x 300.5") << QPointF(300.5, 240) << 1 << 0;
        QTest::newRow("column 0 above its short piece") << QPointF(320, 185) << 1 << 0;
        QTest::newRow("y 180.5") << QPointF(320, 180.5) << 1 << 0;
        QTest::newRow("y 299.5") << QPointF(320, 299.5) << 1 << 0;
        QTest::newRow("y 300") << QPointF(320, 300) << 0 << 4;
        QTest::newRow("x 339.5") << QPointF(339.5, 240) << 1 << 0;
        QTest::newRow("x 340") << QPointF(340, 240) << 0 << 4;
        QTest::newRow("x 340.5") << QPointF(340.5, 240) << 2 << 1;
        QTest::newRow("x 380") << QPointF(380, 240) << 0 << 4;
        QTest::newRow("column 2") << QPointF(400, 190) << 3 << 2;
        QTest::newRow("x 420") << QPointF(420, 240) << 0 << 4;
        QTest::newRow("column 3") << QPointF(440, 200) << 1 << 3;
        QTest::newRow("x 460") << QPointF(460, 240) << 0 << 4;
        QTest::newRow("column 4") << QPointF(480, 299) << 2 << 4;
        QTest::newRow("x 499.5") << QPointF(499.5, 240) << 2 << 4;
        QTest::newRow("x 500") << QPointF(500, 240) << 0 << 4;
        QTest::newRow("left of the envelope") << QPointF(250, 240) << 0 << 4;
        QTest::newRow("below the envelope") << QPointF(320, 350) << 0 << 4;
    }
    void pressHitAreas()
    {
        QFETCH(QPointF, at);
        QFETCH(int, kind);
        QFETCH(int, from);
        auto form = LessonTest::makeForm();
        form->lesson.compose(LessonTest::Composition { 1, 2, 3, 1, 2 });
        form->figure.RedrawFigure(300);
        // The last piece lifted came from column 4; it went back where it was.
        form->lesson.liftFrom(4);
        form->lesson.dropElsewhere();
        const QImage layer = form->kokuban->drawing().image().copy();

        sendMouse(form->kokuban, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(LessonTest::kindNumber(form->lesson.scene().DragKind), double(kind));
        QCOMPARE(double(form->lesson.scene().DragFrom), double(from));
        // A press draws nothing.
        QCOMPARE(form->kokuban->drawing().image(), layer);

        // A move then carries the outline of that kind, centred on the pointer, and hides
        // its labels; without a drag it moves nothing.
        sendMouse(form->kokuban, QEvent::MouseMove, QPointF(100, 360), Qt::NoButton, Qt::LeftButton);
        for (int k = 1; k <= 3; ++k) {
            const QString shown = describeOutline(outlineOf(*form, k));
            if (k == kind) {
                QCOMPARE(shown, outlineAround(k, 80, 360 + 20 * k));
                QVERIFY(!form->Label9[2 * k - 2]->isVisible() && !form->Label9[2 * k - 1]->isVisible());
            } else {
                QCOMPARE(shown, outlineAround(k, 300 + 50 * k, 125));
                QVERIFY(form->Label9[2 * k - 2]->isVisible() && form->Label9[2 * k - 1]->isVisible());
            }
        }
        QCOMPARE(form->kokuban->drawing().image(), layer);

        // Released below the envelope: only the outlines go home.
        sendMouse(form->kokuban, QEvent::MouseButtonRelease, QPointF(100, 360), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(LessonTest::kindNumber(form->lesson.scene().DragKind), 0.0);
        QCOMPARE(compositionText(form->lesson.scene().Slot), QStringLiteral("1,2,3,1,2"));
        QCOMPARE(outlinesAtHome(*form), QString());
        QCOMPARE(form->kokuban->drawing().image(), layer);
    }

    // The same bounds for the handlers called directly with single-precision values.
    void handlerBounds_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<int>("kind");
        QTest::newRow("x 390") << 390.0f << 100.0f << 0;
        QTest::newRow("just inside 390") << 389.99997f << 100.0f << 1;
        QTest::newRow("x 350") << 350.0f << 100.0f << 0;
        QTest::newRow("just inside 350") << 350.00003f << 100.0f << 1;
        QTest::newRow("y 150") << 370.0f << 150.0f << 0;
        QTest::newRow("just above 150") << 370.0f << 149.99998f << 1;
        QTest::newRow("y 180") << 320.0f << 180.0f << 0;
        QTest::newRow("just below 180") << 320.0f << 180.00002f << 3;
        QTest::newRow("y 300") << 320.0f << 300.0f << 0;
        QTest::newRow("just above 300") << 320.0f << 299.99997f << 3;
        QTest::newRow("x 340") << 340.0f << 240.0f << 0;
        QTest::newRow("just right of 340") << 340.00003f << 240.0f << 2;
        QTest::newRow("x 500") << 500.0f << 240.0f << 0;
        QTest::newRow("just left of 500") << 499.99997f << 240.0f << 1;
    }
    void handlerBounds()
    {
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(int, kind);
        auto form = LessonTest::makeForm();
        form->lesson.compose(LessonTest::Composition { 3, 2, 0, 0, 1 });
        form->kokuban_MouseDown(1, 0, x, y);
        QCOMPARE(LessonTest::kindNumber(form->lesson.scene().DragKind), double(kind));
        form->kokuban_MouseUp(1, 0, 100.0f, 350.0f);
        QCOMPARE(LessonTest::kindNumber(form->lesson.scene().DragKind), 0.0);
        QCOMPARE(compositionText(form->lesson.scene().Slot), QStringLiteral("3,2,0,0,1"));
    }

    // The release bands, handlers called directly: exactly y = 180 and y = 300 belong to
    // neither band, so they only send the outlines home.
    void releaseBandBounds_data()
    {
        QTest::addColumn<float>("y");
        QTest::addColumn<bool>("drops");
        QTest::newRow("y 179.99998") << 179.99998f << true;
        QTest::newRow("y 180") << 180.0f << false;
        QTest::newRow("y 180.00002") << 180.00002f << true;
        QTest::newRow("y 299.99997") << 299.99997f << true;
        QTest::newRow("y 300") << 300.0f << false;
        QTest::newRow("y 300.5") << 300.5f << false;
    }
    void releaseBandBounds()
    {
        QFETCH(float, y);
        QFETCH(bool, drops);
        auto form = LessonTest::makeForm();
        compose(*form, { 0, 2, 0, 0, 0 });
        stepForward(*form, 3);
        const QString scene = describeDragScene(*form);
        form->kokuban_MouseDown(1, 0, 360.0f, 240.0f);
        form->kokuban_MouseMove(1, 0, 330.0f, y);
        form->kokuban_MouseUp(1, 0, 330.0f, y);
        QCOMPARE(outlinesAtHome(*form), QString());
        if (drops) {
            const Composition expected = y < 180 ? Composition { 0, 0, 0, 0, 0 } : Composition { 2, 2, 0, 0, 0 };
            QCOMPARE(droppedState(*form, expected), QString());
        } else {
            QCOMPARE(describeDragScene(*form), scene);
        }
    }

    // A drag from the tray puts that kind into the column, replacing what was there.
    void dropFromTray_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        for (int kind = 1; kind <= 3; ++kind) {
            for (int column = 0; column < 5; ++column)
                QTest::addRow("kind %d into column %d", kind, column) << kind << column;
        }
    }
    void dropFromTray()
    {
        QFETCH(int, kind);
        QFETCH(int, column);
        auto form = LessonTest::makeForm();
        QCOMPARE(form->kokuban->drawing().foreColor(), White);
        Composition columns { 2, 0, 3, 0, 1 };
        compose(*form, columns);
        stepForward(*form, 3);
        QCOMPARE(LessonTest::pointPX(form->lesson), 270.0);

        drag(*form, trayPoint[kind], columnPoint(column, 200 + 10 * column));
        columns[column] = kind;
        QCOMPARE(droppedState(*form, columns), QString());
    }

    // The first drop turns the outlines and AB yellow; until then they are white.
    void firstDropTurnsForeColourYellow()
    {
        auto form = LessonTest::makeForm();
        QCOMPARE(form->kokuban->drawing().foreColor(), White);
        drag(*form, trayPoint[3], QPoint(320, 180), Qt::LeftButton);
        QCOMPARE(form->kokuban->drawing().foreColor(), White);
        drag(*form, trayPoint[3], QPoint(320, 250));
        QCOMPARE(droppedState(*form, { 3, 0, 0, 0, 0 }), QString());
        QCOMPARE(form->kokuban->drawing().pixel(300, 240), Yellow);
        QCOMPARE(form->kokuban->drawing().pixel(340, 240), Yellow);
        QCOMPARE(form->kokuban->drawing().pixel(320, 180), Yellow);
    }

    // Where a drag ends decides what happens. A piece from the tray goes into the column
    // under the pointer; one lifted from a column is copied there, or removed when let go
    // above the envelope. Any release in the band or above it resets the scene; on or
    // below the envelope's bottom, or exactly on its top, only the outlines go home.
    void releasePoints_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<Composition>("expected");
        QTest::addColumn<bool>("resets");
        // Columns hold 2,0,3,1,0.
        const struct
        {
            const char *name;
            QPoint from;
            int kind;
            int column;
        } sources[] = {
            { "tray kind 2", { 420, 100 }, 2, -1 },
            { "column 2", { 400, 200 }, 3, 2 },
            { "column 3 above its piece", { 440, 190 }, 1, 3 },
        };
        const struct
        {
            const char *name;
            QPoint to;
            int column;
            bool above;
            bool resets;
        } releases[] = {
            { "into column 0", { 320, 250 }, 0, false, true },
            { "into column 1", { 360, 290 }, 1, false, true },
            { "into column 4", { 490, 200 }, 4, false, true },
            { "back into its column", { 400, 260 }, 2, false, true },
            { "on the bound 340", { 340, 240 }, -1, false, true },
            { "on the bound 300", { 300, 240 }, -1, false, true },
            { "on the bound 500", { 500, 240 }, -1, false, true },
            { "left of the envelope", { 250, 240 }, -1, false, true },
            { "right of the envelope", { 560, 290 }, -1, false, true },
            { "right of the board", { 700, 250 }, -1, false, true },
            { "above at (100, 50)", { 100, 50 }, -1, true, true },
            { "just above the envelope", { 320, 179 }, -1, true, true },
            { "in the tray", { 470, 100 }, -1, true, true },
            { "above the board", { 400, -30 }, -1, true, true },
            { "on the top edge", { 320, 180 }, -1, false, false },
            { "on the bottom edge", { 320, 300 }, -1, false, false },
            { "below the envelope", { 320, 350 }, -1, false, false },
            { "below the board", { 320, 450 }, -1, false, false },
        };
        for (const auto &source : sources) {
            for (const auto &release : releases) {
                Composition expected { 2, 0, 3, 1, 0 };
                if (release.column >= 0)
                    expected[release.column] = source.kind;
                if (release.above && source.column >= 0)
                    expected[source.column] = 0;
                QTest::addRow("%s %s", source.name, release.name) << source.from << release.to << expected << release.resets;
            }
        }
    }
    void releasePoints()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(Composition, expected);
        QFETCH(bool, resets);
        auto form = LessonTest::makeForm();
        compose(*form, { 2, 0, 3, 1, 0 });
        stepForward(*form, 3);
        const QString scene = describeDragScene(*form);
        const QImage layer = form->kokuban->drawing().image().copy();

        drag(*form, from, to);
        if (resets) {
            QCOMPARE(droppedState(*form, expected), QString());
        } else {
            QCOMPARE(describeDragScene(*form), scene);
            QCOMPARE(form->Text1->text(), QStringLiteral(" 1.5"));
            QCOMPARE(form->kokuban->drawing().image(), layer);
            QCOMPARE(outlinesAtHome(*form), QString());
        }
    }

    // A click on an occupied column lifts the piece and puts it back: the composition
    // stays, the scene still goes back to the start and the figure is redrawn.
    void clickOnOccupiedColumn_data()
    {
        QTest::addColumn<int>("column");
        for (int column = 0; column < 5; ++column)
            QTest::addRow("column %d", column) << column;
    }
    void clickOnOccupiedColumn()
    {
        QFETCH(int, column);
        auto form = LessonTest::makeForm();
        const Composition columns { 1, 2, 3, 1, 2 };
        compose(*form, columns);
        stepForward(*form, 6);
        click(*form, columnPoint(column, 290));
        QCOMPARE(droppedState(*form, columns), QString());
    }

    // A press on an empty column starts nothing: the moves and the release after it
    // change nothing at all, even when released over an occupied column.
    void pressOnEmptyColumn()
    {
        auto form = LessonTest::makeForm();
        compose(*form, { 3, 0, 0, 0, 0 });
        stepForward(*form, 3);
        const QString scene = describeDragScene(*form);
        const QImage layer = form->kokuban->drawing().image().copy();
        drag(*form, columnPoint(2), columnPoint(0));
        drag(*form, columnPoint(1), QPoint(100, 50));
        QCOMPARE(describeDragScene(*form), scene);
        QCOMPARE(form->Text1->text(), QStringLiteral(" 1.5"));
        QCOMPARE(form->kokuban->drawing().image(), layer);
        QCOMPARE(outlinesAtHome(*form), QString());
    }

    // Moves outside a drag, with or without a button held, and a release without a
    // drag, do nothing.
    void movesWithoutDrag()
    {
        auto form = LessonTest::makeForm();
        compose(*form, { 0, 3, 0, 0, 0 });
        stepForward(*form, 2);
        const QString scene = describeDragScene(*form);
        const QImage layer = form->kokuban->drawing().image().copy();
        sendMouse(form->kokuban, QEvent::MouseMove, QPointF(370, 100), Qt::NoButton, Qt::NoButton);
        sendMouse(form->kokuban, QEvent::MouseMove, QPointF(360, 240), Qt::NoButton, Qt::LeftButton);
        sendMouse(form->kokuban, QEvent::MouseMove, QPointF(200, 200), Qt::NoButton, Qt::RightButton);
        sendMouse(form->kokuban, QEvent::MouseButtonRelease, QPointF(320, 250), Qt::LeftButton, Qt::NoButton);
        sendMouse(form->kokuban, QEvent::MouseButtonRelease, QPointF(100, 50), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(describeDragScene(*form), scene);
        QCOMPARE(form->kokuban->drawing().image(), layer);
        QCOMPARE(outlinesAtHome(*form), QString());
    }

    // While dragging, the outline is centred on the pointer; its reference point is
    // rounded to whole pixels, halves to the even neighbour.
    void outlineFollowsPointer_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<QPoint>("leftBottom");
        QTest::newRow("kind 1 whole") << 1 << QPointF(200, 200) << QPoint(180, 220);
        QTest::newRow("kind 1 halves down") << 1 << QPointF(370.5, 100.5) << QPoint(350, 120);
        QTest::newRow("kind 1 halves up") << 1 << QPointF(371.5, 101.5) << QPoint(352, 122);
        QTest::newRow("kind 1 below half") << 1 << QPointF(370.25, 100.75) << QPoint(350, 121);
        QTest::newRow("kind 2 halves down") << 2 << QPointF(250.5, 250.5) << QPoint(230, 290);
        QTest::newRow("kind 2 halves up") << 2 << QPointF(251.5, 251.5) << QPoint(232, 292);
        QTest::newRow("kind 3 near zero") << 3 << QPointF(19.5, 60.5) << QPoint(0, 120);
        QTest::newRow("kind 3 negative half") << 3 << QPointF(18.5, 58.5) << QPoint(-2, 118);
        QTest::newRow("kind 3 off the board") << 3 << QPointF(-40, -70) << QPoint(-60, -10);
        QTest::newRow("kind 3 far right") << 3 << QPointF(900, 500) << QPoint(880, 560);
    }
    void outlineFollowsPointer()
    {
        QFETCH(int, kind);
        QFETCH(QPointF, pointer);
        QFETCH(QPoint, leftBottom);
        auto form = LessonTest::makeForm();
        const QImage layer = form->kokuban->drawing().image().copy();
        sendMouse(form->kokuban, QEvent::MouseButtonPress, trayPoint[kind], Qt::LeftButton, Qt::LeftButton);
        sendMouse(form->kokuban, QEvent::MouseMove, QPointF(330, 330), Qt::NoButton, Qt::LeftButton);
        sendMouse(form->kokuban, QEvent::MouseMove, pointer, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(describeOutline(outlineOf(*form, kind)), outlineAround(kind, leftBottom.x(), leftBottom.y()));
        for (int k = 1; k <= 3; ++k) {
            const bool dragged = k == kind;
            QCOMPARE(form->Label9[2 * k - 2]->isVisible(), !dragged);
            QCOMPARE(form->Label9[2 * k - 1]->isVisible(), !dragged);
            if (!dragged)
                QCOMPARE(describeOutline(outlineOf(*form, k)), outlineAround(k, 300 + 50 * k, 125));
        }
        // The outline is a control above the drawing: the moves leave no trail on it.
        QCOMPARE(form->kokuban->drawing().image(), layer);
        sendMouse(form->kokuban, QEvent::MouseButtonRelease, pointer, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(outlinesAtHome(*form), QString());
    }

    // What the blackboard shows during a drag: the outline under the pointer, none left
    // in the tray where it was.
    void draggedOutlineOnScreen()
    {
        auto form = LessonTest::makeForm();
        QTest::mousePress(form->kokuban, Qt::LeftButton, Qt::NoModifier, trayPoint[3] + Border);
        QTest::mouseMove(form->kokuban, QPoint(300, 200) + Border);
        QTest::mouseMove(form->kokuban, QPoint(100, 240) + Border);
        const QImage shot = form->kokuban->grab().toImage();
        QCOMPARE(shot.pixelColor(QPoint(80, 240) + Border), Yellow);
        QCOMPARE(shot.pixelColor(QPoint(120, 240) + Border), Yellow);
        QCOMPARE(shot.pixelColor(QPoint(100, 180) + Border), Yellow);
        QCOMPARE(shot.pixelColor(QPoint(100, 240) + Border), Green);
        QVERIFY(shot.pixelColor(QPoint(450, 60) + Border) != Yellow);
        QVERIFY(shot.pixelColor(QPoint(470, 5) + Border) != Yellow);
        QCOMPARE(shot.pixelColor(QPoint(420, 45) + Border), Yellow);
        QTest::mouseRelease(form->kokuban, Qt::LeftButton, Qt::NoModifier, QPoint(100, 240) + Border);
        QCOMPARE(droppedState(*form, { 0, 0, 0, 0, 0 }), QString());
    }

    // Any button drags, and modifier keys change nothing.
    void buttonsAndModifiers_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers();
        QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers();
        QTest::newRow("middle") << Qt::MiddleButton << Qt::KeyboardModifiers();
        QTest::newRow("left with shift") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("left with ctrl") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("left with alt") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier);
        QTest::newRow("right with shift and ctrl") << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier);
    }
    void buttonsAndModifiers()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        auto form = LessonTest::makeForm();
        compose(*form, { 0, 3, 0, 0, 0 });
        stepForward(*form, 2);
        drag(*form, trayPoint[1], columnPoint(2), button, modifiers);
        QCOMPARE(droppedState(*form, { 0, 3, 1, 0, 0 }), QString());
        drag(*form, columnPoint(1), columnPoint(4, 200), button, modifiers);
        QCOMPARE(droppedState(*form, { 0, 3, 1, 0, 3 }), QString());
        stepForward(*form, 2);
        drag(*form, columnPoint(2), QPoint(200, 100), button, modifiers);
        QCOMPARE(droppedState(*form, { 0, 3, 0, 0, 3 }), QString());
        // The moves reached the handler with the button held: the outline followed.
        QTest::mousePress(form->kokuban, button, modifiers, trayPoint[2] + Border);
        QTest::mouseMove(form->kokuban, QPoint(100, 200) + Border);
        QCOMPARE(describeOutline(form->Line7), outlineAround(2, 80, 240));
        QTest::mouseRelease(form->kokuban, button, modifiers, QPoint(100, 350) + Border);
        QCOMPARE(outlinesAtHome(*form), QString());
    }

    // A piece taken from the tray and let go above the envelope, a plain click on a tray
    // outline included, empties no column, whichever column was last lifted from; the
    // scene still goes back to the start and the figure is redrawn.
    void trayPieceReleasedAboveEmptiesNothing_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("liftedBefore");
        QTest::addColumn<bool>("plainClick");
        for (int kind = 1; kind <= 3; ++kind) {
            for (int lifted : { -1, 0, 3 }) {
                for (bool plainClick : { true, false }) {
                    QTest::addRow("kind %d, %s, %s", kind, lifted < 0 ? "nothing lifted before" : lifted == 0 ? "column 0 lifted before" : "column 3 lifted before",
                                  plainClick ? "click" : "drag")
                        << kind << lifted << plainClick;
                }
            }
        }
    }
    void trayPieceReleasedAboveEmptiesNothing()
    {
        QFETCH(int, kind);
        QFETCH(int, liftedBefore);
        QFETCH(bool, plainClick);
        auto form = LessonTest::makeForm();
        Composition columns { 3, 2, 1, 2, 3 };
        compose(*form, columns);
        if (liftedBefore >= 0) {
            // Lifted and put back into its own column: DragFrom now names it.
            drag(*form, columnPoint(liftedBefore), columnPoint(liftedBefore, 260));
            QCOMPARE(double(form->lesson.scene().DragFrom), double(liftedBefore));
        }
        stepForward(*form, 5);
        if (plainClick)
            click(*form, trayPoint[kind]);
        else
            drag(*form, trayPoint[kind], QPoint(200, 120));
        QCOMPARE(droppedState(*form, columns), QString());
    }

    // A piece lifted from a column and let go above the envelope is removed, also after
    // pieces have come from the tray in between.
    void liftedPieceReleasedAboveIsRemoved_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("trayClickBefore");
        for (int column = 0; column < 5; ++column) {
            QTest::addRow("column %d", column) << column << false;
            QTest::addRow("column %d after a tray click", column) << column << true;
        }
    }
    void liftedPieceReleasedAboveIsRemoved()
    {
        QFETCH(int, column);
        QFETCH(bool, trayClickBefore);
        auto form = LessonTest::makeForm();
        Composition columns { 3, 2, 1, 2, 3 };
        compose(*form, columns);
        if (trayClickBefore)
            click(*form, trayPoint[2]);
        stepForward(*form, 4);
        drag(*form, columnPoint(column, 295), QPoint(100 + 60 * column, 50));
        columns[column] = 0;
        QCOMPARE(droppedState(*form, columns), QString());
        // A tray click after it removes nothing more.
        click(*form, trayPoint[1]);
        QCOMPARE(droppedState(*form, columns), QString());
    }

    // A drop with 方眼 ticked redraws the figure with the grid under the pieces.
    void dropWithGridOn()
    {
        auto form = LessonTest::makeForm();
        QTest::mouseClick(form->Check1, Qt::LeftButton);
        QVERIFY(form->Check1->isChecked());
        compose(*form, { 1, 0, 3, 0, 2 });
        stepForward(*form, 4);
        drag(*form, columnPoint(2), columnPoint(3));
        QCOMPARE(droppedState(*form, { 1, 0, 3, 3, 2 }), QString());
    }

    // The blackboard stays live during automatic play: a drag made across its pauses
    // changes the figure and brings the scene back to the start, and the run goes on
    // from there to the end with the new figure.
    void dragDuringAutomaticPlay()
    {
        auto form = LessonTest::makeForm();
        compose(*form, { 1, 0, 0, 2, 0 });
        form->Combo1->setEditText(QStringLiteral("10"));
        QCOMPARE(form->lesson.pauseMilliseconds(), 50);

        // Each action waits for its position of P, so press, move and release fall in
        // different pauses of the run.
        struct Observed
        {
            double pressedAt = -1, movedAt = -1, releasedAt = -1;
            bool runningAtRelease = false;
            QString outlineWhileDragging;
            QString afterRelease;
        } seen;
        int stage = 0;
        QTimer driver;
        driver.setInterval(5);
        QObject::connect(&driver, &QTimer::timeout, form.get(), [&] {
            const double px = LessonTest::pointPX(form->lesson);
            if (stage == 0 && px <= 260) {
                seen.pressedAt = px;
                QTest::mousePress(form->kokuban, Qt::LeftButton, Qt::NoModifier, trayPoint[3] + Border);
                stage = 1;
            } else if (stage == 1 && px <= 240 && px < seen.pressedAt) {
                seen.movedAt = px;
                QTest::mouseMove(form->kokuban, QPoint(400, 200) + Border);
                QTest::mouseMove(form->kokuban, QPoint(360, 240) + Border);
                seen.outlineWhileDragging = describeOutline(form->Line9);
                stage = 2;
            } else if (stage == 2 && px <= 220 && px < seen.movedAt) {
                seen.releasedAt = px;
                QTest::mouseRelease(form->kokuban, Qt::LeftButton, Qt::NoModifier, QPoint(360, 240) + Border);
                seen.runningAtRelease = form->lesson.isPlaying();
                seen.afterRelease = droppedState(*form, { 1, 3, 0, 2, 0 });
                stage = 3;
                driver.stop();
            }
        });
        driver.start();
        form->jidou_Click();
        waitForRunEnd(*form);
        driver.stop();

        QCOMPARE(stage, 3);
        QVERIFY(seen.pressedAt < 300);
        QVERIFY(seen.runningAtRelease);
        QCOMPARE(seen.outlineWhileDragging, outlineAround(3, 340, 300));
        QCOMPARE(seen.afterRelease, QString());

        // The run went on from the start to the end with the new figure.
        const Composition columns { 1, 3, 0, 2, 0 };
        QCOMPARE(LessonTest::pointPX(form->lesson), 100.0);
        QCOMPARE(form->Text1->text(), QStringLiteral(" 10.0"));
        QCOMPARE(form->lesson.y(), LessonTest::trueArea(columns, 10));
        const QString figure = checkFigure(*form->kokuban, columns, 100, Yellow, false);
        QVERIFY2(figure.isEmpty(), qPrintable(figure));
        QCOMPARE(outlinesAtHome(*form), QString());
        QVERIFY(!form->lesson.isPlaying());
    }
};

LESSON_TEST_MAIN(TestPieceDragger)
#include "tst_piece_dragger.moc"
