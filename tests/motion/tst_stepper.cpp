#include "support/lesson_test.h"

#include <QImage>
#include <cmath>

// 出す, 戻す and 最初に: where P, its labels and the distance marker go, what the distance
// box says, what each step records, and that the blackboard, the table and the graph
// follow the figure.

using namespace LessonTest;

namespace {

// The figure as it should stand with P at px: every piece white left of AB, light grey
// right of it, empty columns and the board left of the figure plain green. The samples
// lie off every outline, edge and grid line.
QString figureMismatch(const TestForm &form, const Composition &composition, int px)
{
    const DrawingLayer &board = form.kokuban->drawing();
    for (int i = 0; i < 5; ++i) {
        const int left = px + 40 * i;
        for (int dx : { 15, 25 }) {
            const int x = left + dx;
            const QColor expected = composition[i] == 0 ? Green : (x < 300 ? White : Grey);
            if (board.pixel(x, 290) != expected)
                return QStringLiteral("column %1 at %2, 290 is %3").arg(i).arg(x).arg(board.pixel(x, 290).name());
        }
    }
    for (int x = 25; x < px - 5; x += 10) {
        if (board.pixel(x, 290) != Green)
            return QStringLiteral("left of the figure at %1, 290: %2").arg(x).arg(board.pixel(x, 290).name());
    }
    return {};
}

// Every pixel of the 1 cm grid lines over the envelope band is black.
QString gridMissing(const TestForm &form)
{
    const DrawingLayer &board = form.kokuban->drawing();
    for (int gy = 180; gy <= 300; gy += 20) {
        for (int x = 20; x <= 580; ++x) {
            if (board.pixel(x, gy) != Black)
                return QStringLiteral("row %1 at x %2").arg(gy).arg(x);
        }
    }
    for (int gx = 20; gx <= 580; gx += 20) {
        for (int y = 180; y <= 300; ++y) {
            if (board.pixel(gx, y) != Black)
                return QStringLiteral("column %1 at y %2").arg(gx).arg(y);
        }
    }
    return {};
}

struct Snapshot
{
    SceneState scene;
    double y;
    std::map<int, double> tablePairs;
    Lesson::RunState runState;
    QString text;
    QImage board, table, graph;
    double labelLeft, labelTop;
    bool labelVisible;
    double pLetterLeft, dotLeft;
    std::array<double, 4> marker;
    bool stopEnabled;
};

Snapshot take(const TestForm &form)
{
    const LineControl *m = form.Line5[4];
    return { form.lesson.scene(),
             form.lesson.y(),
             form.table.shownPairs(),
             form.lesson.runState(),
             form.Text1->text(),
             form.kokuban->drawing().image().copy(),
             form.hyo->drawing().image().copy(),
             form.gamen->drawing().image().copy(),
             form.Label4[6]->left(),
             form.Label4[6]->top(),
             form.Label4[6]->isVisible(),
             form.Label4[8]->left(),
             form.Shape1->left(),
             { m->x1(), m->y1(), m->x2(), m->y2() },
             form.tomeru->isEnabled() };
}

std::array<double, 4> markerOf(const TestForm &form)
{
    const LineControl *m = form.Line5[4];
    return { m->x1(), m->y1(), m->x2(), m->y2() };
}

// Pixels of a that differ from b, other than blue ones within 3 px of a point.
bool sameButBlueNear(const QImage &a, const QImage &b, QPointF point, int *blueNear)
{
    *blueNear = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool near = std::abs(x + 0.5 - point.x()) <= 3 && std::abs(y + 0.5 - point.y()) <= 3;
            if (near && a.pixelColor(x, y) == Blue)
                ++*blueNear;
            else if (a.pixel(x, y) != b.pixel(x, y))
                return false;
        }
    }
    return true;
}

} // namespace

