#include "motion/auto_play.h"

#include "app/form1.h"
#include "app/numeric.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <limits>

void AutoPlay::applyButtons(State state)
{
    const bool idle = state == State::Idle;
    form.susumu->setEnabled(idle);
    form.modoru->setEnabled(idle);
    form.Command1->setEnabled(idle);
    form.jidou->setEnabled(state != State::Running);
    form.tomeru->setEnabled(!idle);
}

int32_t AutoPlay::pauseMilliseconds() const
{
    return Numeric::toInt32Clamped(Numeric::leadingNumber(form.Combo1->currentText()) * 5);
}

void AutoPlay::jidou_Click()
{
    // A click while a run is still in its last pause (after ストップ) must not start a
    // second run inside the first; that run ends at the end of its pause.
    if (m_running)
        return;
    SceneState &s = form.scene;
    if (s.PointPX == 100)
        form.stepper.Command2_Click();

    m_running = true;
    applyButtons(State::Running);
    int pass = 0;
    while (s.StopFlag != 1 && s.PointPX != 100 && !form.quitRequested()) {
        form.stepper.susumu_Click();
        ++pass;
        const int32_t ms = pauseMilliseconds();
        if (pauseStarted)
            pauseStarted(pass, ms);
        QElapsedTimer pause;
        pause.start();
        WaitMilliseconds(ms);
        if (pauseEnded)
            pauseEnded(pass, ms, pause.nsecsElapsed());
    }
    s.StopFlag = 0;
    m_running = false;
    if (!form.quitRequested())
        applyButtons(State::Idle);
}

AutoPlay::State AutoPlay::state() const
{
    if (!m_running)
        return State::Idle;
    return form.scene.StopFlag == 1 ? State::StopRequested : State::Running;
}

void AutoPlay::tomeru_Click()
{
    // ストップ is enabled only during a run; a stop asked for outside one would linger
    // and swallow the next run.
    if (!m_running)
        return;
    form.scene.StopFlag = 1;
    applyButtons(State::StopRequested);
}

void AutoPlay::WaitMilliseconds(int32_t ms)
{
    // Blocks in the event loop until an event arrives or the deadline's timer fires,
    // rather than spinning; the clock is monotonic.
    QElapsedTimer clock;
    clock.start();
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (clock.elapsed() < ms) {
        if (form.quitRequested())
            return;
        const qint64 remaining = std::clamp<qint64>(ms - clock.elapsed(), 1, std::numeric_limits<int>::max());
        wake.start(int(remaining));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}
