#include "support/layer_checks.h"
#include "surface/fonts.h"

#include <QImage>
#include <cmath>
#include <vector>

// The table below the blackboard: which columns it writes and erases, where, in which
// ink, and that the y it prints is the area that is really out of the envelope.

using namespace LessonTest;

namespace {

const QColor Ink = Blue;

// Where a column's text starts: x = 0 at 60, otherwise 50 + 45·x, 5 px further left for a
// value of 10 or more.
int columnLeft(int x, double value)
{
    if (x == 0)
        return 60;
    return 50 + 45 * x - (value >= 10 ? 5 : 0);
}

constexpr int XRowTop = 25;
constexpr int YRowTop = 70;

// The table as it should look, printed by hand on a scratch box of the panel's size in
// the panel's font (14.25 pt bold) and ink, from values worked out here.
class ExpectedTable
{
public:
    explicit ExpectedTable(const PictureBox &like)
    {
        prepareScratch(m_box, like, PanelBack, Fonts::layoutFont(14.25, true), Ink);
    }

    // The column of a whole x showing y.
    void column(int x, double y)
    {
        if (x == 0) {
            printAt(m_box, 60, XRowTop, QStringLiteral("0"));
            printAt(m_box, 60, YRowTop, QStringLiteral("0"));
            return;
        }
        printAt(m_box, columnLeft(x, x), XRowTop, QStringLiteral(" %1 ").arg(x));
        printAt(m_box, columnLeft(x, y), YRowTop, QStringLiteral(" %1 ").arg(y));
    }

    const QImage &image() const { return m_box.drawing().image(); }

private:
    PictureBox m_box;
};

// The bounding box of the non-background pixels inside a rectangle of the panel.
QRect inkWithin(const PictureBox &panel, QRect area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (panel.drawing().pixel(x, y) != PanelBack)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// Every pixel of the panel is either background or the blue ink.
bool onlyInkAndBackground(const PictureBox &panel)
{
    const QImage &layer = panel.drawing().image();
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            const QColor c = layer.pixelColor(x, y);
            if (c != Ink && c != PanelBack)
                return false;
        }
    }
    return true;
}

bool isBlank(const PictureBox &panel)
{
    const QImage &layer = panel.drawing().image();
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            if (layer.pixelColor(x, y) != PanelBack)
                return false;
        }
    }
    return true;
}

double distanceNow(const TestForm &form)
{
    return LessonTest::distanceOf(form.lesson.scene());
}

void addFigures()
{
    QTest::addColumn<Composition>("composition");
    QTest::newRow("five 6 cm pieces") << Composition { 3, 3, 3, 3, 3 };
    QTest::newRow("mixed with a gap") << Composition { 1, 2, 3, 0, 2 };
    QTest::newRow("empty envelope") << Composition { 0, 0, 0, 0, 0 };
    QTest::newRow("gaps between") << Composition { 2, 0, 1, 0, 3 };
    QTest::newRow("falling") << Composition { 3, 2, 1, 1, 0 };
}

} // namespace

class TestTablePanel : public QObject
{
    Q_OBJECT

private slots:
    void startColumnIsWrittenAndErasedAtZero()
    {
        auto form = LessonTest::makeForm();
        ExpectedTable expected(*form->hyo);
        expected.column(0, 0);
        COMPARE_LAYER(form->hyo->drawing().image(), expected.image(), "start column");

        // Both zeros stand at x = 60 in their rows.
        const QRect xInk = inkWithin(*form->hyo, QRect(40, XRowTop - 5, 45, 35));
        const QRect yInk = inkWithin(*form->hyo, QRect(40, YRowTop - 5, 45, 35));
        QVERIFY(xInk.isValid() && yInk.isValid());
        QVERIFY(xInk.left() >= 60 && xInk.left() < 70);
        QVERIFY(xInk.top() >= XRowTop && xInk.top() < XRowTop + 15);
        QCOMPARE(yInk.left(), xInk.left());
        QCOMPARE(yInk.top() - xInk.top(), YRowTop - XRowTop);
        QVERIFY2(onlyInkAndBackground(*form->hyo), "written in blue 0,0,255");

        form->table.DrawTable(TablePanel::Ink::Erase, form->lesson.stepIndex());
        QVERIFY2(isBlank(*form->hyo), "erasing at x = 0 leaves no trace");
        QCOMPARE(tableY(*form), 0.0);
    }