#define COMPARE_SNAPSHOTS(now, then)                                                               \
    do {                                                                                           \
        QCOMPARE(LessonTest::pointPX(now.scene), LessonTest::pointPX(then.scene));                                           \
        QCOMPARE(now.tablePairs, then.tablePairs);                                                 \
        QCOMPARE(now.y, then.y);                                                                   \
        QCOMPARE(now.scene.Slot, then.scene.Slot);                                                 \
        QCOMPARE(now.runState, then.runState);                                                     \
        QCOMPARE(now.text, then.text);                                                             \
        QVERIFY2(now.board == then.board, "blackboard drawing changed");                           \
        QVERIFY2(now.table == then.table, "table panel changed");                                  \
        QVERIFY2(now.graph == then.graph, "graph panel changed");                                  \
        QCOMPARE(now.labelLeft, then.labelLeft);                                                   \
        QCOMPARE(now.labelTop, then.labelTop);                                                     \
        QCOMPARE(now.labelVisible, then.labelVisible);                                             \
        QCOMPARE(now.pLetterLeft, then.pLetterLeft);                                               \
        QCOMPARE(now.dotLeft, then.dotLeft);                                                       \
        QCOMPARE(now.marker, then.marker);                                                         \
        QCOMPARE(now.stopEnabled, then.stopEnabled);                                               \
    } while (false)

class TestStepper : public QObject
{
    Q_OBJECT

private slots:
    void forwardAndBackOverTheWholeRange_data()
    {
        QTest::addColumn<Composition>("composition");
        QTest::addColumn<bool>("panels");
        const std::pair<const char *, Composition> figures[] = {
            { "mixed", { 1, 2, 3, 0, 2 } },
            { "tall", { 3, 3, 3, 3, 3 } },
            { "empty", { 0, 0, 0, 0, 0 } },
            { "gaps", { 0, 1, 0, 3, 0 } },
        };
        for (const auto &[name, composition] : figures) {
            QTest::addRow("%s, panels off", name) << composition << false;
            QTest::addRow("%s, panels on", name) << composition << true;
        }
    }
    void forwardAndBackOverTheWholeRange()
    {
        QFETCH(Composition, composition);
        QFETCH(bool, panels);
        auto form = LessonTest::makeForm();
        if (panels) {
            form->Check2->click();
            form->Check3->click();
        }
        form->lesson.compose(composition);
        form->Command2_Click();
        QVERIFY(form->Check4->isChecked());

        for (int k = 1; k <= 20; ++k) {
            QTest::mouseClick(form->susumu, Qt::LeftButton);
            const double px = 300 - 10 * k;
            const double x = k / 2.0;
            const SceneState &s = form->lesson.scene();
            QCOMPARE(LessonTest::pointPX(s), px);
            QCOMPARE(form->Text1->text(), distanceText(x));
            QCOMPARE(form->Label4[8]->left(), px - 18);
            QCOMPARE(form->Shape1->left(), px - 4);
            QCOMPARE(form->Label4[6]->left(), (px + 310) / 2 - 22);
            QCOMPARE(form->Label4[6]->top(), px > 230 ? 325.0 : 300.0);
            QVERIFY(form->Label4[6]->isVisible());
            QCOMPARE(markerOf(*form), (std::array<double, 4> { 300, 300, px, 300 }));
            QCOMPARE(form->lesson.y(), LessonTest::trueArea(composition, x));
            QCOMPARE(tableY(*form), panels ? LessonTest::trueArea(composition, std::floor(x)) : 0.0);
            const QString figure = figureMismatch(*form, composition, int(px));
            QVERIFY2(figure.isEmpty(), qPrintable(QStringLiteral("x = %1: %2").arg(x).arg(figure)));
        }

        for (int k = 19; k >= 0; --k) {
            QTest::mouseClick(form->modoru, Qt::LeftButton);
            const double px = 300 - 10 * k;
            const double x = k / 2.0;
            const SceneState &s = form->lesson.scene();
            QCOMPARE(LessonTest::pointPX(s), px);
            QCOMPARE(form->Text1->text(), distanceText(x));
            QCOMPARE(form->Label4[8]->left(), px - 18);
            QCOMPARE(form->Shape1->left(), px - 4);
            QCOMPARE(form->Label4[6]->left(), (px + 300) / 2 - 22);
            QCOMPARE(form->Label4[6]->top(), px > 230 ? 325.0 : 300.0);
            QCOMPARE(form->Label4[6]->isVisible(), k != 0);
            QCOMPARE(markerOf(*form), (std::array<double, 4> { 300, 300, px, 300 }));
            QCOMPARE(form->lesson.y(), LessonTest::trueArea(composition, x));
            QCOMPARE(tableY(*form), panels ? LessonTest::trueArea(composition, std::floor(x)) : 0.0);
            const QString figure = figureMismatch(*form, composition, int(px));
            QVERIFY2(figure.isEmpty(), qPrintable(QStringLiteral("back to x = %1: %2").arg(x).arg(figure)));
        }
        QCOMPARE(form->Text1->text(), QStringLiteral(" 0.0"));
    }

