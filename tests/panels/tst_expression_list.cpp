#include "support/layer_checks.h"

#include <QAccessible>
#include <QComboBox>
#include <cmath>

// 式: y as an expression of x in each domain P has entered, listed on the graph panel,
// driven by real clicks, keys and drags; its pixels against the curve's.

using namespace LessonTest;

namespace {

// The figure of the exercise: 6, 4 and 4 cm pieces, then two empty columns.
const Composition Exercise { 3, 2, 2, 0, 0 };
const QStringList ExerciseLines { QStringLiteral("0≦x≦2 のとき y=6x"), QStringLiteral("2≦x≦6 のとき y=4x+4"),
                                  QStringLiteral("6≦x≦10 のとき y=28") };

// The exercise's lines P has entered at x: a domain counts once x is past its start.
QStringList exerciseLinesAt(double x)
{
    return ExerciseLines.mid(0, x > 6 ? 3 : x > 2 ? 2 : x > 0 ? 1 : 0);
}

// What the panel shows: the captions of its visible labels, from the top.
QStringList shownLines(const ExpressionList &list)
{
    QStringList lines;
    for (const LabelControl *label : list.labels()) {
        if (label->isVisible())
            lines << label->caption();
    }
    return lines;
}

QString graphDescription(TestForm &form)
{
    return QAccessible::queryAccessibleInterface(form.gamen)->text(QAccessible::Description);
}

void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(qMin(8, box->width() / 2), box->height() / 2));
}

// A window with the table and the graph open, so 式 is in view, and a composed figure.
std::unique_ptr<TestForm> openLesson(const Composition &columns)
{
    auto form = makeForm();
    clickBox(form->Check3);
    clickBox(form->Check2);
    form->lesson.compose(columns);
    form->Command2_Click();
    return form;
}

// A 3 px curve reaches this far from its centre line, to the centres of its pixels.
constexpr double LineReach = 2.6;

// How far a panel point lies above the line y = 6x, the steepest any figure draws.
double aboveSteepestCurve(QPointF p)
{
    // 6x cm² at x cm runs from (35, 480) to (335, 30) on the panel.
    const QPointF a(35, 480), b(335, 30);
    const QPointF ab = b - a, ap = p - a;
    return (ab.x() * ap.y() - ab.y() * ap.x()) / std::hypot(ab.x(), ab.y()) * -1;
}

// The lines shown, then what screen readers are told, as one text to compare.
QString shownState(TestForm &form)
{
    return shownLines(form.expressions).join(QStringLiteral(" / ")) + QStringLiteral(" | ") + graphDescription(form);
}

QString expectedState(const QStringList &lines)
{
    return lines.join(QStringLiteral(" / ")) + QStringLiteral(" | ") + lines.join(QStringLiteral("; "));
}

} // namespace

class TestExpressionList : public QObject
{
    Q_OBJECT

private slots:
    void listFollowsPOutAndBack()
    {
        auto form = openLesson(Exercise);
        QVERIFY(!form->Check6->isChecked());
        for (int i = 0; i < 5; ++i)
            QTest::mouseClick(form->susumu, Qt::LeftButton);
        QCOMPARE(shownLines(form->expressions), QStringList());
        QCOMPARE(graphDescription(*form), QString());

        form->Command2_Click();
        clickBox(form->Check6);
        QCOMPARE(shownState(*form), expectedState(QStringList()));
        for (int step = 1; step <= 20; ++step) {
            QTest::mouseClick(form->susumu, Qt::LeftButton);
            QCOMPARE(shownState(*form), expectedState(exerciseLinesAt(step / 2.0)));
        }
        for (int step = 19; step >= 0; --step) {
            QTest::mouseClick(form->modoru, Qt::LeftButton);
            QCOMPARE(shownState(*form), expectedState(exerciseLinesAt(step / 2.0)));
        }
    }

    void tickingShowsAtOnceUntickingHides()
    {
        auto form = openLesson(Exercise);
        stepForward(*form, 7);
        const QImage without = form->gamen->grab().toImage();
        QCOMPARE(shownLines(form->expressions), QStringList());

        clickBox(form->Check6);
        QCOMPARE(shownState(*form), expectedState(exerciseLinesAt(3.5)));
        QVERIFY(form->gamen->grab().toImage() != without);
        clickBox(form->Check6);
        QCOMPARE(shownLines(form->expressions), QStringList());
        QCOMPARE(graphDescription(*form), QString());
        QCOMPARE(form->gamen->grab().toImage(), without);
    }

    void startAgainDropAndInitialScreenClearTheList()
    {
        auto form = openLesson(Exercise);
        clickBox(form->Check6);
        stepForward(*form, 9);
        QTest::mouseClick(form->Command2, Qt::LeftButton);
        QVERIFY(form->Check6->isChecked());
        QCOMPARE(shownState(*form), expectedState(QStringList()));
        stepForward(*form, 1);
        QCOMPARE(shownState(*form), expectedState(exerciseLinesAt(0.5)));

        // A 2 cm piece dragged from the tray into the last column.
        stepForward(*form, 4);
        const QPoint tray(370, 100), lastColumn(480, 250);
        QTest::mousePress(form->kokuban, Qt::LeftButton, {}, tray + Border);
        for (int i = 1; i <= 4; ++i)
            QTest::mouseMove(form->kokuban, tray + (lastColumn - tray) * i / 4 + Border);
        QTest::mouseRelease(form->kokuban, Qt::LeftButton, {}, lastColumn + Border);
        QCOMPARE(form->lesson.scene().Slot, (Composition { 3, 2, 2, 0, 1 }));
        QCOMPARE(shownState(*form), expectedState(QStringList()));
        stepForward(*form, 20);
        const QStringList withPiece = ExerciseLines.mid(0, 2)
            + QStringList { QStringLiteral("6≦x≦8 のとき y=28"), QStringLiteral("8≦x≦10 のとき y=2x+12") };
        QCOMPARE(shownState(*form), expectedState(withPiece));

        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QVERIFY(form->Check6->isChecked());
        QCOMPARE(shownState(*form), expectedState(QStringList()));
        stepForward(*form, 3);
        QCOMPARE(shownState(*form), expectedState(QStringList { QStringLiteral("0≦x≦10 のとき y=0") }));
    }