    void walkForwardAndBack_data() { addFigures(); }
    void walkForwardAndBack()
    {
        QFETCH(Composition, composition);
        auto form = LessonTest::makeForm();
        form->Check3->click();
        QVERIFY(form->Check3->isChecked());
        form->lesson.compose(composition);
        form->Command2_Click();

        ExpectedTable expected(*form->hyo);
        expected.column(0, 0);
        COMPARE_LAYER(form->hyo->drawing().image(), expected.image(), "at the start");

        std::vector<QImage> before(21);
        before[0] = form->hyo->drawing().image().copy();
        for (int step = 1; step <= 20; ++step) {
            form->susumu_Click();
            const double x = distanceNow(*form);
            QCOMPARE(x, step / 2.0);
            if (step % 2 == 0) {
                const int whole = step / 2;
                const double y = LessonTest::trueArea(composition, whole);
                expected.column(whole, y);
                // The y row's ink lies in its own column's cell.
                const QRect yInk = inkWithin(*form->hyo, QRect(columnLeft(whole, y), YRowTop, 45, 30));
                QVERIFY2(yInk.isValid(), qPrintable(QStringLiteral("no y printed at x = %1").arg(whole)));
                QVERIFY(yInk.left() > columnLeft(whole, y));
            }
            COMPARE_LAYER(form->hyo->drawing().image(), expected.image(), QStringLiteral("forward to x = %1").arg(x));
            if (step % 2 == 1)
                COMPARE_LAYER(form->hyo->drawing().image(), before[step - 1], QStringLiteral("half position %1 prints nothing").arg(x));
            QCOMPARE(tableY(*form), LessonTest::trueArea(composition, std::floor(x)));
            before[step] = form->hyo->drawing().image().copy();
        }
        QVERIFY(onlyInkAndBackground(*form->hyo));

        for (int step = 20; step >= 1; --step) {
            form->modoru_Click();
            const double x = distanceNow(*form);
            QCOMPARE(x, (step - 1) / 2.0);
            // The column of the position left is gone without a trace; the rest stay.
            COMPARE_LAYER(form->hyo->drawing().image(), before[step - 1], QStringLiteral("back to x = %1").arg(x));
            QCOMPARE(tableY(*form), LessonTest::trueArea(composition, std::floor(x)));
        }

        // At the start there is nothing further back: the start column stays.
        form->modoru_Click();
        COMPARE_LAYER(form->hyo->drawing().image(), before[0], "back at the start");
        QCOMPARE(tableY(*form), 0.0);
    }

    void switchedOnAlongTheWay_data()
    {
        QTest::addColumn<Composition>("composition");
        QTest::addColumn<int>("steps");
        const Composition mixed { 1, 2, 3, 0, 2 };
        const Composition tall { 3, 3, 3, 3, 3 };
        const Composition gaps { 0, 3, 0, 1, 2 };
        for (int steps : { 0, 1, 2, 5, 8, 13, 19, 20 }) {
            QTest::addRow("mixed after %d steps", steps) << mixed << steps;
            QTest::addRow("tall after %d steps", steps) << tall << steps;
        }
        QTest::newRow("gaps after 6 steps") << gaps << 6;
        QTest::newRow("gaps after 11 steps") << gaps << 11;
    }
    void switchedOnAlongTheWay()
    {
        QFETCH(Composition, composition);
        QFETCH(int, steps);
        auto form = LessonTest::makeForm();
        form->lesson.compose(composition);
        form->Command2_Click();
        for (int i = 0; i < steps; ++i)
            form->susumu_Click();

        form->Check3->click();
        QCOMPARE(form->outerHeight(), 10800);
        const double x = distanceNow(*form);
        ExpectedTable expected(*form->hyo);
        if (steps % 2 == 0)
            expected.column(steps / 2, LessonTest::trueArea(composition, steps / 2));
        COMPARE_LAYER(form->hyo->drawing().image(), expected.image(), QStringLiteral("switched on at x = %1").arg(x));
        QCOMPARE(tableMismatch(*form), QString());

        // Every column written from here on shows the true area as well.
        for (int step = steps + 1; step <= 20; ++step) {
            form->susumu_Click();
            if (step % 2 == 0)
                expected.column(step / 2, LessonTest::trueArea(composition, step / 2));
            COMPARE_LAYER(form->hyo->drawing().image(), expected.image(), QStringLiteral("then at x = %1").arg(step / 2.0));
            QCOMPARE(tableMismatch(*form), QString());
        }

        // Back all the way: the running value comes down with the figure to 0.
        for (int step = 20; step >= 1; --step) {
            form->modoru_Click();
            QCOMPARE(tableMismatch(*form), QString());
        }
        QCOMPARE(tableY(*form), 0.0);
        ExpectedTable atStart(*form->hyo);
        if (steps == 0)
            atStart.column(0, 0);
        COMPARE_LAYER(form->hyo->drawing().image(), atStart.image(), "back at the start");
    }