    void distanceLabelStandsApartForTheTwoDirections()
    {
        auto form = LessonTest::makeForm();
        for (int i = 0; i < 10; ++i)
            form->susumu_Click();
        QCOMPARE(LessonTest::pointPX(form->lesson), 200.0);
        QCOMPARE(form->Label4[6]->left(), 233.0);
        QCOMPARE(form->Label4[6]->top(), 300.0);
        form->susumu_Click();
        form->modoru_Click();
        QCOMPARE(LessonTest::pointPX(form->lesson), 200.0);
        QCOMPARE(form->Label4[6]->left(), 228.0);

        // Below the track up to x = 3.0, beside it from x = 3.5 on.
        form->Command2_Click();
        for (int i = 0; i < 6; ++i)
            form->susumu_Click();
        QCOMPARE(form->Text1->text(), QStringLiteral(" 3.0"));
        QCOMPARE(form->Label4[6]->top(), 325.0);
        form->susumu_Click();
        QCOMPARE(form->Label4[6]->top(), 300.0);
    }

    void markerStaysParkedWhileItsSwitchIsOff()
    {
        auto form = LessonTest::makeForm();
        for (int i = 0; i < 4; ++i)
            form->susumu_Click();
        QCOMPARE(markerOf(*form), (std::array<double, 4> { 300, 300, 260, 300 }));
        form->Check4->click();
        QVERIFY(!form->Check4->isChecked());
        const auto parked = markerOf(*form);
        QCOMPARE(parked, (std::array<double, 4> { 300, 800, 260, 800 }));
        for (int i = 0; i < 3; ++i)
            form->susumu_Click();
        form->modoru_Click();
        QCOMPARE(markerOf(*form), parked);
        form->Check4->click();
        QCOMPARE(markerOf(*form), (std::array<double, 4> { 300, 300, 240, 300 }));
        form->modoru_Click();
        QCOMPARE(markerOf(*form), (std::array<double, 4> { 300, 300, 250, 300 }));
    }

    void clampsAtBothEndsChangeNothing_data()
    {
        QTest::addColumn<bool>("panels");
        QTest::addColumn<bool>("grid");
        QTest::newRow("plain") << false << false;
        QTest::newRow("panels and grid") << true << true;
    }
    void clampsAtBothEndsChangeNothing()
    {
        QFETCH(bool, panels);
        QFETCH(bool, grid);
        auto form = LessonTest::makeForm();
        if (panels) {
            form->Check2->click();
            form->Check3->click();
        }
        if (grid)
            form->Check1->click();
        form->lesson.compose(LessonTest::Composition { 2, 3, 1, 0, 3 });
        form->Command2_Click();

        const Snapshot atStart = take(*form);
        QTest::mouseClick(form->modoru, Qt::LeftButton);
        QTest::mouseClick(form->modoru, Qt::LeftButton);
        const Snapshot afterBack = take(*form);
        COMPARE_SNAPSHOTS(afterBack, atStart);

        for (int i = 0; i < 20; ++i)
            form->susumu_Click();
        const Snapshot atEnd = take(*form);
        QCOMPARE(LessonTest::pointPX(atEnd.scene), 100.0);
        QTest::mouseClick(form->susumu, Qt::LeftButton);
        QTest::mouseClick(form->susumu, Qt::LeftButton);
        const Snapshot afterForward = take(*form);
        COMPARE_SNAPSHOTS(afterForward, atEnd);
        QCOMPARE(form->Text1->text(), QStringLiteral(" 10.0"));
    }

