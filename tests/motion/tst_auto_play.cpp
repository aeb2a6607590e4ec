#include "support/lesson_test.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cmath>
#include <functional>
#include <limits>
#include <sys/resource.h>
#include <vector>

// 自    動 and ストップ: where a run starts and ends, the pause after every step, what the
// buttons allow meanwhile, what may be clicked during a pause, and the pause itself.

using namespace LessonTest;

namespace {

QStringList distanceTexts(int fromStep, int toStep)
{
    QStringList texts;
    for (int k = fromStep; k <= toStep; ++k)
        texts << distanceText(k / 2.0);
    return texts;
}

// The buttons' enabled states, named after the states of automatic play.
QString buttonsOf(const TestForm &form)
{
    const bool s = form.susumu->isEnabled(), m = form.modoru->isEnabled(), c = form.Command1->isEnabled(),
               j = form.jidou->isEnabled(), t = form.tomeru->isEnabled();
    if (s && m && c && j && !t)
        return QStringLiteral("idle");
    if (!s && !m && !c && !j && t)
        return QStringLiteral("running");
    if (!s && !m && !c && j && t)
        return QStringLiteral("stop requested");
    return QStringLiteral("出す %1 戻す %2 初期画面 %3 自動 %4 ストップ %5").arg(s).arg(m).arg(c).arg(j).arg(t);
}

// Every step writes the distance box, so its changes mark the steps, timed exactly.
// onStep runs inside the step, before the pause that follows it is read.
class StepLog
{
public:
    struct Entry
    {
        qint64 ns;
        QString text;
        QString buttons;
        bool stopEnabled;
    };

    explicit StepLog(TestForm &form) : m_form(form)
    {
        m_clock.start();
        m_connection = QObject::connect(form.Text1, &QLineEdit::textChanged, [this](const QString &text) {
            entries.push_back({ m_clock.nsecsElapsed(), text, buttonsOf(m_form), m_form.tomeru->isEnabled() });
            if (onStep)
                onStep(int(entries.size()), text);
        });
    }
    ~StepLog() { QObject::disconnect(m_connection); }

    qint64 now() const { return m_clock.nsecsElapsed(); }
    QStringList texts() const
    {
        QStringList result;
        for (const Entry &e : entries)
            result << e.text;
        return result;
    }
    double msBetween(int fromEntry, int toEntry) const
    {
        return (entries[toEntry - 1].ns - entries[fromEntry - 1].ns) / 1e6;
    }

    std::vector<Entry> entries;
    std::function<void(int, const QString &)> onStep;

private:
    TestForm &m_form;
    QElapsedTimer m_clock;
    QMetaObject::Connection m_connection;
};

void setSpeed(TestForm &form, const QString &text)
{
    form.Combo1->setEditText(text);
}

// Something to happen while the run waits; a zero timer fires at the first event
// processing of the pause. Tied to the window, so it never outlives the test's locals.
void duringThePause(QObject *window, int delayMs, std::function<void()> action)
{
    QTimer::singleShot(delayMs, Qt::PreciseTimer, window, std::move(action));
}

double cpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

class EventCounter : public QObject
{
public:
    int count = 0;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User) {
            ++count;
            return true;
        }
        return QObject::event(e);
    }
};

const Composition Figure { 3, 1, 2, 0, 3 };

std::unique_ptr<TestForm> formWithFigure(bool panels)
{
    auto form = LessonTest::makeForm();
    if (panels) {
        form->Check2->click();
        form->Check3->click();
    }
    form->lesson.compose(Figure);
    form->Command2_Click();
    return form;
}

} // namespace

class TestAutoPlay : public QObject
{
    Q_OBJECT

private slots:
    void playsToTheEndFromTheStart()
    {
        auto form = formWithFigure(true);
        setSpeed(*form, QStringLiteral("2")); // 10 ms
        QCOMPARE(buttonsOf(*form), QStringLiteral("idle"));
        StepLog log(*form);
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        waitForRunEnd(*form);
        const qint64 returned = log.now();

        QCOMPARE(log.texts(), distanceTexts(1, 20));
        for (const auto &entry : log.entries)
            QCOMPARE(entry.buttons, QStringLiteral("running"));
        // A pause of at least 10 ms after every step, the last one included.
        for (int i = 2; i <= 20; ++i)
            QVERIFY2(log.msBetween(i - 1, i) >= 10, qPrintable(QStringLiteral("step %1 came early").arg(i)));
        QVERIFY((returned - log.entries.back().ns) / 1e6 >= 10);
        QCOMPARE(LessonTest::pointPX(form->lesson), 100.0);
        QCOMPARE(form->lesson.y(), LessonTest::trueArea(Figure, 10));
        QCOMPARE(tableY(*form), LessonTest::trueArea(Figure, 10));
        QCOMPARE(form->lesson.runState(), Lesson::RunState::Idle);
        QCOMPARE(buttonsOf(*form), QStringLiteral("idle"));
    }

