// Faults a class produces: ending the program in the middle of things, and many fast
// clicks on every button.
#include "support/lesson_test.h"

#include "lesson/lesson.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>

using namespace LessonTest;

namespace {

QPoint onBoard(int x, int y)
{
    return QPoint(x + PictureBox::BorderWidth, y + PictureBox::BorderWidth);
}

void dragOnBoard(TestForm &form, QPoint from, QPoint to)
{
    QTest::mousePress(form.kokuban, Qt::LeftButton, {}, onBoard(from.x(), from.y()));
    QTest::mouseMove(form.kokuban, onBoard(to.x(), to.y()));
    QTest::mouseRelease(form.kokuban, Qt::LeftButton, {}, onBoard(to.x(), to.y()));
}

// A real double click: press, release, then the second press as a double click.
void doubleClick(QWidget *widget, QPoint at = {})
{
    if (at.isNull())
        at = widget->rect().center();
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

// Sends count actions from a timer at random 0-5 ms spacing and waits for them.
void fromTimer(int count, const std::function<void(int)> &action)
{
    QRandomGenerator random(20261208);
    int sent = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        action(sent++);
        timer.setInterval(random.bounded(6));
        if (sent == count)
            timer.stop();
    });
    timer.start(0);
    QElapsedTimer clock;
    clock.start();
    while (sent < count && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    QCOMPARE(sent, count);
}

void verifyAt(TestForm &form, int px)
{
    const SceneState &s = form.lesson.scene();
    QCOMPARE(LessonTest::pointPX(form.lesson), double(px));
    const double x = (300 - px) / 20.0;
    QCOMPARE(form.Text1->text(), Lesson::distanceText(x));
    QCOMPARE(form.lesson.y(), trueArea(s.Slot, x));
    if (form.Check3->isChecked())
        QCOMPARE(tableY(form), trueArea(s.Slot, std::floor(x)));
    QVERIFY(form.susumu->isEnabled() && form.modoru->isEnabled() && form.jidou->isEnabled());
    QVERIFY(!form.tomeru->isEnabled());
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void endingAtEveryMoment_data()
    {
        QTest::addColumn<QString>("moment");
        QTest::addColumn<QString>("how");
        for (const char *moment : { "pause", "drag", "typing", "drag-in-pause" }) {
            for (const char *how : { "end", "close" })
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(moment, how))) << moment << how;
        }
    }
    void endingAtEveryMoment()
    {
        QFETCH(QString, moment);
        QFETCH(QString, how);
        QProcess probe;
        probe.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        probe.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quit_probe"), { moment, how });
        QVERIFY(probe.waitForStarted());
        QVERIFY2(probe.waitForFinished(30000), "the program did not end");
        const QString output = QString::fromLocal8Bit(probe.readAll());
        QVERIFY2(probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0, qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("steps after the request: 0")), qPrintable(output));
        const auto took = QRegularExpression(QStringLiteral("ended after (\\d+) ms")).match(output);
        QVERIFY2(took.hasMatch(), qPrintable(output));
        QVERIFY2(took.captured(1).toInt() < 1000, qPrintable(output));
    }

    void manyFastClicksOnEachButton_data()
    {
        QTest::addColumn<QString>("button");
        for (const char *name : { "susumu", "modoru", "Command2", "Command1", "tomeru", "mixed steps" })
            QTest::newRow(name) << name;
    }
    void manyFastClicksOnEachButton()
    {
        QFETCH(QString, button);
        auto form = makeForm();
        form->Check1->setChecked(true);
        form->Check2->setChecked(true);
        form->Check3->setChecked(true);
        dragOnBoard(*form, { 470, 60 }, { 320, 250 });
        dragOnBoard(*form, { 370, 60 }, { 360, 250 });
        dragOnBoard(*form, { 420, 60 }, { 440, 250 });
        const LessonTest::Composition figure { 3, 1, 0, 2, 0 };
        QCOMPARE(form->lesson.scene().Slot, figure);
        for (int i = 0; i < 7; ++i)
            form->susumu_Click();

        int px = 230;
        QRandomGenerator choice(7);
        auto widget = [&](const QString &name) -> QWidget * { return form->findChild<QWidget *>(name); };
        form->susumu->setObjectName(QStringLiteral("susumu"));
        form->modoru->setObjectName(QStringLiteral("modoru"));
        form->Command2->setObjectName(QStringLiteral("Command2"));
        form->Command1->setObjectName(QStringLiteral("Command1"));
        form->tomeru->setObjectName(QStringLiteral("tomeru"));
        fromTimer(1000, [&](int) {
            if (button == QStringLiteral("mixed steps")) {
                const bool out = choice.bounded(2) == 0;
                QTest::mouseClick(out ? form->susumu : form->modoru, Qt::LeftButton);
                px = std::clamp(px + (out ? -10 : 10), 100, 300);
                return;
            }
            QTest::mouseClick(widget(button), Qt::LeftButton);
        });
        if (button == QStringLiteral("susumu"))
            px = 100;
        else if (button == QStringLiteral("modoru") || button == QStringLiteral("Command2") || button == QStringLiteral("Command1"))
            px = 300;
        verifyAt(*form, px);
        const LessonTest::Composition empty {};
        QCOMPARE(form->lesson.scene().Slot, button == QStringLiteral("Command1") ? empty : figure);
    }

    void automaticPlayClickedOverAndOver()
    {
        auto form = makeForm();
        form->Check3->setChecked(true);
        dragOnBoard(*form, { 470, 60 }, { 400, 250 });
        form->Combo1->setEditText(QStringLiteral(" 0"));
        // Each click plays to the end at once; the next one starts again from the start.
        fromTimer(200, [&](int) { QTest::mouseClick(form->jidou, Qt::LeftButton); });
        verifyAt(*form, 100);
        QCOMPARE(form->lesson.y(), 12.0);
    }

    void doubleClicksCountTwice()
    {
        auto form = makeForm();
        form->lesson.compose(LessonTest::Composition { 2, 2, 2, 2, 2 });
        form->Command2_Click();
        fromTimer(5, [&](int) { doubleClick(form->susumu); });
        verifyAt(*form, 200);
        doubleClick(form->modoru);
        verifyAt(*form, 220);
        doubleClick(form->Command2);
        verifyAt(*form, 300);
        form->Check1->setChecked(false);
        doubleClick(form->Check1, QPoint(8, form->Check1->height() / 2));
        QVERIFY(!form->Check1->isChecked());
    }

    void pressAndReleaseWithoutMoving()
    {
        auto form = makeForm();
        form->lesson.compose(LessonTest::Composition { 0, 3, 0, 1, 0 });
        form->kokuban->drawing().setForeColor(QColor(255, 255, 0));
        form->Command2_Click();
        form->susumu_Click();
        auto click = [&](int x, int y) {
            QTest::mousePress(form->kokuban, Qt::LeftButton, {}, onBoard(x, y));
            QTest::mouseRelease(form->kokuban, Qt::LeftButton, {}, onBoard(x, y));
        };
        // On an empty column: nothing happens, P stays where it is.
        click(320, 250);
        verifyAt(*form, 290);
        // On a piece: written back into its column, and the lesson starts over.
        click(360, 250);
        verifyAt(*form, 300);
        QCOMPARE(form->lesson.scene().Slot, (LessonTest::Composition { 0, 3, 0, 1, 0 }));
        form->susumu_Click();
        // On a tray outline: nothing is lost, and the lesson starts over.
        fromTimer(300, [&](int i) { click(i % 2 ? 370 : 470, 60); });
        verifyAt(*form, 300);
        QCOMPARE(form->lesson.scene().Slot, (LessonTest::Composition { 0, 3, 0, 1, 0 }));
        QCOMPARE(form->kokuban->drawing().pixel(355, 290), QColor(192, 192, 192));
    }
};

LESSON_TEST_MAIN(TestFaults)
#include "tst_faults.moc"