    void switchedOffAndOnAgainDuringTheWalk()
    {
        const Composition composition { 2, 3, 1, 3, 2 };
        auto form = LessonTest::makeForm();
        form->lesson.compose(composition);
        form->Command2_Click();
        for (int i = 0; i < 3; ++i)
            form->susumu_Click();
        form->Check3->click(); // on at x = 1.5
        for (int i = 0; i < 6; ++i)
            form->susumu_Click();
        const QImage shownWhenOff = form->hyo->drawing().image().copy();
        form->Check3->click(); // off at x = 4.5
        QCOMPARE(form->outerHeight(), 8800);
        COMPARE_LAYER(form->hyo->drawing().image(), shownWhenOff, "unticking keeps the panel");
        for (int i = 0; i < 5; ++i)
            form->susumu_Click();
        COMPARE_LAYER(form->hyo->drawing().image(), shownWhenOff, "nothing is written while the table is off");

        form->Check3->click(); // on again at x = 7
        QCOMPARE(distanceNow(*form), 7.0);
        ExpectedTable expected(*form->hyo);
        expected.column(7, LessonTest::trueArea(composition, 7));
        COMPARE_LAYER(form->hyo->drawing().image(), expected.image(), "on again at x = 7");
        for (int x = 8; x <= 10; ++x) {
            form->susumu_Click();
            form->susumu_Click();
            expected.column(x, LessonTest::trueArea(composition, x));
            COMPARE_LAYER(form->hyo->drawing().image(), expected.image(), QStringLiteral("at x = %1").arg(x));
        }
        QCOMPARE(tableY(*form), LessonTest::trueArea(composition, 10));
        QCOMPARE(tableY(*form), 44.0); // 4 + 6 + 2 + 6 + 4 cm high, 2 cm wide each
    }

    void valuesOfTenAndMoreStartFurtherLeft()
    {
        // y = 12 at x = 2 and x = 10 itself both stand 5 px left of the regular place.
        const Composition composition { 3, 0, 0, 0, 0 };
        auto form = LessonTest::makeForm();
        form->Check3->click();
        form->lesson.compose(composition);
        form->Command2_Click();
        for (int i = 0; i < 4; ++i)
            form->susumu_Click();
        QCOMPARE(tableY(*form), 12.0);

        // " 12 " printed at 135 has the same ink as printed by hand there.
        ExpectedTable right(*form->hyo);
        right.column(0, 0);
        right.column(1, 6);
        right.column(2, 12);
        COMPARE_LAYER(form->hyo->drawing().image(), right.image(), "x = 2 with y = 12");
        const QRect yInk = inkWithin(*form->hyo, QRect(125, YRowTop, 45, 30));
        const QRect xInk = inkWithin(*form->hyo, QRect(130, XRowTop, 45, 30));
        QVERIFY(yInk.isValid() && xInk.isValid());
        QVERIFY2(yInk.left() < xInk.left(), "y = 12 starts left of x = 2 above it");

        for (int i = 4; i < 20; ++i)
            form->susumu_Click();
        const QRect tenInk = inkWithin(*form->hyo, QRect(490, XRowTop, 60, 30));
        const QRect nineInk = inkWithin(*form->hyo, QRect(450, XRowTop, 40, 30));
        QVERIFY(tenInk.isValid() && nineInk.isValid());
        // " 10 " starts at 495: its ink starts less than 45 px after " 9 "'s (at 455).
        QVERIFY(tenInk.left() - nineInk.left() < 45);
        QVERIFY(tenInk.left() > 495);
    }