    void playsTheRemainingStepsFromTheMiddle()
    {
        auto form = formWithFigure(true);
        setSpeed(*form, QStringLiteral(" 0"));
        for (int i = 0; i < 8; ++i)
            QTest::mouseClick(form->susumu, Qt::LeftButton);
        StepLog log(*form);
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        QCOMPARE(log.texts(), distanceTexts(9, 20));
        QCOMPARE(LessonTest::pointPX(form->lesson), 100.0);
        QCOMPARE(form->lesson.y(), LessonTest::trueArea(Figure, 10));
        QCOMPARE(tableY(*form), LessonTest::trueArea(Figure, 10));
        QCOMPARE(buttonsOf(*form), QStringLiteral("idle"));
    }

    void fromTheEndReturnsToTheStartFirst()
    {
        auto form = formWithFigure(true);
        setSpeed(*form, QStringLiteral("1")); // 5 ms
        for (int i = 0; i < 20; ++i)
            form->susumu_Click();
        StepLog log(*form);
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        waitForRunEnd(*form);
        QCOMPARE(log.texts(), QStringList { QStringLiteral(" 0.0") } + distanceTexts(1, 20));
        QCOMPARE(LessonTest::pointPX(form->lesson), 100.0);
        QCOMPARE(form->lesson.y(), LessonTest::trueArea(Figure, 10));
        QCOMPARE(tableY(*form), LessonTest::trueArea(Figure, 10));
        QCOMPARE(buttonsOf(*form), QStringLiteral("idle"));

        // The panels show what a walk from the start by hand shows.
        auto byHand = formWithFigure(true);
        for (int i = 0; i < 20; ++i)
            byHand->susumu_Click();
        QVERIFY(form->hyo->drawing().image() == byHand->hyo->drawing().image());
        QVERIFY(form->gamen->drawing().image() == byHand->gamen->drawing().image());
        QVERIFY(form->kokuban->drawing().image() == byHand->kokuban->drawing().image());
    }

    void stopDuringAPause()
    {
        auto form = formWithFigure(false);
        setSpeed(*form, QStringLiteral("2"));
        StepLog log(*form);
        QString whileRunning, afterStop;
        Lesson::RunState stateAfterStop = Lesson::RunState::Idle;
        int stepsAtStop = 0;
        qint64 stoppedAt = 0;
        log.onStep = [&](int step, const QString &) {
            if (step != 5)
                return;
            setSpeed(*form, QStringLiteral("40")); // this pause lasts 200 ms
            duringThePause(form.get(), 0, [&] {
                whileRunning = buttonsOf(*form);
                QTest::mouseClick(form->tomeru, Qt::LeftButton);
                stoppedAt = log.now();
                stepsAtStop = int(log.entries.size());
                afterStop = buttonsOf(*form);
                stateAfterStop = form->lesson.runState();
            });
        };
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        waitForRunEnd(*form);
        const qint64 returned = log.now();

        QCOMPARE(whileRunning, QStringLiteral("running"));
        QCOMPARE(stepsAtStop, 5);
        QCOMPARE(stateAfterStop, Lesson::RunState::StopRequested);
        QCOMPARE(afterStop, QStringLiteral("stop requested"));
        // No further step; the pause ran out before the run ended.
        QCOMPARE(log.texts(), distanceTexts(1, 5));
        QCOMPARE(LessonTest::pointPX(form->lesson), 250.0);
        QVERIFY((returned - log.entries.back().ns) / 1e6 >= 200);
        QVERIFY(returned > stoppedAt);
        QCOMPARE(form->lesson.runState(), Lesson::RunState::Idle);
        QCOMPARE(buttonsOf(*form), QStringLiteral("idle"));
        QVERIFY(!form->lesson.isPlaying());

        // A stopped run can be played on from where it stopped.
        setSpeed(*form, QStringLiteral(" 0"));
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        QCOMPARE(log.texts(), distanceTexts(1, 20));
        QCOMPARE(form->lesson.y(), LessonTest::trueArea(Figure, 10));
    }