    void keysAndAutomaticPlayToo()
    {
        auto form = openLesson(Exercise);
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        clickBox(form->Check6);
        form->susumu->setFocus();
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(form->susumu, Qt::Key_PageDown);
        QCOMPARE(shownState(*form), expectedState(exerciseLinesAt(2.5)));
        QTest::keyClick(form->susumu, Qt::Key_Left);
        QCOMPARE(shownState(*form), expectedState(exerciseLinesAt(2)));
        QTest::keyClick(form->susumu, Qt::Key_Home);
        QCOMPARE(shownState(*form), expectedState(QStringList()));

        form->Combo1->setEditText(QStringLiteral(" 0"));
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        QTRY_COMPARE(LessonTest::pointPX(form->lesson), 100.0);
        QCOMPARE(shownState(*form), expectedState(ExerciseLines));
    }

    // With the whole curve drawn, the list adds pixels only where the curve is not and
    // changes nothing of the drawing layer, through every redraw of the axes.
    void listKeepsClearOfTheCurve_data()
    {
        QTest::addColumn<Composition>("columns");
        QTest::newRow("steepest") << Composition { 3, 3, 3, 3, 3 };
        QTest::newRow("flattest") << Composition { 0, 0, 0, 0, 0 };
        QTest::newRow("five domains") << Composition { 1, 2, 1, 2, 1 };
        QTest::newRow("exercise") << Exercise;
    }
    void listKeepsClearOfTheCurve()
    {
        QFETCH(Composition, columns);
        auto plain = openLesson(columns);
        auto listed = openLesson(columns);
        clickBox(listed->Check6);
        stepForward(*plain, 20);
        stepForward(*listed, 20);
        COMPARE_LAYER(listed->gamen->drawing().image(), plain->gamen->drawing().image(), "the layer under the list");

        const QImage without = plain->gamen->grab().toImage(), with = listed->gamen->grab().toImage();
        QCOMPARE(with.size(), without.size());
        int listPixels = 0;
        for (int y = 0; y < with.height(); ++y) {
            for (int x = 0; x < with.width(); ++x) {
                if (with.pixel(x, y) == without.pixel(x, y))
                    continue;
                ++listPixels;
                const QPoint panel = QPoint(x, y) - Border;
                const QString where = QStringLiteral("list pixel at %1, %2").arg(panel.x()).arg(panel.y());
                QVERIFY2(panel.x() > 35 && panel.y() >= 5, qPrintable(where + QStringLiteral(" outside the grid")));
                for (int dy = -2; dy <= 2; ++dy) {
                    for (int dx = -2; dx <= 2; ++dx) {
                        if (QRect(QPoint(), without.size()).contains(x + dx, y + dy))
                            QVERIFY2(without.pixelColor(x + dx, y + dy) != Blue, qPrintable(where + QStringLiteral(" touches the curve")));
                    }
                }
            }
        }
        QVERIFY2(listPixels > 500, qPrintable(QString::number(listPixels)));
    }

    // Every figure's whole list stands above the steepest curve, in a face a class reads.
    void everyListFitsAboveTheCurves()
    {
        // The list on a graph panel of its own, following a lesson without the other views.
        Lesson lesson;
        PictureBox panel;
        panel.setBackColor(PanelBack);
        ExpressionList list(panel, lesson);
        lesson.setSwitch(Lesson::Switch::Expressions, true);
        list.switched(true);
        for (int code = 0; code < 1024; ++code) {
            Composition columns {};
            for (int i = 0, rest = code; i < 5; ++i, rest /= 4)
                columns[i] = rest % 4;
            lesson.compose(columns);
            while (!lesson.atEnd())
                lesson.stepOut();
            list.refresh();
            const QString figure = compositionText(columns);
            const QFont face = list.face();
            QVERIFY2(face.bold() && face.pixelSize() >= 20, qPrintable(figure));

            double lastBottom = 0;
            const QStringList lines = shownLines(list);
            QVERIFY2(!lines.isEmpty(), qPrintable(figure));
            for (int i = 0; i < lines.size(); ++i) {
                const QRectF box = list.labels()[i]->rect();
                QVERIFY2(box.left() > 35 && box.top() >= 5 && box.top() >= lastBottom, qPrintable(figure));
                QVERIFY2(aboveSteepestCurve(box.bottomRight()) > LineReach + 2, qPrintable(figure + QStringLiteral(": ") + lines[i]));
                QVERIFY2(QFontMetricsF(face).horizontalAdvance(lines[i]) <= box.width(), qPrintable(lines[i]));
                lastBottom = box.bottom();
            }
        }
    }
};

LESSON_TEST_MAIN(TestExpressionList)
#include "tst_expression_list.moc"
