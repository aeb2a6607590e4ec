#include "support/lesson_test.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QStringList>

using namespace LessonTest;

namespace {

const QColor CoverColour(128, 255, 128);

// Where P and its labels stand, and the text of the distance box.
QString describePoint(const TestForm &f)
{
    return QStringLiteral("P %1 dot %2 label %3,%4 %5 text '%6'")
        .arg(number(f.Label4[8]->left()), number(f.Shape1->left()), number(f.Label4[6]->left()), number(f.Label4[6]->top()))
        .arg(f.Label4[6]->isVisible())
        .arg(f.Text1->text());
}

// The colour a control of the window shows at a point of its own content, as drawn.
QColor shownAt(QWidget *window, const QWidget *control, QPoint contentPoint)
{
    const QImage shot = window->grab().toImage();
    return shot.pixelColor(control->mapTo(window, contentPoint + Border));
}

} // namespace

class TestSwitches : public QObject
{
    Q_OBJECT

private slots:
    void coverStartsHidden()
    {
        auto form = LessonTest::makeForm();
        QVERIFY(!form->Check5->isChecked());
        QVERIFY(form->Picture1->isHidden());
        QVERIFY(form->Check4->isChecked());
    }

    // 封筒をかくす hides the envelope, the figure and P under the cover, leaves the tray
    // with its outlines in view and changes nothing of the scene or of what is drawn.
    void coverFollowsItsBox_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("panelsShown");
        QTest::newRow("at the start") << 0 << false;
        QTest::newRow("x = 3.5") << 7 << false;
        QTest::newRow("x = 3.5, table and graph shown") << 7 << true;
        QTest::newRow("x = 10, table and graph shown") << 20 << true;
    }
    void coverFollowsItsBox()
    {
        QFETCH(int, steps);
        QFETCH(bool, panelsShown);
        auto form = LessonTest::makeForm();
        form->lesson.compose(LessonTest::Composition { 3, 1, 2, 0, 3 });
        form->figure.RedrawFigure(300);
        if (panelsShown) {
            QTest::mouseClick(form->Check2, Qt::LeftButton);
            QTest::mouseClick(form->Check3, Qt::LeftButton);
            QVERIFY(form->Check2->isChecked() && form->Check3->isChecked());
        }
        stepForward(*form, steps);

        const QString scene = describeScene(form->lesson);
        const QString point = describePoint(*form);
        const QImage board = form->kokuban->drawing().image().copy();
        const QImage graph = form->gamen->drawing().image().copy();
        const QImage table = form->hyo->drawing().image().copy();
        const int width = form->outerWidth(), height = form->outerHeight();
        // The middle of the envelope, in column 2.
        const QPoint inEnvelope(400, 240);
        const QColor envelopeShown = shownAt(form.get(), form->kokuban, inEnvelope);
        QVERIFY(envelopeShown != CoverColour);

        if (panelsShown)
            QTest::mouseClick(form->Check5, Qt::LeftButton);
        else
            form->Check5->click();
        QVERIFY(form->Check5->isChecked());
        QVERIFY(form->Picture1->isVisible());
        QCOMPARE(shownAt(form.get(), form->kokuban, inEnvelope), CoverColour);
        QCOMPARE(shownAt(form.get(), form->kokuban, QPoint(300, 300)), CoverColour);
        // The tray stays in view, outlines and all.
        QCOMPARE(shownAt(form.get(), form->kokuban, QPoint(470, 5)), QColor(255, 255, 0));
        QCOMPARE(shownAt(form.get(), form->kokuban, QPoint(370, 85)), QColor(255, 255, 0));

        QCOMPARE(describeScene(form->lesson), scene);
        QCOMPARE(describePoint(*form), point);
        QCOMPARE(form->kokuban->drawing().image(), board);
        QCOMPARE(form->gamen->drawing().image(), graph);
        QCOMPARE(form->hyo->drawing().image(), table);
        QCOMPARE(form->outerWidth(), width);
        QCOMPARE(form->outerHeight(), height);
        if (panelsShown) {
            // Both panels in the window and not under the cover.
            QVERIFY(form->gamen->isVisible() && form->hyo->isVisible());
            QVERIFY(form->rect().contains(form->gamen->geometry()));
            QVERIFY(form->rect().contains(form->hyo->geometry()));
            QCOMPARE(shownAt(form.get(), form->gamen, QPoint(200, 200)), form->gamen->drawing().pixel(200, 200));
            QCOMPARE(shownAt(form.get(), form->hyo, QPoint(300, 40)), form->hyo->drawing().pixel(300, 40));
            QCOMPARE(shownAt(form.get(), form->hyo, QPoint(62, 78)), form->hyo->drawing().pixel(62, 78));
        }

        if (panelsShown)
            QTest::mouseClick(form->Check5, Qt::LeftButton);
        else
            form->Check5->click();
        QVERIFY(!form->Check5->isChecked());
        QVERIFY(form->Picture1->isHidden());
        QCOMPARE(shownAt(form.get(), form->kokuban, inEnvelope), envelopeShown);
        QCOMPARE(describeScene(form->lesson), scene);
        QCOMPARE(describePoint(*form), point);
        QCOMPARE(form->kokuban->drawing().image(), board);
        QCOMPARE(form->gamen->drawing().image(), graph);
        QCOMPARE(form->hyo->drawing().image(), table);
    }

    // The initial screen shows or hides the cover to match the box, whose tick it keeps.
    void coverAcrossInitialScreen()
    {
        auto form = LessonTest::makeForm();
        form->Check5->click();
        form->Command1_Click();
        QVERIFY(form->Check5->isChecked());
        QVERIFY(form->Picture1->isVisible());
        form->Check5->click();
        form->Command1_Click();
        QVERIFY(!form->Check5->isChecked());
        QVERIFY(form->Picture1->isHidden());
    }

    // The red marker runs from B to P while its box is ticked and is parked at y = 800,
    // below the board, while it is clear; switching never touches the scene.
    void markerFollowsItsBox_data()
    {
        QTest::addColumn<int>("steps");
        QTest::newRow("at the start") << 0;
        QTest::newRow("x = 0.5") << 1;
        QTest::newRow("x = 4.5") << 9;
        QTest::newRow("x = 10") << 20;
    }
    void markerFollowsItsBox()
    {
        QFETCH(int, steps);
        auto form = LessonTest::makeForm();
        form->lesson.compose(LessonTest::Composition { 1, 2, 3, 2, 1 });
        stepForward(*form, steps);
        const double px = 300 - 10 * steps;
        QCOMPARE(LessonTest::pointPX(form->lesson), px);
        LineControl *marker = form->Line5[4];
        if (steps > 0)
            QCOMPARE(describeLine(marker), QStringLiteral("(300,300)-(%1,300)").arg(px));
        const QString scene = describeScene(form->lesson);
        const QString point = describePoint(*form);
        const QImage board = form->kokuban->drawing().image().copy();
        // Points of the bottom edge clear of P's dot and of the bracket at B.
        const bool clearOfB = steps >= 9;
        const QPoint midway(int(300 + px) / 2, 300);

        QTest::mouseClick(form->Check4, Qt::LeftButton);
        QVERIFY(!form->Check4->isChecked());
        QCOMPARE(describeLine(marker), QStringLiteral("(300,800)-(%1,800)").arg(px));
        if (clearOfB)
            QVERIFY(shownAt(form.get(), form->kokuban, midway) != Red);
        QCOMPARE(describeScene(form->lesson), scene);
        QCOMPARE(describePoint(*form), point);

        QTest::mouseClick(form->Check4, Qt::LeftButton);
        QVERIFY(form->Check4->isChecked());
        // At B the marker has no length; elsewhere it shows red along the bottom edge.
        QCOMPARE(describeLine(marker), QStringLiteral("(300,300)-(%1,300)").arg(px));
        if (clearOfB) {
            QCOMPARE(shownAt(form.get(), form->kokuban, midway), Red);
            QCOMPARE(shownAt(form.get(), form->kokuban, QPoint(int(px) + 20, 300)), Red);
        }
        QCOMPARE(describeScene(form->lesson), scene);
        QCOMPARE(describePoint(*form), point);
        QCOMPARE(form->kokuban->drawing().image(), board);
    }

    // While the box is clear the steps leave the marker parked; ticking it brings the
    // marker to P at once, without a step.
    void markerParkedWhileClear()
    {
        auto form = LessonTest::makeForm();
        stepForward(*form, 4);
        form->Check4->click();
        QCOMPARE(describeLine(form->Line5[4]), QStringLiteral("(300,800)-(260,800)"));
        stepForward(*form, 5);
        QCOMPARE(LessonTest::pointPX(form->lesson), 210.0);
        QCOMPARE(describeLine(form->Line5[4]), QStringLiteral("(300,800)-(260,800)"));
        form->Check4->click();
        QCOMPARE(describeLine(form->Line5[4]), QStringLiteral("(300,300)-(210,300)"));
        // Ticked again, the steps carry it along.
        stepForward(*form, 2);
        QCOMPARE(describeLine(form->Line5[4]), QStringLiteral("(300,300)-(190,300)"));
        form->modoru_Click();
        QCOMPARE(describeLine(form->Line5[4]), QStringLiteral("(300,300)-(200,300)"));
    }

    // Back at the start the marker shrinks to B; clearing it there parks it below B.
    void markerAfterReturnToStart()
    {
        auto form = LessonTest::makeForm();
        stepForward(*form, 6);
        form->Command2_Click();
        QCOMPARE(describeLine(form->Line5[4]), QStringLiteral("(300,300)-(300,300)"));
        form->Check4->click();
        QCOMPARE(describeLine(form->Line5[4]), QStringLiteral("(300,800)-(300,800)"));
    }
};

LESSON_TEST_MAIN(TestSwitches)
#include "tst_switches.moc"