    void speedsWithoutAPause_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::newRow("blank zero") << QStringLiteral(" 0");
        QTest::newRow("negative") << QStringLiteral("-5");
        QTest::newRow("not a number") << QStringLiteral("abc");
        QTest::newRow("empty") << QString();
    }
    void speedsWithoutAPause()
    {
        QFETCH(QString, speed);
        auto form = formWithFigure(true);
        setSpeed(*form, speed);
        StepLog log(*form);
        bool fired = false;
        double pxWhenFired = 0;
        log.onStep = [&](int step, const QString &) {
            if (step == 1)
                duringThePause(form.get(), 0, [&] {
                    fired = true;
                    pxWhenFired = LessonTest::pointPX(form->lesson);
                });
        };
        form->jidou_Click();
        // No event was processed during the whole run: it went to the end in one go.
        QVERIFY(!fired);
        QCOMPARE(log.texts(), distanceTexts(1, 20));
        QCOMPARE(LessonTest::pointPX(form->lesson), 100.0);
        QCOMPARE(buttonsOf(*form), QStringLiteral("idle"));
        QTRY_VERIFY(fired);
        QCOMPARE(pxWhenFired, 100.0);
    }

    void changeOfSpeedAppliesAtTheNextPause()
    {
        auto form = formWithFigure(false);
        setSpeed(*form, QStringLiteral("20")); // 100 ms
        StepLog log(*form);
        int stepsWhenChanged = 0;
        log.onStep = [&](int step, const QString &) {
            if (step == 1) {
                duringThePause(form.get(), 0, [&] {
                    setSpeed(*form, QStringLiteral("200")); // 1000 ms
                    stepsWhenChanged = int(log.entries.size());
                });
            } else if (step == 3) {
                setSpeed(*form, QStringLiteral("2"));
                duringThePause(form.get(), 0, [&] { QTest::mouseClick(form->tomeru, Qt::LeftButton); });
            }
        };
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        waitForRunEnd(*form);

        QCOMPARE(stepsWhenChanged, 1);
        QCOMPARE(log.texts(), distanceTexts(1, 3));
        // The pause under way keeps its 100 ms; the next one takes the new 1000 ms.
        QVERIFY2(log.msBetween(1, 2) >= 100, qPrintable(QString::number(log.msBetween(1, 2))));
        QVERIFY2(log.msBetween(1, 2) < 1000, qPrintable(QString::number(log.msBetween(1, 2))));
        QVERIFY2(log.msBetween(2, 3) >= 1000, qPrintable(QString::number(log.msBetween(2, 3))));
        QCOMPARE(buttonsOf(*form), QStringLiteral("idle"));
    }

    void backToTheStartDuringAPause()
    {
        auto form = formWithFigure(true);
        setSpeed(*form, QStringLiteral("2"));
        StepLog log(*form);
        log.onStep = [&](int step, const QString &) {
            if (step != 5)
                return;
            setSpeed(*form, QStringLiteral("20"));
            duringThePause(form.get(), 0, [&] {
                QTest::mouseClick(form->Command2, Qt::LeftButton);
                setSpeed(*form, QStringLiteral("2"));
            });
        };
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        waitForRunEnd(*form);

        // P went back to the start and the run went on from there to the end.
        QCOMPARE(log.texts(), distanceTexts(1, 5) + QStringList { QStringLiteral(" 0.0") } + distanceTexts(1, 20));
        // The run keeps its buttons: ストップ can still end it.
        for (size_t i = 6; i < log.entries.size(); ++i)
            QCOMPARE(log.entries[i].buttons, QStringLiteral("running"));
        QCOMPARE(LessonTest::pointPX(form->lesson), 100.0);
        QCOMPARE(form->lesson.y(), LessonTest::trueArea(Figure, 10));
        QCOMPARE(tableY(*form), LessonTest::trueArea(Figure, 10));
        QCOMPARE(form->lesson.scene().Slot, Figure);
        QCOMPARE(buttonsOf(*form), QStringLiteral("idle"));

        auto byHand = formWithFigure(true);
        for (int i = 0; i < 20; ++i)
            byHand->susumu_Click();
        QVERIFY2(form->hyo->drawing().image() == byHand->hyo->drawing().image(), "the table started over");
        QVERIFY2(form->gamen->drawing().image() == byHand->gamen->drawing().image(), "the graph started over");
    }

    // 最初に in the middle of a run leaves the run its buttons, so ストップ still ends it,
    // also when 最初に comes in the pause after the last step; a stop already asked for holds.
    void stopAfterBackToTheStart_data()
    {
        QTest::addColumn<int>("backAfterStep");
        QTest::addColumn<bool>("stopFirst");
        QTest::newRow("in the middle") << 5 << false;
        QTest::newRow("after the last step") << 20 << false;
        QTest::newRow("after a stop request") << 5 << true;
    }
    void stopAfterBackToTheStart()
    {
        QFETCH(int, backAfterStep);
        QFETCH(bool, stopFirst);
        auto form = formWithFigure(true);
        setSpeed(*form, QStringLiteral("2"));
        StepLog log(*form);
        QString afterBack;
        log.onStep = [&](int step, const QString &) {
            if (step == backAfterStep) {
                duringThePause(form.get(), 0, [&] {
                    if (stopFirst)
                        QTest::mouseClick(form->tomeru, Qt::LeftButton);
                    QTest::mouseClick(form->Command2, Qt::LeftButton);
                    afterBack = buttonsOf(*form);
                });
            } else if (step == backAfterStep + 4) { // three steps after the start
                duringThePause(form.get(), 0, [&] { QTest::mouseClick(form->tomeru, Qt::LeftButton); });
            }
        };
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        waitForRunEnd(*form);

        QCOMPARE(afterBack, stopFirst ? QStringLiteral("stop requested") : QStringLiteral("running"));
        const QStringList upToBack = distanceTexts(1, backAfterStep) + QStringList { QStringLiteral(" 0.0") };
        QCOMPARE(log.texts(), stopFirst ? upToBack : upToBack + distanceTexts(1, 3));
        QCOMPARE(LessonTest::pointPX(form->lesson), stopFirst ? 300.0 : 270.0);
        QCOMPARE(form->lesson.y(), LessonTest::trueArea(Figure, LessonTest::distanceOf(form->lesson.scene())));
        QCOMPARE(buttonsOf(*form), QStringLiteral("idle"));
        QCOMPARE(form->lesson.runState(), Lesson::RunState::Idle);
    }

    void checkBoxesDuringAPause()
    {
        auto form = formWithFigure(false);
        setSpeed(*form, QStringLiteral("2"));
        StepLog log(*form);
        bool tableTicked = false, graphTicked = false, gridTicked = false;
        auto clickDuringPause = [&](QCheckBox *box, bool *ticked) {
            setSpeed(*form, QStringLiteral("20"));
            duringThePause(form.get(), 0, [&form, box, ticked] {
                QTest::mouseClick(box, Qt::LeftButton);
                *ticked = box->isChecked();
                setSpeed(*form, QStringLiteral("2"));
            });
        };
        log.onStep = [&](int step, const QString &) {
            if (step == 4)
                clickDuringPause(form->Check3, &tableTicked); // 表 at x = 2
            else if (step == 6)
                clickDuringPause(form->Check2, &graphTicked); // グラフ at x = 3
            else if (step == 9)
                clickDuringPause(form->Check1, &gridTicked); // 方眼 at x = 4.5
        };
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        waitForRunEnd(*form);

        QVERIFY(tableTicked);
        QVERIFY(graphTicked);
        QVERIFY(gridTicked);
        QCOMPARE(log.texts(), distanceTexts(1, 20));
        QCOMPARE(form->outerHeight(), 10800);
        QCOMPARE(form->outerWidth(), 15700);
        QCOMPARE(tableY(*form), LessonTest::trueArea(Figure, 10));
        QCOMPARE(form->lesson.y(), LessonTest::trueArea(Figure, 10));

        // The same ticks at the same places by hand give the same pictures.
        auto byHand = formWithFigure(false);
        for (int k = 1; k <= 20; ++k) {
            byHand->susumu_Click();
            if (k == 4)
                byHand->Check3->click();
            if (k == 6)
                byHand->Check2->click();
            if (k == 9)
                byHand->Check1->click();
        }
        QVERIFY2(form->hyo->drawing().image() == byHand->hyo->drawing().image(), "table");
        QVERIFY2(form->gamen->drawing().image() == byHand->gamen->drawing().image(), "graph");
        QVERIFY2(form->kokuban->drawing().image() == byHand->kokuban->drawing().image(), "blackboard");
    }

    // The pause is the interval before the run's next pass. One of 0 ms or less is none:
    // the next step comes at once, no event handled in between.
    void waitOfZeroOrLessReturnsAtOnce_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::newRow("0") << QStringLiteral(" 0");
        QTest::newRow("-1") << QStringLiteral("-0.2");
        QTest::newRow("-250") << QStringLiteral("-50");
        QTest::newRow("most negative") << QStringLiteral("-1e12");
    }
    void waitOfZeroOrLessReturnsAtOnce()
    {
        QFETCH(QString, speed);
        auto form = formWithFigure(false);
        setSpeed(*form, speed);
        QCoreApplication::processEvents();
        StepLog log(*form);
        bool fired = false;
        EventCounter counter;
        log.onStep = [&](int step, const QString &) {
            if (step != 1)
                return;
            QTimer::singleShot(0, [&] { fired = true; });
            QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
        };
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        QVERIFY2(!fired, "no timer ran");
        QCOMPARE(counter.count, 0);
        QCOMPARE(log.texts(), distanceTexts(1, 20));
        for (int i = 2; i <= 20; ++i)
            QVERIFY2(log.msBetween(i - 1, i) < 200, qPrintable(QString::number(log.msBetween(i - 1, i))));
        QTRY_VERIFY(fired);
        QTRY_COMPARE(counter.count, 1);
    }

    void waitProcessesEventsAndLastsItsTime_data()
    {
        QTest::addColumn<int>("ms");
        QTest::newRow("5") << 5;
        QTest::newRow("40") << 40;
        QTest::newRow("150") << 150;
    }
    void waitProcessesEventsAndLastsItsTime()
    {
        QFETCH(int, ms);
        auto form = formWithFigure(false);
        setSpeed(*form, QString::number(ms / 5));
        QCoreApplication::processEvents();
        StepLog log(*form);
        bool fired = false;
        int firedBeforeStep = 0;
        EventCounter counter;
        log.onStep = [&](int step, const QString &) {
            if (step == 1) {
                QTimer::singleShot(0, [&] { fired = true; firedBeforeStep = int(log.entries.size()) + 1; });
                QCoreApplication::postEvent(&counter, new QEvent(QEvent::User));
            } else if (step == 2) {
                QCOMPARE(counter.count, 1);
                QTest::mouseClick(form->tomeru, Qt::LeftButton);
            }
        };
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        waitForRunEnd(*form);
        QVERIFY(fired);
        QCOMPARE(firedBeforeStep, 2);
        QCOMPARE(counter.count, 1);
        const qint64 tookNs = log.entries[1].ns - log.entries[0].ns;
        QVERIFY2(tookNs >= qint64(ms) * 1'000'000, qPrintable(QString::number(tookNs)));
        QVERIFY2(tookNs < (qint64(ms) + 3000) * 1'000'000, qPrintable(QString::number(tookNs)));
    }

    void waitDoesNotSpin()
    {
        auto form = formWithFigure(false);
        setSpeed(*form, QStringLiteral("60")); // 300 ms
        QCoreApplication::processEvents();
        StepLog log(*form);
        log.onStep = [&](int step, const QString &) {
            if (step == 2)
                QTest::mouseClick(form->tomeru, Qt::LeftButton);
        };
        QElapsedTimer clock;
        const double cpuBefore = cpuMs();
        clock.start();
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        waitForRunEnd(*form);
        const double wallMs = clock.nsecsElapsed() / 1e6;
        const double cpu = cpuMs() - cpuBefore;
        QVERIFY(wallMs >= 600);
        QVERIFY2(cpu < wallMs / 4, qPrintable(QStringLiteral("%1 ms of processor time in %2 ms").arg(cpu).arg(wallMs)));
    }

    void pauseFromTheSpeedText_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<qint64>("ms");
        const qint64 most = std::numeric_limits<int32_t>::max();
        QTest::newRow("50") << QStringLiteral("50") << qint64(250);
        QTest::newRow("blank zero") << QStringLiteral(" 0") << qint64(0);
        QTest::newRow("10") << QStringLiteral("10") << qint64(50);
        QTest::newRow("20") << QStringLiteral("20") << qint64(100);
        QTest::newRow("100") << QStringLiteral("100") << qint64(500);
        QTest::newRow("200") << QStringLiteral("200") << qint64(1000);
        QTest::newRow("leading blanks") << QStringLiteral("  20") << qint64(100);
        QTest::newRow("trailing text") << QStringLiteral("20ms") << qint64(100);
        QTest::newRow("12.5 to even") << QStringLiteral("2.5") << qint64(12);
        QTest::newRow("13.5 to even") << QStringLiteral("2.7") << qint64(14);
        QTest::newRow("0.5 to even") << QStringLiteral("0.1") << qint64(0);
        QTest::newRow("1.5 to even") << QStringLiteral("0.3") << qint64(2);
        QTest::newRow("largest that fits") << QStringLiteral("429496729.4") << most;
        QTest::newRow("just too large") << QStringLiteral("429496729.6") << most;
        QTest::newRow("1e12") << QStringLiteral("1e12") << most;
        QTest::newRow("20 nines") << QStringLiteral("99999999999999999999") << most;
        QTest::newRow("1e400") << QStringLiteral("1e400") << most;
    }
    void pauseFromTheSpeedText()
    {
        QFETCH(QString, speed);
        QFETCH(qint64, ms);
        auto form = LessonTest::makeForm();
        setSpeed(*form, speed);
        QCOMPARE(qint64(form->lesson.pauseMilliseconds()), ms);
    }

    void speedTextsWithoutAPause_data()
    {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("-5") << QStringLiteral("-5") << true;
        QTest::newRow("-1e12") << QStringLiteral("-1e12") << true;
        QTest::newRow("-20 nines") << QStringLiteral("-99999999999999999999") << true;
        QTest::newRow("letters") << QStringLiteral("abc") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("nan") << QStringLiteral("nan") << false;
        QTest::newRow("full-width digits") << QStringLiteral("５０") << false;
    }
    void speedTextsWithoutAPause()
    {
        QFETCH(QString, speed);
        QFETCH(bool, numeric);
        auto form = LessonTest::makeForm();
        setSpeed(*form, speed);
        const qint64 ms = form->lesson.pauseMilliseconds();
        if (numeric)
            QVERIFY2(ms <= 0, qPrintable(QString::number(ms)));
        else
            QCOMPARE(ms, qint64(0));
    }

    void noSecondRunInsideTheLastPause()
    {
        auto form = formWithFigure(false);
        setSpeed(*form, QStringLiteral("2"));
        StepLog log(*form);
        QString afterStop;
        bool playEnabled = false;
        int stepsAfterSecondClick = -1;
        log.onStep = [&](int step, const QString &) {
            if (step != 3)
                return;
            setSpeed(*form, QStringLiteral("40")); // 200 ms
            duringThePause(form.get(), 0, [&] {
                QTest::mouseClick(form->tomeru, Qt::LeftButton);
                afterStop = buttonsOf(*form);
                playEnabled = form->jidou->isEnabled();
                QTest::mouseClick(form->jidou, Qt::LeftButton);
                stepsAfterSecondClick = int(log.entries.size());
            });
        };
        QTest::mouseClick(form->jidou, Qt::LeftButton);
        waitForRunEnd(*form);

        QCOMPARE(afterStop, QStringLiteral("stop requested"));
        QVERIFY(playEnabled);
        QCOMPARE(stepsAfterSecondClick, 3);
        // The stop asked for holds: no step after the pause, and the buttons are idle.
        QCOMPARE(log.texts(), distanceTexts(1, 3));
        QCOMPARE(LessonTest::pointPX(form->lesson), 270.0);
        QCOMPARE(form->lesson.runState(), Lesson::RunState::Idle);
        QCOMPARE(buttonsOf(*form), QStringLiteral("idle"));
        QVERIFY(!form->lesson.isPlaying());
    }

    // Ending the program stops everything; it comes last.
    void quitDuringAPauseEndsTheRunAtOnce()
    {
        auto form = formWithFigure(true);
        setSpeed(*form, QStringLiteral("2"));
        StepLog log(*form);
        double pxAtQuit = 0;
        qint64 quitAt = 0;
        log.onStep = [&](int step, const QString &) {
            if (step != 2)
                return;
            setSpeed(*form, QStringLiteral("2000")); // 10 s
            duringThePause(form.get(), 20, [&] {
                pxAtQuit = LessonTest::pointPX(form->lesson);
                quitAt = log.now();
                form->end_Click();
            });
        };
        form->jidou_Click();
        waitForRunEnd(*form);
        const qint64 returned = log.now();

        QVERIFY(form->quitRequested());
        QCOMPARE(pxAtQuit, 280.0);
        QCOMPARE(LessonTest::pointPX(form->lesson), 280.0);
        QCOMPARE(log.texts(), distanceTexts(1, 2));
        QVERIFY2((returned - quitAt) / 1e6 < 5000, "the run ended without waiting out its pause");
        QVERIFY(!form->lesson.isPlaying());
    }
};

LESSON_TEST_MAIN(TestAutoPlay)
#include "tst_auto_play.moc"