    // What is typed into the distance box stays there until the next step writes it, and
    // changes nothing else: the table and the graph follow P, whatever the box says.
    void typedDistanceChangesNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("tableOn");
        for (const bool on : { true, false }) {
            const char *table = on ? "table on" : "table off";
            QTest::addRow("' 5', %s", table) << QStringLiteral(" 5") << on;
            QTest::addRow("'10', %s", table) << QStringLiteral("10") << on;
            QTest::addRow("'100', %s", table) << QStringLiteral("100") << on;
            QTest::addRow("'nan', %s", table) << QStringLiteral("nan") << on;
            QTest::addRow("'0.25', %s", table) << QStringLiteral("0.25") << on;
        }
    }
    void typedDistanceChangesNothing()
    {
        QFETCH(QString, text);
        QFETCH(bool, tableOn);
        const Composition composition { 3, 2, 1, 2, 3 };

        for (const int steps : { 0, 6, 7 }) { // x = 0, 3 and 3.5
            auto typed = LessonTest::makeForm(), untouched = LessonTest::makeForm();
            for (TestForm *form : { typed.get(), untouched.get() }) {
                form->Check2->click();
                if (tableOn)
                    form->Check3->click();
                form->lesson.compose(composition);
                form->Command2_Click();
                stepForward(*form, steps);
            }
            typed->Text1->selectAll();
            QTest::keyClicks(typed->Text1, text);
            QCOMPARE(typed->Text1->text(), text);

            auto same = [&](const char *after) {
                const QString what = QStringLiteral("after %1 from x = %2").arg(QLatin1String(after)).arg(steps / 2.0);
                COMPARE_LAYER(typed->hyo->drawing().image(), untouched->hyo->drawing().image(), what);
                COMPARE_LAYER(typed->gamen->drawing().image(), untouched->gamen->drawing().image(), what);
                const SceneState &s = typed->lesson.scene();
                QCOMPARE(typed->lesson.y(), LessonTest::trueArea(composition, distanceOf(s)));
                QCOMPARE(typed->lesson.y(), untouched->lesson.y());
                for (const auto &[x, y] : typed->table.shownPairs())
                    QCOMPARE(y, LessonTest::trueArea(composition, x));
            };
            auto both = [&](auto act) {
                act(*typed);
                act(*untouched);
            };
            if (!tableOn) {
                both([](TestForm &f) { f.Check3->click(); });
                same("ticking the table");
                QCOMPARE(typed->Text1->text(), text);
            }
            both([](TestForm &f) { QTest::mouseClick(f.susumu, Qt::LeftButton); });
            same("a step out");
            QCOMPARE(typed->Text1->text(), untouched->Text1->text());
            both([](TestForm &f) { QTest::mouseClick(f.susumu, Qt::LeftButton); });
            both([](TestForm &f) { QTest::mouseClick(f.modoru, Qt::LeftButton); });
            same("a step back");
            both([](TestForm &f) { stepForward(f, 20); });
            same("the walk to the end");
        }
    }

    void windowHeightFollowsTheTick()
    {
        auto form = LessonTest::makeForm();
        QCOMPARE(form->outerHeight(), 8800);
        QVERIFY2(form->hyo->y() >= form->height(), "the table lies below the window at first");

        form->lesson.compose(LessonTest::Composition { 1, 1, 1, 1, 1 });
        form->Command2_Click();
        for (int i = 0; i < 8; ++i)
            form->susumu_Click();

        form->Check3->click();
        QCOMPARE(form->outerHeight(), 10800);
        QVERIFY2(form->hyo->geometry().bottom() < form->height(), "the table comes into view");
        ExpectedTable expected(*form->hyo);
        expected.column(4, 8);
        COMPARE_LAYER(form->hyo->drawing().image(), expected.image(), "the current column only");
        form->susumu_Click();
        form->susumu_Click();
        expected.column(5, 10);
        const QImage shown = form->hyo->drawing().image().copy();
        COMPARE_LAYER(shown, expected.image(), "x = 5");

        form->Check3->click();
        QCOMPARE(form->outerHeight(), 8800);
        QVERIFY(form->hyo->y() >= form->height());
        COMPARE_LAYER(form->hyo->drawing().image(), shown, "unticking keeps the panel");

        form->Check3->click();
        QCOMPARE(form->outerHeight(), 10800);
        ExpectedTable again(*form->hyo);
        again.column(5, 10);
        COMPARE_LAYER(form->hyo->drawing().image(), again.image(), "ticking again clears and writes the current column");
    }
};

LESSON_TEST_MAIN(TestTablePanel)
#include "tst_table_panel.moc"