    void backToTheStart_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("panels");
        for (int steps : { 0, 1, 7, 14, 20 }) {
            QTest::addRow("from %d steps, panels off", steps) << steps << false;
            QTest::addRow("from %d steps, panels on", steps) << steps << true;
        }
    }
    void backToTheStart()
    {
        QFETCH(int, steps);
        QFETCH(bool, panels);
        const Composition composition { 3, 1, 0, 2, 3 };
        // A window fresh from start-up shows the table and the graph as they start.
        auto fresh = LessonTest::makeForm();
        auto form = LessonTest::makeForm();
        if (panels) {
            form->Check2->click();
            form->Check3->click();
        }
        form->lesson.compose(composition);
        form->Command2_Click();
        for (int i = 0; i < steps; ++i)
            form->susumu_Click();

        QTest::mouseClick(form->Command2, Qt::LeftButton);
        const SceneState &s = form->lesson.scene();
        QCOMPARE(LessonTest::pointPX(s), 300.0);
        QCOMPARE(form->Text1->text(), QStringLiteral(" 0.0"));
        QCOMPARE(tableY(*form), 0.0);
        QCOMPARE(form->lesson.y(), 0.0);
        QCOMPARE(s.Slot, composition);
        QVERIFY(!form->tomeru->isEnabled());
        QVERIFY(!form->Label4[6]->isVisible());
        QCOMPARE(form->Label4[8]->left(), 282.0);
        QCOMPARE(form->Shape1->left(), 296.0);
        QCOMPARE(markerOf(*form), (std::array<double, 4> { 300, 300, 300, 300 }));
        const QString figure = figureMismatch(*form, composition, 300);
        QVERIFY2(figure.isEmpty(), qPrintable(figure));

        // The table shows its starting column whether or not it is ticked.
        QVERIFY2(form->hyo->drawing().image() == fresh->hyo->drawing().image(), "table back to its starting column");
        // The graph shows its empty axes, and with the panel on the dot at the origin.
        int blueNear = 0;
        QVERIFY2(sameButBlueNear(form->gamen->drawing().image(), fresh->gamen->drawing().image(), QPointF(35, 480), &blueNear),
                 "graph back to its empty axes");
        QCOMPARE(blueNear > 0, panels);

        // A second press at the start gives the same screen.
        const Snapshot once = take(*form);
        form->Command2_Click();
        const Snapshot twice = take(*form);
        COMPARE_SNAPSHOTS(twice, once);

        // And the walk out goes as from a fresh start.
        for (int k = 1; k <= 20; ++k) {
            form->susumu_Click();
            QCOMPARE(form->lesson.y(), LessonTest::trueArea(composition, k / 2.0));
            if (panels)
                QCOMPARE(tableY(*form), LessonTest::trueArea(composition, std::floor(k / 2.0)));
        }
    }

    void gridLiesOverThePiecesAfterEachStep()
    {
        const Composition composition { 3, 2, 1, 3, 2 };
        auto form = LessonTest::makeForm();
        form->lesson.compose(composition);
        form->Command2_Click();
        form->Check1->click();
        QVERIFY(form->Check1->isChecked());

        // Empty when the grid lies whole over the figure as it stands.
        auto mismatch = [&]() -> QString {
            const QString grid = gridMissing(*form);
            if (!grid.isEmpty())
                return QStringLiteral("grid missing at ") + grid;
            return figureMismatch(*form, composition, int(LessonTest::pointPX(form->lesson)));
        };
        for (int k = 1; k <= 20; ++k) {
            form->susumu_Click();
            const QString wrong = mismatch();
            QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("forward to x = %1: %2").arg(k / 2.0).arg(wrong)));
        }
        for (int k = 19; k >= 0; --k) {
            form->modoru_Click();
            const QString wrong = mismatch();
            QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("back to x = %1: %2").arg(k / 2.0).arg(wrong)));
        }
        for (int k = 1; k <= 9; ++k)
            form->susumu_Click();
        form->Command2_Click();
        const QString wrong = mismatch();
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("after 最初に: ") + wrong));

        // Without the grid the pieces are plain where the lines ran.
        form->Check1->click();
        form->susumu_Click();
        QCOMPARE(LessonTest::pointPX(form->lesson), 290.0);
        QCOMPARE(form->kokuban->drawing().pixel(295, 280), White);
        QCOMPARE(form->kokuban->drawing().pixel(350, 240), Grey);
        QCOMPARE(form->kokuban->drawing().pixel(25, 280), Green);
    }
};

LESSON_TEST_MAIN(TestStepper)
#include "tst_stepper.moc"
